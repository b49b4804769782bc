#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "link/message.h"

// The controller's frame: start byte, body, end byte. Body bytes that could be mistaken for a
// delimiter or a raw control byte travel behind an escape byte.
constexpr BYTE kFrameStart = 0xD5;
constexpr BYTE kFrameEnd = 0xDD;
constexpr BYTE kFrameEscape = 0xDA;

// Delimiters, header and checksum around the payload (network frames add the tag).
constexpr std::size_t kSerialFrameOverhead = 6;
constexpr std::size_t kNetworkFrameOverhead = 8;
constexpr std::size_t kMaxFrameBody = CMessage::kMaxPayload + kNetworkFrameOverhead - 2;
// Every body byte escaped, plus the delimiters.
constexpr std::size_t kMaxFrameBytes = 2 * kMaxFrameBody + 2;

bool NeedsEscape(BYTE byte);
// The byte that makes the body add up to 0 modulo 256.
BYTE FrameChecksum(std::span<const BYTE> body);

// The body of a message with its checksum; a network body starts with the tag. Answers the
// body length, or 0 when the payload is longer than a frame holds.
std::size_t BuildFrameBody(const CMessage& message, std::optional<WORD> tag,
                           std::span<BYTE, kMaxFrameBody> body);
// Escapes and delimits a body; out needs 2 * body + 2 bytes. Answers the frame length.
std::size_t DelimitFrame(std::span<const BYTE> body, std::span<BYTE> out);

// True when the last byte is itself escaped, so the frame goes on in the next read.
bool LastByteEscaped(std::span<const BYTE> bytes);
// Drops each escape byte and keeps the byte after it; answers the new length.
std::size_t UnescapeFrame(std::span<BYTE> bytes);
// Checks and decodes a whole received frame (changed in place) into the message, which holds
// rubbish after a failure. The serial form leaves the message's tag alone.
int DecodeFrame(std::span<BYTE> frame, bool network, CMessage& message);
