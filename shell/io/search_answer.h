#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "platform/base/win_types.h"
#include "shell/io/found_device.h"

// The device search speaks the controller's network framing outside any connection: the
// request carries the tag 0xFFFF and no data, and every device that hears it answers with
// its description.
constexpr WORD kCmdSearchIntercoms = 222;
constexpr WORD kCmdSearchControllers = 209;
constexpr std::size_t kMaxSearchDatagram = 4004;
constexpr std::size_t kMaxSearchPayload = 2000;

// The whole frame of a search request.
std::vector<BYTE> BuildSearchRequest(WORD command, WORD sequence);

// The payload of a received frame: the bytes after the start byte up to the first unescaped
// end byte, unescaped, without the checksum, which is not checked. False for a datagram
// that starts no frame, holds an unescaped start byte or no end byte, or whose payload would
// exceed kMaxSearchPayload.
bool UnframeSearchAnswer(std::span<const BYTE> datagram, std::vector<BYTE>& payload);

// Reads an answer's payload into device, all but the sender's address. False, with device
// untouched, for a payload that is no search answer or whose fields run past its end.
bool ParseSearchAnswer(std::span<const BYTE> payload, CFoundDevice& device);
