#include "link/wire_group.h"

#include <algorithm>

#include "model/wire_form.h"
#include "platform/base/codepage.h"

namespace {

constexpr std::size_t kNameChars = CGroup::kNameLength;
constexpr std::size_t kMaskSize = 4;

}  // namespace

std::size_t CWireGroupForm::Size() const {
    return (wideName ? 2 * kNameChars : kNameChars) + (extended ? CGroup::kMemberBytes : kMaskSize);
}

void CWireGroupForm::Write(CPayloadWriter& out, const CString& name, const Members& members) const {
    const std::size_t nameSize = wideName ? 2 * kNameChars : kNameChars;
    if (BYTE* field = out.Room(nameSize)) {
        std::fill_n(field, nameSize, BYTE{0});
        if (wideName)
            PutUtf16BE(field, name.str(), kNameChars);
        else
            PutNarrowText(field, name.str(), kNameChars);
    }
    if (!extended) {
        DWORD mask = 0;
        for (int icom = 0; icom < CGroup::kMaskMembers; ++icom)
            if (members[icom / 8] & (1u << (icom % 8))) mask |= 1u << (icom + 1);
        out.U32(mask);
        return;
    }
    for (std::size_t i = 0; i < members.size(); ++i) {
        const BYTE carry = i > 0 ? static_cast<BYTE>(members[i - 1] >> 7) : 0;
        out.U8(static_cast<BYTE>((members[i] << 1) | carry));
    }
}

void CWireGroupForm::Read(CPayloadReader& in, CString& name, Members& members) const {
    const std::size_t nameSize = wideName ? 2 * kNameChars : kNameChars;
    const BYTE* field = in.Take(nameSize);
    if (!field) return;
    std::u16string text =
        wideName ? GetUtf16BE(field, kNameChars)
                 : FromAnsi(std::string_view(reinterpret_cast<const char*>(field), kNameChars));
    text.resize(std::min(text.size(), text.find(u'\0')));
    name = CString(text);
    members.fill(0);
    if (!extended) {
        const DWORD mask = in.U32() >> 1;
        for (std::size_t i = 0; i < kMaskSize; ++i)
            members[i] = static_cast<BYTE>(mask >> (8 * i));
        return;
    }
    const BYTE* bits = in.Take(members.size());
    if (!bits) return;
    for (std::size_t i = 0; i < members.size(); ++i) {
        const BYTE next = i + 1 < members.size() ? bits[i + 1] : 0;
        members[i] = static_cast<BYTE>((bits[i] >> 1) | (next << 7));
    }
}
