#include "link/reply_layouts.h"

#include <algorithm>

#include "link/command_codes.h"
#include "link/payload_io.h"
#include "link/wire_assign.h"
#include "link/wire_clock.h"
#include "link/wire_group.h"
#include "link/wire_labels.h"
#include "model/snmp_config.h"

namespace {

constexpr std::size_t kTrunkDefSize = 13;
constexpr std::size_t kAddressSize = 4;
constexpr std::size_t kCostSize = 2;
constexpr std::size_t kErrorCountersSize = 4;
constexpr std::size_t kTimeoutSize = 2;
constexpr std::size_t kFlagSize = 1;
constexpr std::size_t kMemoryWindow = 255;
constexpr std::size_t kComPortRangeSize = 2;
// The head of an enhanced intercom status: flags, model, u16 number, a byte and a u16 value.
constexpr std::size_t kIcomStatusHead = 8;
constexpr int kHighestStatusSelector = 2;

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

// A range request of first and count, bytes or u16 values after skip bytes, answered by
// count records of size bytes. A request too short to hold the range always fits: its
// handler refuses it before the reply is looked at.
bool RangeFits(const CDualMessage& pair, std::size_t skip, bool words, std::size_t size) {
    CPayloadReader request(pair.request.Payload());
    request.Take(skip);
    if (words)
        request.U16();
    else
        request.U8();
    const std::size_t count = words ? request.U16() : request.U8();
    return !request.Ok() || pair.reply.length == count * size;
}

bool StatusFits(const CDualMessage& pair, std::size_t size) {
    CPayloadReader request(pair.request.Payload());
    const int selector = request.U8();
    return selector > kHighestStatusSelector || RangeFits(pair, 1, false, size);
}

bool GroupsFit(const CDualMessage& pair) {
    CPayloadReader request(pair.request.Payload());
    request.U8();
    const BYTE countByte = request.U8();
    if (!request.Ok()) return true;
    const bool extended = pair.request.command == kCmdGroupsEx;
    const CWireGroupForm form{extended || (countByte & kWideGroupNames) != 0, extended};
    const std::size_t count = extended ? countByte : countByte & ~kWideGroupNames;
    return pair.reply.length == form.Size() * count;
}

// The u16 total, then the labels from first up to the total, at least.
bool LabelsFit(const CDualMessage& pair) {
    CLabelRequest request;
    if (!request.Read(pair.request)) return true;
    const std::size_t size = WireLabelSize(request.range.format);
    CPayloadReader reply(pair.reply.Payload());
    const UINT total = reply.U16();
    if (!reply.Ok()) return false;
    const UINT end = std::min(request.range.first + request.range.count, total);
    const std::size_t labels = end > request.range.first ? end - request.range.first : 0;
    return reply.Left() >= labels * size;
}

bool SummaryFits(const CDualMessage& pair, const CLinkConfig& config) {
    CSummaryRequest request;
    if (!ReadSummaryRequest(pair.request, config, request)) return true;
    return pair.reply.length == request.recordSize * static_cast<std::size_t>(request.count);
}

bool InspectFits(const CDualMessage& pair) {
    CPayloadReader request(pair.request.Payload());
    const int trunk = request.U16();
    CInspect inspect;
    return !request.Ok() || ReadInspectReply(pair.reply, trunk, inspect);
}

bool RemoteTrunkingFits(const CDualMessage& pair) {
    CPayloadReader reply(pair.reply.Payload());
    reply.U8();
    const UINT bits = reply.U16();
    reply.Take((bits + 7) / 8);
    return reply.Ok();
}

// The format byte, u16 first and u16 count; the number of counters per intercom, then the
// counters of each intercom asked for.
bool AlphaCountersFit(const CDualMessage& pair) {
    CPayloadReader request(pair.request.Payload());
    request.U8();
    request.U16();
    const std::size_t count = request.U16();
    if (!request.Ok()) return true;
    return pair.reply.length >= 1 && pair.reply.length == 1 + pair.reply.payload[0] * count;
}

}  // namespace

bool ReadSummaryRequest(const CMessage& message, const CLinkConfig& config, CSummaryRequest& out) {
    out.extended = config.IsExtended();
    const bool paged = out.extended && config.intercoms > 31;
    CPayloadReader request(message.Payload());
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

bool ReadInspectReply(const CMessage& message, int trunk, CInspect& inspect) {
    CPayloadReader reply(message.Payload());
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
    return reply.AtEnd();
}

bool ReplyFitsRequest(const CDualMessage& pair, const CLinkConfig& config) {
    const DWORD length = pair.reply.length;
    switch (pair.reply.command) {
        case kCmdNames: return LabelsFit(pair);
        case kCmdTrunkDefs: return RangeFits(pair, 0, true, kTrunkDefSize);
        case kCmdTrunkStates: return RangeFits(pair, 0, true, 1);
        case kCmdIcomBaud:
        case kCmdIcomPort:
        case kCmdIcomConn: return RangeFits(pair, 0, false, 1);
        case kCmdIcomAddress: return RangeFits(pair, 1, false, kAddressSize);
        case kCmdIcomCost: return RangeFits(pair, 0, true, kCostSize);
        case kCmdCommStatus: return StatusFits(pair, 1);
        case kCmdCommErrors: return StatusFits(pair, kErrorCountersSize);
        case kCmdGroups:
        case kCmdGroupsEx: return GroupsFit(pair);
        case kCmdTrunkSummary:
        case kCmdTrunkSummaryEx: return SummaryFits(pair, config);
        case kCmdTrunkInspect: return InspectFits(pair);
        case kCmdIcomStatus: return length >= kIcomStatusHead;
        case kCmdRemoteTrunking: return RemoteTrunkingFits(pair);
        case kCmdAlphaCounters: return AlphaCountersFit(pair);
        case kCmdTimeoutMinutes:
        case kCmdTimeoutSeconds: return length == kTimeoutSize;
        case kCmdAutoClear:
        case kCmdDynamicAlloc:
        case kCmdWaitForTalkKey: return length == kFlagSize;
        case kCmdClock: return length == kWireClockSize;
        case kCmdSNMPConfig: return length == CSNMPConfig::kRecordSize;
        case kCmdReadMemory: return length == kMemoryWindow;
        case kCmdComPortRange: return length == kComPortRangeSize;
        default: return true;
    }
}
