#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

#include "platform/base/win_types.h"

// One message to or from the controller.
struct CMessage {
    static constexpr std::size_t kMaxPayload = 2000;
    static constexpr WORD kNoTag = 0xFFFF;

    DWORD command = 0;   // 10 bits travel; 0 marks a raw (unframed) request
    DWORD sequence = 0;  // 12 bits travel; 0 for unnumbered frames
    BOOL nak = FALSE;    // the controller refused the request
    BOOL ctrl = FALSE;   // control flag of the frame header
    std::array<BYTE, kMaxPayload> payload{};
    DWORD length = 0;   // valid payload bytes
    WORD tag = kNoTag;  // network connection tag

    std::span<const BYTE> Payload() const { return {payload.data(), length}; }
    // As new, without clearing the payload bytes beyond the length.
    void Clear() {
        command = sequence = 0;
        nak = ctrl = FALSE;
        length = 0;
        tag = kNoTag;
    }
    // Keeps at most kMaxPayload bytes.
    void SetPayload(std::span<const BYTE> bytes) {
        length = static_cast<DWORD>(std::min(bytes.size(), kMaxPayload));
        std::copy_n(bytes.begin(), length, payload.begin());
    }
};

// A request and the reply that answered it.
struct CDualMessage {
    CMessage request;
    CMessage reply;
};

// Copies the fields and the valid payload bytes: most messages use a small part of their
// payload. The bytes past the length are left as they were.
inline void CopyMessage(CMessage& to, const CMessage& from) {
    to.command = from.command;
    to.sequence = from.sequence;
    to.nak = from.nak;
    to.ctrl = from.ctrl;
    to.length = from.length;
    to.tag = from.tag;
    std::copy_n(from.payload.begin(), std::min<std::size_t>(from.length, CMessage::kMaxPayload),
                to.payload.begin());
}

inline void CopyMessage(CDualMessage& to, const CDualMessage& from) {
    CopyMessage(to.request, from.request);
    CopyMessage(to.reply, from.reply);
}
