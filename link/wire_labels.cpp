#include "link/wire_labels.h"

#include <algorithm>

#include "link/command_codes.h"
#include "model/wire_form.h"
#include "platform/base/codepage.h"

namespace {

constexpr int kWideLabelChars = 8;

}  // namespace

void CWireLabelRange::Write(CPayloadWriter& out) const {
    out.U16(kind << 12 | (first & kFieldMask)).U16(format << 12 | (count & kFieldMask));
}

CWireLabelRange CWireLabelRange::Read(CPayloadReader& in) {
    const WORD kindFirst = in.U16();
    const WORD formatCount = in.U16();
    return {static_cast<UINT>(kindFirst >> 12), kindFirst & kFieldMask,
            static_cast<UINT>(formatCount >> 12), formatCount & kFieldMask};
}

void CLabelRequest::Write(CMessage& message) const {
    CPayloadWriter out(message, kCmdNames);
    out.U8(icom);
    range.Write(out);
}

BOOL CLabelRequest::Read(const CMessage& message) {
    if (message.command != kCmdNames) return FALSE;
    CPayloadReader in(message.Payload());
    icom = in.U8();
    range = CWireLabelRange::Read(in);
    return in.AtEnd();
}

std::size_t WireLabelSize(UINT format) {
    switch (format) {
        case 0:
        case 1: return 4;
        case 2: return 6;
        case 3: return 8;
        case 4: return kWideLabelSize;
        default: return 0;
    }
}

CString ReadWireLabel(const BYTE* bytes, std::size_t size) {
    if (size == kWideLabelSize) {
        if (bytes[0] == 0 && bytes[1] == 0) return CString(u' ', kWideLabelChars);
        std::u16string text = GetUtf16BE(bytes, kWideLabelChars);
        text.resize(std::min(text.size(), text.find(u'\0')));
        return CString(text);
    }
    if (bytes[0] == 0) return CString(u' ', static_cast<int>(size));
    const BYTE* end = std::find(bytes, bytes + size, BYTE{0});
    return CString(FromAnsi(std::string_view(reinterpret_cast<const char*>(bytes),
                                             static_cast<std::size_t>(end - bytes))));
}

void WriteWireLabel(CPayloadWriter& out, const CString& label, std::size_t size) {
    BYTE* field = out.Room(size);
    if (!field) return;
    std::fill_n(field, size, BYTE{0});
    if (size == kWideLabelSize) {
        PutUtf16BE(field, label.str(), kWideLabelChars);
        return;
    }
    CString trimmed = label;
    trimmed.TrimRight();
    if (!trimmed.IsEmpty()) PutNarrowText(field, label.str(), size);
}
