#pragma once

#include <algorithm>
#include <cstddef>
#include <span>

#include "link/message.h"
#include "platform/base/byte_order.h"
#include "platform/base/win_types.h"

// Reads a payload front to back. A read past the end gives zeros and fails the reader, so a
// parser checks Ok() once at the end instead of before every field.
class CPayloadReader {
public:
    explicit CPayloadReader(std::span<const BYTE> bytes) : m_bytes(bytes) {}

    BYTE U8() {
        const BYTE* p = Take(1);
        return p ? p[0] : 0;
    }
    WORD U16() {
        const BYTE* p = Take(2);
        return p ? GetU16BE(p) : 0;
    }
    DWORD U32() {
        const BYTE* p = Take(4);
        return p ? GetU32BE(p) : 0;
    }
    // The next n bytes, or null (and the reader fails) when fewer are left.
    const BYTE* Take(std::size_t n) {
        if (n > Left()) {
            m_bFailed = true;
            m_at = m_bytes.size();
            return nullptr;
        }
        const BYTE* p = m_bytes.data() + m_at;
        m_at += n;
        return p;
    }

    std::size_t Left() const { return m_bytes.size() - m_at; }
    bool Ok() const { return !m_bFailed; }
    // Every byte read, and nothing beyond.
    bool AtEnd() const { return Ok() && Left() == 0; }

private:
    std::span<const BYTE> m_bytes;
    std::size_t m_at = 0;
    bool m_bFailed = false;
};

// Writes a message's payload front to back, numbers big-endian; a field that does not fit in
// what is left of the payload is dropped.
class CPayloadWriter {
public:
    explicit CPayloadWriter(CMessage& message) : m_message(message) { m_message.length = 0; }
    // Starts a request of the command.
    CPayloadWriter(CMessage& message, DWORD command) : CPayloadWriter(message) {
        m_message.command = command;
    }

    CPayloadWriter& U8(UINT value) {
        if (BYTE* p = Room(1)) p[0] = static_cast<BYTE>(value);
        return *this;
    }
    CPayloadWriter& U16(UINT value) {
        if (BYTE* p = Room(2)) PutU16BE(p, static_cast<WORD>(value));
        return *this;
    }
    CPayloadWriter& U32(DWORD value) {
        if (BYTE* p = Room(4)) PutU32BE(p, value);
        return *this;
    }
    CPayloadWriter& Bytes(std::span<const BYTE> bytes) {
        if (BYTE* p = Room(bytes.size())) std::copy(bytes.begin(), bytes.end(), p);
        return *this;
    }
    // n bytes to fill in place, or null when they do not fit.
    BYTE* Room(std::size_t n) {
        if (n > CMessage::kMaxPayload - m_message.length) return nullptr;
        BYTE* p = m_message.payload.data() + m_message.length;
        m_message.length += static_cast<DWORD>(n);
        return p;
    }

private:
    CMessage& m_message;
};
