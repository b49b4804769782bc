#pragma once

#include <QPointer>

#include <functional>

#include "platform/base/win_types.h"

class CDlgIcomStatus;
class CKelvardinApp;
class CKelvardinDialog;
class CKelvardinDoc;
class CSetupFileCommands;
class CTimedARIDlg;
class IOperationDialog;
class QWidget;
struct CDualMessage;

// The main window's side of the controller link: the link's messages go to the dialog of the
// running operation first and are then acted on; a lost link, a refused request and a
// forgotten session are recovered from here, with the connection status and NAK questions.
class CLinkEvents {
public:
    // Lights the status bar's activity lamp (1 written, 2 read, 3 write failed, 4 read failed).
    using ActivityLamp = std::function<void(int lamp)>;

    CLinkEvents(CKelvardinApp& app, CKelvardinDoc& doc, CSetupFileCommands& files, QWidget& window,
                ActivityLamp showActivity);

    // A message the link posted or sent to the main window; the answer goes back to the link.
    LRESULT OnLinkMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs a progress dialog (a send or an upload) modally as the running operation.
    int RunOperation(CKelvardinDialog& dialog);
    // The controller answers again: an open connection status dialog says so.
    void LinkRestored();
    // The window is going: a question the link waits on is withdrawn.
    void EndLinkQuestions();
    // The window is closing: from its first question on, a lost link offers no way back to
    // the controller nor FILE mode. The link goes on reporting a loss: once a close is given
    // up, its next report is dealt with as usual.
    void SetClosing(bool closing) { m_bClosing = closing; }
    bool IsClosing() const { return m_bClosing; }

private:
    LRESULT RelayToOperation(UINT message, WPARAM wParam, LPARAM lParam);
    void OnOperationEnd(LRESULT answer);
    void OnActivityLamp(WPARAM kind, LPARAM result);
    void OnValidationWarning(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommError(int code, const CDualMessage* pair);
    LRESULT AskAboutNak(const CDualMessage* pair);
    LRESULT RunConnectionStatus();
    void OnSessionRefused(int modeBefore);
    void OnCommandsNotDone();
    void AbortOperation(int reason);
    void ClearControllerFlags();

    CKelvardinApp& m_app;
    CKelvardinDoc& m_doc;
    CSetupFileCommands& m_files;
    QWidget& m_window;
    ActivityLamp m_showActivity;
    // Set by the commands that run a send or an upload, for as long as its dialog runs.
    IOperationDialog* m_pOperation = nullptr;
    bool m_bInCommError = false;
    bool m_bClosing = false;
    CDlgIcomStatus* m_pIcomStatus = nullptr;
    QPointer<CTimedARIDlg> m_pNakQuestion;
};
