#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string_view>
#include <vector>

#include "model/app_state.h"
#include "model/records.h"
#include "platform/base/codepage.h"
#include "platform/base/profile.h"
#include "tests/support/recording_app.h"

using Bytes = std::vector<BYTE>;

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Repeat(const Bytes& record, std::size_t times) {
    Bytes out;
    while (times--)
        out = out + record;
    return out;
}

// 8-bit text, padded or cut to n bytes when n is given.
inline Bytes Text(std::string_view text, std::size_t n = 0, BYTE pad = ' ') {
    Bytes out(text.begin(), text.end());
    if (n) out.resize(n, pad);
    return out;
}

// Texts in test messages.
inline void PrintTo(const CString& text, std::ostream* os) {
    *os << '"' << ToUtf8(text) << '"';
}

// Every model test runs with an application state of its own over an empty profile.
class ModelTest : public ::testing::Test {
protected:
    CCVConfig& Config() { return m_app.GetConfig(); }
    void SetCapabilities(DWORD capabilities) {
        Config().m_dwCapabilities = capabilities;
        Config().RefreshCapabilitySet();
    }

    CMemoryProfile m_profile;
    CRecordingApp m_app{m_profile};
};

// The bytes a record writes in the form of that length.
inline std::vector<BYTE> Written(CCVObject& record, int length, BOOL clearAfter = FALSE) {
    std::vector<BYTE> bytes(static_cast<size_t>(length), 0xEE);
    EXPECT_EQ(record.ToWire(bytes.data(), length, clearAfter), length);
    return bytes;
}

// Reads a record from exactly the given bytes (a heap buffer of that size, so that the
// sanitizer sees any read beyond it).
inline int Read(CCVObject& record, const std::vector<BYTE>& bytes, BOOL mark = FALSE,
                int length = -1) {
    std::vector<BYTE> exact(bytes);
    return record.FromWire(exact.empty() ? nullptr : exact.data(),
                           length < 0 ? static_cast<int>(exact.size()) : length, mark);
}
