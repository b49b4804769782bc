#pragma once

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

// Appends to a message's payload; bytes beyond its capacity are dropped.
class CPayloadWriter {
public:
    explicit CPayloadWriter(CMessage& message) : m_message(message) { m_message.length = 0; }

    void U8(BYTE value) {
        if (BYTE* p = Room(1)) p[0] = value;
    }
    void U16(WORD value) {
        if (BYTE* p = Room(2)) PutU16BE(p, value);
    }
    void U32(DWORD value) {
        if (BYTE* p = Room(4)) PutU32BE(p, value);
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
