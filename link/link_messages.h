#pragma once

#include "platform/base/message_sink.h"

// Private messages that the link posts to its notify window (the main window).

// The send source may give more messages: the window pulls them (PullFromSource).
constexpr UINT WM_LINK_PULL = WM_APP + 0x501;
// The send source is exhausted; wParam the messages queued. The window starts the queue.
constexpr UINT WM_LINK_QUEUE_FILLED = WM_APP + 0x502;
// A send failed: wParam the reason below, lParam the result code for reason 7, else 0.
constexpr UINT WM_LINK_SEND_FAILED = WM_APP + 0x503;
// wParam the queued messages still to send.
constexpr UINT WM_LINK_SEND_PROGRESS = WM_APP + 0x504;
// The send has ended and exclusive control is released.
constexpr UINT WM_LINK_SEND_DONE = WM_APP + 0x505;
// The queue is sent; the window asks for the commit (EndSendQueue).
constexpr UINT WM_LINK_QUEUE_SENT = WM_APP + 0x506;
// Replies wait in the response queue; posted once until the window has taken them.
constexpr UINT WM_LINK_REPLIES = WM_APP + 0x507;
// The link failed: wParam one of the codes below, or the link state it fell back to.
constexpr UINT WM_LINK_ERROR = WM_APP + 0x508;
// A transport read or wrote: wParam bit 0 set for a read, bit 1 set when the result was
// negative; lParam the result code.
constexpr UINT WM_LINK_ACTIVITY = WM_APP + 0x509;
// Upload progress: wParam items done, lParam the total; 0 and 0 end the upload.
constexpr UINT WM_LINK_UPLOAD_PROGRESS = WM_APP + 0x50A;
// The controller refused a network session; the link is closed and the mode is FILE. wParam
// the mode before the refusal.
constexpr UINT WM_LINK_SESSION_REFUSED = WM_APP + 0x50B;
// Commands of the user's may not have been done: their session ended before they went or
// before they were answered, or had ended when they were given (CCVDataMgr::TakeUndone).
constexpr UINT WM_LINK_NOT_DONE = WM_APP + 0x51D;
// Validation warnings from received data: wParam the zero-based intercom whose remote-trunking
// range runs past 255, or the trunk that uses a port reserved for remote trunking.
constexpr UINT WM_LINK_ICOM_WARNING = WM_APP + 0x51A;
constexpr UINT WM_LINK_TRUNK_WARNING = WM_APP + 0x51B;
// The controller sends its request log to another session: wParam 0 one on its serial port,
// else one on the network at the IPv4 address in lParam.
constexpr UINT WM_LINK_LOG_ELSEWHERE = WM_APP + 0x51C;

// WM_LINK_ERROR codes besides a link state. Only the NAK question is sent rather than
// posted: lParam points to the request and its refusal, and an answer of 1 asks for a resend.
constexpr int LINK_ERROR_NAK = -1;
constexpr int LINK_ERROR_NO_SESSION = -3;    // network: a refusal carrying no session tag
constexpr int LINK_ERROR_SESSION_LOST = -4;  // network: the controller forgot the session

// WM_LINK_UPLOAD_PROGRESS wParam of an upload that ended before its data was in: given up,
// cut off from the controller, or ended by a controller whose size or abilities changed. Only
// an upload whose every request has gone out ends with 0, 0.
constexpr int LINK_UPLOAD_ABORTED = -1;
constexpr int LINK_UPLOAD_LOST = -2;
constexpr int LINK_UPLOAD_CHANGED = -3;

// WM_LINK_ACTIVITY kind of a failed read.
constexpr WPARAM LINK_ACTIVITY_READ_FAILED = 3;

// Why a send failed (WM_LINK_SEND_FAILED).
enum SendFailure : int {
    kSendDenied = 0,       // exclusive control was refused
    kSendLostControl = 1,  // a reply said exclusive control was lost
    kSendCorrupted = 2,    // a reply came in a state that did not expect it
    kSendEepromFailure = 3,
    kSendUserAbort = 6,
    kSendLostLink = 7,
    kSendControllerChanged = 8,  // the controller's size or abilities changed under the send
};
