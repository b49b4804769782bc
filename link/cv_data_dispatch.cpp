#include <algorithm>
#include <thread>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "link/data_replies.h"
#include "link/link_messages.h"
#include "link/payload_io.h"
#include "link/wire_labels.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/base/codepage.h"

namespace {

constexpr CUpdateHint kMemoryWrittenHint = CUpdateHint::kRefresh;
constexpr DWORD kMemoryWindowBytes = 255;

// What a reply may carry while the application is not ONLINE.
bool HandledOutsideOnline(DWORD code) {
    static constexpr DWORD kCodes[] = {
        kCmdStatus,         kCmdLogRecord,        kCmdLoggingState,
        kCmdLoggingOnOff,   kCmdSetClock,         kCmdCode21Text,
        kCmdClock,          kCmdComPortRange,     kCmdOpenSession,
        kCmdNetworkControl, kCmdTakeLogDirection, kCmdReleaseLogDirection};
    return std::find(std::begin(kCodes), std::end(kCodes), code) != std::end(kCodes);
}

// The reply codes whose handler depends on what the controller can do, as the managers only
// ask for them then.
bool AskedOfThisController(DWORD code) {
    const CCVConfig& config = GetApp().GetConfig();
    if (code == kCmdIcomStatus) return config.HasFlag(CCVConfig::kEnhancedStatus);
    if (code == kCmdRemoteTrunking) return config.HasCapability(CCVConfig::kTwoCVsSupport);
    return true;
}

CString AnsiText(const CMessage& reply, std::size_t from = 0) {
    const auto* bytes = reinterpret_cast<const char*>(reply.payload.data());
    return CString(FromAnsi(std::string_view(bytes + from, reply.length - from)));
}

void SendHint(CKelvardinDoc* doc, CUpdateHint hint) {
    if (doc) doc->UpdateAllFrameViews(nullptr, hint);
}

void SendHint(CKelvardinDoc* doc, DWORD code) {
    SendHint(doc, CUpdateHint::Reply(code));
}

}  // namespace

void CCVDataMgr::OnResponse(CKelvardinDoc* doc) {
    CDualMessage pair;
    const ReplyCheck check = TakeReply(pair);
    if (check == ReplyCheck::kDispatch) DispatchReply(pair, doc);
    FinishReply(check);
    if (m_bHeldForReplies && RepliesWaiting() < kResumeBelow) {
        m_bHeldForReplies = false;
        WakeEngine();
    }
    // Replies come in bursts that keep this thread busy for milliseconds. A link thread woken
    // meanwhile may be queued behind it on this processor; letting it run here keeps the next
    // exchange from waiting for the whole burst.
    if (check == ReplyCheck::kDispatch) std::this_thread::yield();
}

bool CCVDataMgr::IsPresencePoll(const CMessage& request) {
    return request.length >= 1 && request.payload[0] == kPresencePoll;
}

void CCVDataMgr::DispatchReply(const CDualMessage& pair, CKelvardinDoc* doc) {
    if (HandleLinkReply(pair)) return;
    const DWORD code = pair.reply.command;
    if (IsStatusReply(pair)) {
        if (!IsPresencePoll(pair.request)) return;
        const BYTE* record = pair.reply.payload.data() + (code == kCmdStatus ? 0 : 1);
        const CCVStatusRec status(record);
        OnStatusReply(status, doc);
        StatusTakenIn(status);
        return;
    }
    if (GetApp().GetMode() != CAppState::kModeOnline && !HandledOutsideOnline(code)) return;
    if (!HandleSmallReply(pair, doc) && doc && AskedOfThisController(code)) {
        if (const DataReplyHandler handler = FindDataReplyHandler(code)) handler(*this, pair, *doc);
    }
    // The SNMP record's handler ends its wait itself: a record that does not decode fails it.
    if (const int item = CMiscRequestMgr::ItemOfRequest(pair.request);
        item != static_cast<int>(CMiscRequestMgr::kReadSnmp))
        EndMiscWait(item);
}

BOOL CCVDataMgr::HandleSmallReply(const CDualMessage& pair, CKelvardinDoc* doc) {
    const CMessage& reply = pair.reply;
    const BYTE* p = reply.payload.data();
    CAppState& app = GetApp();
    switch (reply.command) {
        case kCmdLoggingState:
            if (reply.length == 1) m_nControllerLogging = p[0] ? 1 : 0;
            return TRUE;
        case kCmdCode21Text:
            if (doc && doc->SetCVVersionText(AnsiText(reply))) SendHint(doc, kCmdCode21Text);
            return TRUE;
        case kCmdReadMemory: {
            CPayloadReader request(pair.request.Payload());
            const int cpu = request.U16();
            const DWORD address = request.U32();
            if (!request.Ok() || reply.length != kMemoryWindowBytes) return TRUE;
            StoreMemoryImage(cpu, address, reply.Payload());
            SendHint(doc, kCmdReadMemory);
            return TRUE;
        }
        case kCmdClp:
            m_clpResponse = AnsiText(reply);
            AppendClpHistory(m_clpResponse, app.m_clrCLPResponseText);
            SendHint(doc, kCmdClp);
            return TRUE;
        case kCmdComPortRange: {
            if (reply.length != 2) return TRUE;
            CCVConfig& config = app.GetConfig();
            config.SetComPortRange(p[0], p[0] + p[1] - 1);
            config.SaveToRegistry();
            return TRUE;
        }
        case kCmdAlphaCounters: OnAlphaCountersReply(pair); return TRUE;
        case kCmdTakeLogDirection:
            if (reply.length != 6) return TRUE;
            m_nLogDirectionTaken = p[0];
            if (p[0] == 0) Post(WM_LINK_LOG_ELSEWHERE, p[1], static_cast<LPARAM>(GetU32BE(p + 2)));
            return TRUE;
        case kCmdReleaseLogDirection: m_nLogDirectionTaken = 0; return TRUE;
        case kCmdSetSNMPConfig: return TRUE;
        case kCmdLoggingOnOff:
            // Logging is on at the controller: what it holds starts coming.
            if (pair.request.length >= 1 && pair.request.payload[0] != 0) AskForLogRecords();
            SendHint(doc, kCmdLoggingOnOff);
            return TRUE;
        case kCmdSetClock:
        case kCmdClearErrors:
        case kCmdClearAllocations:
        case kCmdClearAllocationsEx:
        case kCmdTrunkMode: SendHint(doc, reply.command); return TRUE;
        case kCmdWriteMemory: SendHint(doc, kMemoryWrittenHint); return TRUE;
        default: return FALSE;
    }
}

// Counters that moved mark their alphas, or the names, to be asked for again.
void CCVDataMgr::OnAlphaCountersReply(const CDualMessage& pair) {
    CPayloadReader request(pair.request.Payload());
    const BYTE format = request.U8();
    const int first = request.U16();
    const int count = request.U16();
    const CMessage& reply = pair.reply;
    if (!request.Ok() || reply.length < 1) return;
    const int kinds = reply.payload[0];
    if (reply.length != 1 + static_cast<DWORD>(kinds * count)) return;
    const int icoms = GetApp().GetConfig().m_wNumIntercoms;
    // Formats 0 and 1 are both the 4-character names.
    const int lengthIndex = std::clamp(static_cast<int>(format) - 1, 0, 3);
    const BYTE* counters = reply.payload.data() + 1;
    for (int i = 0; i < count && first + i < icoms; ++i) {
        const int icom = first + i;
        for (int kind = 0; kind < std::min(kinds, kCounterKinds); ++kind) {
            if (!SetAlphaCounter(kind, icom, counters[i * kinds + kind])) continue;
            if (kind == static_cast<int>(CWireLabelRange::kNameKind)) {
                if (icom == 0) NameMgr(lengthIndex).AddAll();
            } else if (const int type = AlphaTypeToIndex(kind); type >= 0) {
                AlphaMgr(type).Add(static_cast<UINT>(icom));
            }
        }
    }
    WakeEngine();
}

void CCVDataMgr::PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    Post(message, wParam, lParam);
}

BOOL CCVDataMgr::AppendControllerLog(const CString& line) {
    return m_logWriter ? m_logWriter(line) : FALSE;
}

CSNMPConfig& CCVDataMgr::GetSNMPConfig() {
    return GetApp().GetSnmpConfig();
}
