#include <array>
#include <vector>

#include "link/command_codes.h"
#include "link/data_replies.h"
#include "link/data_reply_common.h"
#include "link/link_messages.h"
#include "link/reply_context.h"

namespace {

constexpr int kNameKind = 7;  // the request's kind for intercom names; others are alphas
constexpr int kGroupNameLength = CGroup::kNameLength;
constexpr std::size_t kMemberBitmapSize = 32;

// The label size in bytes of a name or alpha format, 0 for one this controller cannot send.
std::size_t LabelSize(int format) {
    switch (format) {
        case 0:
        case 1: return 4;
        case 2: return 6;
        case 3: return 8;
        case 4: return LiveConfig().HasFlag(CCVConfig::kUnicodeSupport) ? 16 : 0;
        default: return 0;
    }
}

// A label of the given size; a leading zero stands for a blank label.
CString ReadLabel(const BYTE* bytes, std::size_t size) {
    if (size == 16) {
        if (bytes[0] == 0 && bytes[1] == 0) return CString(u' ', 8);
        return WideText(bytes, 8);
    }
    if (bytes[0] == 0) return CString(u' ', static_cast<int>(size));
    return NarrowText(bytes, size);
}

}  // namespace

void OnNamesReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc) {
    CPayloadReader request = ReadRequest(pair);
    const int icom = request.U8();
    const WORD kindFirst = request.U16();
    const WORD formatCount = request.U16();
    const int kind = kindFirst >> 12;
    const int first = kindFirst & 0x03FF;
    const int count = formatCount & 0x03FF;
    // The label size is also the name length code (16: the wide name).
    const std::size_t size = LabelSize(formatCount >> 12);
    const int list = AlphaTypeToIndex(kind);
    if (pair.reply.command != kCmdNames || !request.Ok() || size == 0) return;
    if (kind != kNameKind && (list < 0 || icom >= ConfiguredIntercoms())) return;

    CPayloadReader reply = ReadReply(pair);
    const int total = reply.U16();
    const int end = std::min(first + count, total);
    const int n = std::max(0, end - first);
    const BYTE* labels = reply.Take(size * static_cast<std::size_t>(n));
    if (!reply.Ok()) return;

    BOOL changed = FALSE;
    if (kind == kNameKind) {
        int over = -1;
        const BOOL overflowBefore = doc.FindRemoteTrunkRangeOverflow(over);
        for (int i = 0; i < n; ++i) {
            const CString name = ReadLabel(labels + size * static_cast<std::size_t>(i), size);
            changed |=
                doc.SetIcomNameFromController(first + i, static_cast<int>(size), name, FALSE);
        }
        if (!changed) return;
        doc.UpdateAllViews(nullptr, static_cast<LPARAM>(kCmdNames), kNameKind);
        if (!overflowBefore && doc.FindRemoteTrunkRangeOverflow(over))
            context.PostToMainWindow(WM_LINK_ICOM_WARNING, static_cast<WPARAM>(over), 0);
        return;
    }

    std::vector<CString> run;
    run.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        run.push_back(ReadLabel(labels + size * static_cast<std::size_t>(i), size));
    changed |= doc.StoreAlphas(
        CAssign(static_cast<BYTE>(icom), static_cast<BYTE>(list), static_cast<WORD>(first)), run);
    // The end of the controller's list: alphas numbered from its total on are gone.
    if (total == 0 || first + count >= total)
        changed |= doc.RemoveAlphasFrom(
            CAssign(static_cast<BYTE>(icom), static_cast<BYTE>(list), static_cast<WORD>(total)));
    SendHint(doc, kCmdNames, changed);
}

void OnGroupsReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    const DWORD code = pair.reply.command;
    CPayloadReader request = ReadRequest(pair);
    const int first = request.U8();
    const BYTE countByte = request.U8();
    if ((code != kCmdGroups && code != kCmdGroupsEx) || code != pair.request.command ||
        !request.Ok())
        return;
    const bool extended = code == kCmdGroupsEx;
    const bool wide = extended || (countByte & 0x80);
    const int count = extended ? countByte : countByte & 0x7F;
    const std::size_t nameSize = wide ? 2 * kGroupNameLength : kGroupNameLength;
    const std::size_t recordSize = nameSize + (extended ? kMemberBitmapSize : 4);
    if (pair.reply.length != recordSize * static_cast<std::size_t>(count)) return;

    CPayloadReader reply = ReadReply(pair);
    BOOL changed = FALSE;
    const int n = RecordsInRange(first, count, LiveConfig().m_wNumGroups);
    for (int group = first; group < first + n; ++group) {
        const BYTE* name = reply.Take(nameSize);
        changed |= doc.SetGroupNameFromController(
            FALSE, group, wide ? WideText(name, kGroupNameLength) : NarrowText(name, nameSize));
        // Intercom k travels as bit k + 1.
        std::array<BYTE, kMemberBitmapSize> members{};
        if (extended) {
            const BYTE* bits = reply.Take(kMemberBitmapSize);
            for (std::size_t i = 0; i < kMemberBitmapSize; ++i) {
                const BYTE next = i + 1 < kMemberBitmapSize ? bits[i + 1] : 0;
                members[i] = static_cast<BYTE>((bits[i] >> 1) | (next << 7));
            }
        } else {
            const DWORD mask = reply.U32() >> 1;
            for (std::size_t i = 0; i < 4; ++i)
                members[i] = static_cast<BYTE>(mask >> (8 * i));
        }
        changed |= doc.SetGroupMembersFromController(group, extended ? CGroup::kMaxMembers : 31,
                                                     members.data());
    }
    SendHint(doc, code, changed);
}
