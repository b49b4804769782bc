#include <cstdint>

#include "link/command_codes.h"
#include "link/data_replies.h"
#include "link/data_reply_common.h"
#include "link/link_messages.h"
#include "link/reply_context.h"
#include "link/reply_layouts.h"
#include "link/wire_assign.h"

namespace {

constexpr int kTrunkDefSize = 13;

// The document sends this reply's hint itself after a trunk definition edit.
static_assert(CUpdateHint::kTrunkDefs == CUpdateHint::Reply(kCmdTrunkDefs));

int ConfiguredTrunks() {
    return LiveConfig().m_wNumTrunks;
}

}  // namespace

void OnTrunkDefsReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc) {
    CPayloadReader request = ReadRequest(pair);
    const int first = request.U16();
    const int count = request.U16();
    if (pair.reply.command != kCmdTrunkDefs || !request.Ok() ||
        pair.reply.length != static_cast<DWORD>(kTrunkDefSize * count))
        return;

    int trunk = -1;
    const BOOL portUsedBefore = doc.FindTrunkOnRemoteTrunkPort(trunk);
    BOOL changed = FALSE;
    BOOL assignChanged = FALSE;
    CPayloadReader reply = ReadReply(pair);
    const int n = RecordsInRange(first, count, ConfiguredTrunks());
    for (int t = first; t < first + n; ++t) {
        const CAssign end1 = ReadWireAssign(reply);
        const CAssign end2 = ReadWireAssign(reply);
        const CAssign fixed1 = ReadWireAssign(reply);
        const CAssign fixed2 = ReadWireAssign(reply);
        const BYTE flags = reply.U8();
        assignChanged |= doc.SetTrunkEnd(end1, TRUE, FALSE, t);
        assignChanged |= doc.SetTrunkEnd(end2, FALSE, FALSE, t);
        assignChanged |= doc.SetTrunkFixedAssign(fixed1, TRUE, FALSE, t);
        assignChanged |= doc.SetTrunkFixedAssign(fixed2, FALSE, FALSE, t);
        changed |= doc.SetTrunkFixed(flags & 0x01, FALSE, t);
        changed |= doc.SetTrunkCascadable((flags >> 1) & 0x01, FALSE, t);
    }
    if (!(changed || assignChanged)) return;
    SendHint(doc, kCmdTrunkDefs, TRUE);
    if (assignChanged && !portUsedBefore && doc.FindTrunkOnRemoteTrunkPort(trunk))
        context.PostToMainWindow(WM_LINK_TRUNK_WARNING, static_cast<WPARAM>(trunk), 0);
}

void OnTrunkStatesReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    CPayloadReader request = ReadRequest(pair);
    const int first = request.U16();
    const int count = request.U16();
    if (pair.reply.command != kCmdTrunkStates || !request.Ok() ||
        pair.reply.length != static_cast<DWORD>(count))
        return;
    BOOL changed = FALSE;
    const int n = RecordsInRange(first, count, ConfiguredTrunks());
    for (int i = 0; i < n; ++i)
        changed |= doc.SetTrunkState(first + i, pair.reply.payload[static_cast<std::size_t>(i)]);
    SendHint(doc, kCmdTrunkStates, changed);
}

void OnTrunkSummaryReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    const DWORD expected =
        LiveConfig().HasFlag(CCVConfig::kNewCorvane) ? kCmdTrunkSummaryEx : kCmdTrunkSummary;
    CSummaryRequest request;
    if (pair.reply.command != expected ||
        !ReadSummaryRequest(pair.request, CLinkConfig::From(GetApp()), request) ||
        pair.reply.length != request.recordSize * static_cast<std::size_t>(request.count))
        return;

    // Item 0 is the controller's own totals, item k + 1 intercom k.
    const int owner = request.item - 1;
    BOOL changed = FALSE;
    CPayloadReader reply = ReadReply(pair);
    const int n = RecordsInRange(request.first, request.count, ConfiguredIntercoms());
    for (int icom = request.first; icom < request.first + n; ++icom) {
        CSummary summary;
        for (int k = CSummary::kTrunks; k <= CSummary::kInUse; ++k)
            summary.m_counts[static_cast<std::size_t>(k)] = reply.U16();
        // Each count at its own place in the record, whatever the controller leaves out.
        const DWORD maintenance = request.recordSize >= 8 ? reply.U16() : 0;
        const DWORD outOfService = request.recordSize >= 10 ? reply.U16() : 0;
        if (request.extended) summary.m_counts[CSummary::kMaintenance] = maintenance;
        if (request.outOfService) summary.m_counts[CSummary::kOutOfService] = outOfService;
        changed |= doc.SetTrunkSummary(icom, owner, summary);
    }
    SendHint(doc, pair.reply.command, changed);
}

void OnTrunkInspectReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    CPayloadReader request = ReadRequest(pair);
    const int trunk = request.U16();
    if (pair.reply.command != kCmdTrunkInspect || !request.Ok() || trunk >= ConfiguredTrunks())
        return;

    CInspect inspect;
    // Only a record that fills the reply exactly is taken.
    if (ReadInspectReply(pair.reply, trunk, inspect))
        SendHint(doc, kCmdTrunkInspect, doc.SetTrunkInspect(trunk, inspect));
}
