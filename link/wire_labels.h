#pragma once

#include <cstddef>

#include "link/payload_io.h"
#include "platform/base/cstring.h"

// The head of a names or alphas message, asked for (5) and set (6) alike: u16 kind << 12 |
// first, then u16 format << 12 | count.
struct CWireLabelRange {
    // The kind of the intercom names; every other kind is a wire alpha type.
    static constexpr UINT kNameKind = 7;
    // First and count have 12 bits.
    static constexpr UINT kFieldMask = 0xFFF;

    UINT kind = 0;
    UINT first = 0;
    UINT format = 0;
    UINT count = 0;

    void Write(CPayloadWriter& out) const;
    static CWireLabelRange Read(CPayloadReader& in);
};

// A names or alphas request (5): the intercom (0 for names), then the range.
struct CLabelRequest {
    UINT icom = 0;
    CWireLabelRange range;

    void Write(CMessage& message) const;
    // FALSE when the message is not a label request.
    BOOL Read(const CMessage& message);
};

// The most labels one message carries, narrow and wide.
constexpr UINT kLabelsPerMessage = 128;
constexpr UINT kWideLabelsPerMessage = 64;

// The bytes of one label of a format: 4 for formats 0 and 1, 6 for 2, 8 for 3, 16 (8 wide
// characters) for 4; 0 for any other format.
std::size_t WireLabelSize(UINT format);
constexpr std::size_t kWideLabelSize = 16;

// A label of size bytes: narrow text, or at the wide size 8 UTF-16 characters big-endian. A
// blank label travels as zeros: a leading zero byte (two for a wide label) reads as blanks.
CString ReadWireLabel(const BYTE* bytes, std::size_t size);
void WriteWireLabel(CPayloadWriter& out, const CString& label, std::size_t size);
