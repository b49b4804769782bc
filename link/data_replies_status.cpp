#include <cmath>
#include <ctime>

#include "link/command_codes.h"
#include "link/data_replies.h"
#include "link/data_reply_common.h"
#include "link/misc_request_mgr.h"
#include "link/reply_context.h"
#include "link/wire_clock.h"
#include "model/snmp_config.h"

namespace {

constexpr int kClockTolerance = 2;  // seconds

// Who a link status request asks about.
enum Selector : int { kActiveController = 0, kIntercoms = 1, kStandbyController = 2 };

// The one-byte option replies: on when the byte is not zero.
template <class Store>
void StoreOptionFlag(const CDualMessage& pair, CKelvardinDoc& doc, DWORD code, Store store) {
    if (pair.reply.command != code || pair.reply.length != 1) return;
    SendHint(doc, code, store(pair.reply.payload[0] != 0 ? TRUE : FALSE));
}

// The indexes of a link status request with records of width bytes, and the selector; FALSE
// when the request or the reply's length does not fit.
bool ReadStatusRange(const CDualMessage& pair, std::size_t width, int& selector, int& first,
                     int& n) {
    CPayloadReader request = ReadRequest(pair);
    selector = request.U8();
    first = request.U8();
    const int count = request.U8();
    if (!request.Ok() || selector > kStandbyController || pair.reply.length != width * count)
        return false;
    // A controller has one record, under index 0.
    n = selector == kIntercoms ? RecordsInRange(first, count, ConfiguredIntercoms())
                               : std::min(count, 1);
    return true;
}

bool IsGoodStatusCode(int code) {
    return code <= 9 || code == 13 || code == 15 || code == 16;
}

}  // namespace

void OnTimeoutReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    const DWORD code = pair.reply.command;
    if ((code != kCmdTimeoutMinutes && code != kCmdTimeoutSeconds) || pair.reply.length != 2)
        return;
    SendHint(doc, code, doc.SetOptionTimeout(ReadReply(pair).U16(), FALSE));
}

void OnAutoClearReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    StoreOptionFlag(pair, doc, kCmdAutoClear,
                    [&](BOOL on) { return doc.SetOptionAutoClear(on, FALSE); });
}

void OnDynamicAllocReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    StoreOptionFlag(pair, doc, kCmdDynamicAlloc,
                    [&](BOOL on) { return doc.SetDynamicAllocModeFromController(on); });
}

void OnWaitForTalkKeyReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    StoreOptionFlag(pair, doc, kCmdWaitForTalkKey,
                    [&](BOOL on) { return doc.SetOptionWaitForTalkKey(on, FALSE); });
}

void OnCommStatusReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    int selector = 0, first = 0, n = 0;
    if (pair.reply.command != kCmdCommStatus || !ReadStatusRange(pair, 1, selector, first, n))
        return;
    BOOL changed = FALSE;
    for (int i = 0; i < n; ++i) {
        const BYTE value = pair.reply.payload[static_cast<std::size_t>(i)];
        CCommStat status;
        status.m_ok = value >> 7;
        status.m_code = value & 0x7F;
        status.m_flag2 = IsGoodStatusCode(status.m_code) ? 1 : 0;
        const int index = first + i;
        changed |= doc.SetCommStat(index, selector, status);
        // A standby controller that answers makes the active one a good master.
        if (selector == kStandbyController && index == 0) {
            status.m_ok = 1;
            status.m_code = 13;
            changed |= doc.SetCommStat(0, kActiveController, status);
        }
    }
    SendHint(doc, kCmdCommStatus, changed);
}

void OnCommErrorsReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    int selector = 0, first = 0, n = 0;
    if (pair.reply.command != kCmdCommErrors || !ReadStatusRange(pair, 4, selector, first, n))
        return;
    CPayloadReader reply = ReadReply(pair);
    BOOL changed = FALSE;
    for (int i = 0; i < n; ++i) {
        CCommErrs errors;
        errors.m_errorsTo = reply.U8();
        errors.m_berTo = reply.U8();
        errors.m_errorsFrom = reply.U8();
        errors.m_berFrom = reply.U8();
        // The active controller does not count these two.
        if (selector == kActiveController) errors.m_errorsTo = errors.m_errorsFrom = 0;
        changed |= doc.SetCommErrors(first + i, selector, errors);
    }
    SendHint(doc, kCmdCommErrors, changed);
}

void OnClockReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc&) {
    if (pair.reply.command != kCmdClock || pair.reply.length != kWireClockSize) return;
    CPayloadReader reply = ReadReply(pair);
    const std::optional<std::time_t> time = ReadWireClock(reply);
    if (!time) return;
    const double drift = std::round(std::difftime(*time, context.Now()));
    if (std::fabs(drift) > kClockTolerance) context.SetClock();
}

void OnLogRecordReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc) {
    if (pair.reply.command != kCmdLogRecord || pair.reply.length < 1 || pair.reply.payload[0] == 0)
        return;
    const CString line(FromAnsi(std::string_view(
        reinterpret_cast<const char*>(pair.reply.payload.data() + 1), pair.reply.length - 1)));
    SendHint(doc, kCmdLogRecord, context.AppendControllerLog(line));
}

void OnSNMPConfigReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc&) {
    if (pair.reply.command != kCmdSNMPConfig) return;
    CSNMPConfig received;
    if (pair.reply.length != CSNMPConfig::kRecordSize ||
        !received.Decode(pair.reply.payload.data(), FALSE)) {
        context.FailMiscWait(CMiscRequestMgr::kReadSnmp);
        return;
    }
    // The user's unsent edits keep their values.
    CSNMPConfig& config = context.GetSNMPConfig();
    if (!config.IsModified()) config = received;
    context.EndMiscWait(CMiscRequestMgr::kReadSnmp);
}
