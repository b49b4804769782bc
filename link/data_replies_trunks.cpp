#include <cstdint>

#include "link/command_codes.h"
#include "link/data_replies.h"
#include "link/data_reply_common.h"
#include "link/link_messages.h"
#include "link/reply_context.h"
#include "link/wire_assign.h"

namespace {

constexpr int kTrunkDefSize = 13;

// The document sends this reply's hint itself after a trunk definition edit.
static_assert(CUpdateHint::kTrunkDefs == CUpdateHint::Reply(kCmdTrunkDefs));

int ConfiguredTrunks() {
    return LiveConfig().m_wNumTrunks;
}

// One side's entries of an inspection reply: the count as received, the first eight stored.
void ReadInspectEntries(CPayloadReader& reader, CInspect& inspect, bool side1) {
    const BYTE count = reader.U8();
    inspect.SetEntryCount(side1, count);
    for (int e = 0; e < count; ++e) {
        const CAssign assign = ReadWireAssign(reader);
        const BYTE stateA = reader.U8();
        const BYTE stateB = reader.U8();
        if (e < CInspect::kEntries) {
            inspect.SetEntry(side1, e, assign);
            inspect.SetStates(side1, e, stateA, stateB);
        }
    }
}

// The layout that a trunk summary request asked for.
struct CSummaryRequest {
    int item = 0;
    bool extended = false;  // records carry the maintenance count
    bool outOfService = false;
    int first = 0;
    int count = 0;
    std::size_t recordSize = 0;
};

// Reads the request as the summary manager builds it: a two-byte item, and an intercom offset
// and count, only on an extended controller with more than 31 intercoms; the out-of-service
// byte only with OOSTrunks. False when the request is shorter than that. A request without an
// offset and count asks for the fixed table of 31 intercoms. Records are the five counts in
// order, cut after the last one the request asks for: the extended controller's always hold
// all five, the standard one's hold the maintenance count whenever the request carried the
// out-of-service byte.
bool ReadSummaryRequest(const CDualMessage& pair, CSummaryRequest& out) {
    const CCVConfig& config = LiveConfig();
    out.extended = config.HasFlag(CCVConfig::kNewCorvane);
    const bool paged = out.extended && ConfiguredIntercoms() > 31;
    CPayloadReader request = ReadRequest(pair);
    out.item = paged ? request.U16() : request.U8();
    const bool flagByte = config.HasCapability(CCVConfig::kOOSTrunks);
    if (flagByte) out.outOfService = request.U8() != 0;
    if (paged) {
        out.first = request.U16();
        out.count = request.U16();
    } else {
        out.first = 0;
        out.count = 31;
    }
    if (out.extended)
        out.recordSize = 10;
    else
        out.recordSize = !flagByte ? 6 : out.outOfService ? 10 : 8;
    return request.Ok();
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

void OnTrunkSummaryReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc) {
    const DWORD expected =
        LiveConfig().HasFlag(CCVConfig::kNewCorvane) ? kCmdTrunkSummaryEx : kCmdTrunkSummary;
    CSummaryRequest request;
    if (pair.reply.command != expected || !ReadSummaryRequest(pair, request)) return;
    if (pair.reply.length != request.recordSize * static_cast<std::size_t>(request.count)) {
        context.CountMalformedReply();
        return;
    }

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
    CPayloadReader reply = ReadReply(pair);
    inspect.SetSideId(true, trunk);
    const CAssign first1 = ReadWireAssign(reply);
    const CAssign second1 = ReadWireAssign(reply);
    inspect.SetPair(true, first1, second1);
    const int side2 = static_cast<std::int16_t>(reply.U16());
    inspect.SetSideId(false, side2);
    if (side2 >= 0) {
        const CAssign first2 = ReadWireAssign(reply);
        const CAssign second2 = ReadWireAssign(reply);
        inspect.SetPair(false, first2, second2);
    }
    ReadInspectEntries(reply, inspect, true);
    ReadInspectEntries(reply, inspect, false);
    // Only a record that fills the reply exactly is taken.
    if (reply.AtEnd()) SendHint(doc, kCmdTrunkInspect, doc.SetTrunkInspect(trunk, inspect));
}
