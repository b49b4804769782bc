#include <vector>

#include "link/command_codes.h"
#include "link/data_replies.h"
#include "link/data_reply_common.h"
#include "link/link_messages.h"
#include "link/reply_context.h"
#include "link/wire_group.h"
#include "link/wire_labels.h"

void OnNamesReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc) {
    CLabelRequest request;
    if (pair.reply.command != kCmdNames || !request.Read(pair.request)) return;
    const CWireLabelRange& range = request.range;
    const bool names = range.kind == CWireLabelRange::kNameKind;
    // The label size is also the name length code (16: the wide name).
    std::size_t size = WireLabelSize(range.format);
    if (size == kWideLabelSize && !LiveConfig().HasFlag(CCVConfig::kUnicodeSupport)) size = 0;
    const int list = AlphaTypeToIndex(static_cast<int>(range.kind));
    const int icom = static_cast<int>(request.icom);
    if (size == 0 || (!names && (list < 0 || icom >= ConfiguredIntercoms()))) return;

    CPayloadReader reply = ReadReply(pair);
    const int first = static_cast<int>(range.first);
    const int total = reply.U16();
    const int n = std::max(0, std::min(first + static_cast<int>(range.count), total) - first);
    const BYTE* labels = reply.Take(size * static_cast<std::size_t>(n));
    if (!reply.Ok()) return;
    auto label = [&](int i) {
        return ReadWireLabel(labels + size * static_cast<std::size_t>(i), size);
    };

    BOOL changed = FALSE;
    if (names) {
        int over = -1;
        const BOOL overflowBefore = doc.FindRemoteTrunkRangeOverflow(over);
        for (int i = 0; i < n; ++i)
            changed |=
                doc.SetIcomNameFromController(first + i, static_cast<int>(size), label(i), FALSE);
        if (!changed) return;
        doc.UpdateAllViews(nullptr, CUpdateHint::Reply(kCmdNames), CWireLabelRange::kNameKind);
        if (!overflowBefore && doc.FindRemoteTrunkRangeOverflow(over))
            context.PostToMainWindow(WM_LINK_ICOM_WARNING, static_cast<WPARAM>(over), 0);
        return;
    }

    std::vector<CString> run;
    run.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        run.push_back(label(i));
    const auto key = [&](int number) {
        return CAssign(static_cast<BYTE>(icom), static_cast<BYTE>(list), static_cast<WORD>(number));
    };
    changed |= doc.StoreAlphas(key(first), run);
    // The end of the controller's list: alphas numbered from its total on are gone.
    if (total == 0 || first + static_cast<int>(range.count) >= total)
        changed |= doc.RemoveAlphasFrom(key(total));
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
    const CWireGroupForm form{extended || (countByte & kWideGroupNames) != 0, extended};
    const int count = extended ? countByte : countByte & ~kWideGroupNames;
    if (pair.reply.length != form.Size() * static_cast<std::size_t>(count)) return;

    CPayloadReader reply = ReadReply(pair);
    BOOL changed = FALSE;
    const int n = RecordsInRange(first, count, LiveConfig().m_wNumGroups);
    for (int group = first; group < first + n; ++group) {
        CString name;
        CWireGroupForm::Members members{};
        form.Read(reply, name, members);
        changed |= doc.SetGroupNameFromController(FALSE, group, name);
        changed |= doc.SetGroupMembersFromController(
            group, extended ? CGroup::kMaxMembers : CGroup::kMaskMembers, members.data());
    }
    SendHint(doc, code, changed);
}
