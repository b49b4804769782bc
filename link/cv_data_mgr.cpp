#include "link/cv_data_mgr.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>

#include "link/command_codes.h"
#include "link/link_messages.h"
#include "link/payload_io.h"
#include "link/reply_layouts.h"
#include "link/wire_labels.h"
#include "model/app_state.h"

CCVDataMgr::CCVDataMgr()
    : m_oneShot{&m_misc, &m_clearAllocations, &m_clearErrors, &m_trunkSummary, &m_trunkInspect},
      m_rotating{&m_trunkStatus, &m_trunkDefs,    &m_bauds,        &m_ports,
                 &m_remTrunking, &m_icomStatus,   &m_icomErrors,   &m_groups,
                 &m_names[0],    &m_names[1],     &m_names[2],     &m_names[3],
                 &m_conns,       &m_addresses[0], &m_addresses[1], &m_costs} {
    for (int i = 0; i < CAlphaMgr::kTypes; ++i) {
        m_alphas[static_cast<size_t>(i)].SetTypeIndex(i);
        m_alphaList.push_back(&m_alphas[static_cast<size_t>(i)]);
    }
}

CCVDataMgr::~CCVDataMgr() {
    Disconnect();
}

void CCVDataMgr::GoOnline() {
    std::lock_guard guard(DeviceLock());
    m_config = CLinkConfig::From(GetApp());
    m_sizedFor = GetApp().GetConfig();
    ForgetAwaitedStatus();
    const auto trunks = static_cast<UINT>(m_config.trunks);
    const auto icoms = static_cast<UINT>(m_config.intercoms);
    // Sizing empties the managers: the user's commands still in them are named.
    DropPending({&m_clearAllocations, &m_clearErrors, &m_maintMode, &m_normalMode});
    ResetAlphaCounters();
    m_trunkSummary.SetSize(icoms + 1);
    for (CRequestMgr* m :
         MgrList{(&m_trunkStatus), &m_trunkInspect, &m_maintMode, &m_normalMode, &m_trunkDefs})
        m->SetSize(trunks);
    for (CRequestMgr* m :
         MgrList{(&m_icomStatus), &m_icomErrors, &m_clearAllocations, &m_clearErrors, &m_bauds,
                 &m_ports, &m_conns, &m_addresses[0], &m_addresses[1], &m_costs, &m_remTrunking})
        m->SetSize(icoms);
    for (CAlphaMgr& m : m_alphas) {
        m.Follow(m_config);
        m.SetSize(icoms);
    }
    static constexpr int kNameLengths[] = {4, 6, 8, 16};
    for (size_t i = 0; i < m_names.size(); ++i) {
        m_names[i].SetNameLength(kNameLengths[i]);
        m_names[i].SetSize(icoms);
    }
    m_groups.SetSize(static_cast<UINT>(m_config.groups));
    // Memory bytes still pending are the ones the user was told could not be written: they
    // stay for the user to write or drop. Sizing has dropped what the upload still asked for.
    EndUpload(LINK_UPLOAD_LOST);
    m_lost.Clear();
    m_bOnline = TRUE;
}

void CCVDataMgr::OnSettingsChanged() {
    std::lock_guard guard(DeviceLock());
    m_config = CLinkConfig::From(GetApp());
    m_sizedFor = GetApp().GetConfig();
    for (CAlphaMgr& m : m_alphas)
        m.Follow(m_config);
}

void CCVDataMgr::GoOffline() {
    {
        std::lock_guard guard(DeviceLock());
        m_bOnline = FALSE;
        EndUpload(LINK_UPLOAD_LOST);
        ForgetAwaitedStatus();
    }
    // Outside the device lock: the engine's lock comes first.
    ResumePolling();
}

void CCVDataMgr::EndUpload(int outcome) {
    if (!m_bUploading.exchange(FALSE)) return;
    m_nUploadOutcome = outcome;
    Post(WM_LINK_UPLOAD_PROGRESS, static_cast<WPARAM>(outcome), 0);
}

void CCVDataMgr::StartUpload() {
    if (!m_bOnline) return;
    const CAppState& app = GetApp();
    {
        std::lock_guard guard(DeviceLock());
        for (CRequestMgr* m : MgrList{(&m_trunkDefs), &m_conns, &m_costs, &m_addresses[0],
                                      &m_addresses[1], &m_bauds, &m_ports})
            m->AddAll();
        m_misc.Add(CMiscRequestMgr::kAllocTimeout);
        if (app.GetConfig().HasFlag(CCVConfig::kTksupvSupport)) {
            m_misc.Add(CMiscRequestMgr::kAutoClear);
            m_misc.Add(CMiscRequestMgr::kDynamicAlloc);
            m_misc.Add(CMiscRequestMgr::kWaitForTalkKey);
        }
        m_groups.AddAll();
        m_lost.Clear();
        m_bUploadConfirmed = FALSE;
        m_bUploading = TRUE;
        m_nUploadOutcome = 0;
        if (!app.m_bIncludeAlphasInSetupFiles) m_nUploadTotal = GetPendingTotal();
    }
    if (app.m_bIncludeAlphasInSetupFiles)
        RefreshAlphas();
    else
        WakeEngine();
}

void CCVDataMgr::RefreshAlphas() {
    if (!m_bOnline) return;
    {
        std::lock_guard guard(DeviceLock());
        for (CIcomNameMgr& m : m_names)
            m.AddAll();
        // The types the controller lacks take no marks.
        for (CAlphaMgr& m : m_alphas)
            m.AddAll();
        m_nUploadTotal = GetPendingTotal();
    }
    WakeEngine();
}

void CCVDataMgr::ClearPendingRequests() {
    if (!m_bOnline) return;
    std::lock_guard guard(DeviceLock());
    std::vector<CRequestMgr*> all = m_oneShot;
    all.insert(all.end(), m_rotating.begin(), m_rotating.end());
    DropPending(all, MiscDrop::kAll);
    EndUpload(LINK_UPLOAD_ABORTED);
}

int CCVDataMgr::GetPendingTotal() const {
    std::lock_guard guard(DeviceLock());
    if (!m_bOnline) return -1;
    int total = 0;
    for (const auto* list : {&m_oneShot, &m_rotating, &m_alphaList}) {
        for (const CRequestMgr* m : *list)
            total += static_cast<int>(m->GetCount());
    }
    return total;
}

BOOL CCVDataMgr::BuildFrom(const std::vector<CRequestMgr*>& list, size_t from, size_t to,
                           CMessage& request, size_t& winner) {
    for (size_t i = from; i < to; ++i) {
        if (list[i]->BuildRequest(request, m_config)) {
            winner = i;
            return TRUE;
        }
    }
    return FALSE;
}

// Engine thread, device lock held by the caller (and taken again here for the lock order's
// sake when called otherwise).
BOOL CCVDataMgr::GetManagerRequest(CMessage& request) {
    std::lock_guard guard(DeviceLock());
    // The window handles the replies in the order they came. A request built while it is far
    // behind would wait behind all of them, and so would the one the user asks for next.
    // Marked held before the count is read, so that the window, catching up meanwhile, wakes
    // the engine.
    m_bHeldForReplies = true;
    if (RepliesWaiting() >= kRepliesAhead) return FALSE;
    m_bHeldForReplies = false;
    if (m_bStatusOwed || m_changedStatus) return FALSE;
    size_t winner = 0;
    CRequestMgr* builder = nullptr;
    if (!m_bOnline) {
        if (!m_misc.BuildRequest(request, m_config)) return FALSE;
        m_nToggle = 0;
        builder = &m_misc;
    } else if (BuildFrom(m_oneShot, 0, m_oneShot.size(), request, winner)) {
        m_nToggle = 0;
        builder = m_oneShot[winner];
    }
    for (int pass = 0; !builder && pass < 2; ++pass) {
        if (m_nToggle == 1) {
            const auto cursor = static_cast<size_t>(m_nRotation) % m_rotating.size();
            if (BuildFrom(m_rotating, cursor, m_rotating.size(), request, winner) ||
                BuildFrom(m_rotating, 0, cursor, request, winner)) {
                m_nRotation = static_cast<int>((winner + 1) % m_rotating.size());
                m_nToggle = 0;
                builder = m_rotating[winner];
            }
        } else if (BuildFrom(m_alphaList, 0, m_alphaList.size(), request, winner)) {
            m_nToggle = 1;
            builder = m_alphaList[winner];
        }
        if (!builder) m_nToggle ^= 1;
    }
    if (!builder) {
        // Replies of another controller may fit the requests of the one uploaded: the upload
        // is whole only once a status answered after its last record shows the same one.
        if (m_bUploading && !m_bUploadConfirmed) {
            AwaitStatus();
            return FALSE;
        }
        EndUpload(0);
        return FALSE;
    }
    m_bUploadConfirmed = FALSE;
    m_inFlight = builder;
    // Gone out: the user's command is done, or told of as one that may not have been.
    m_namedInFlight = NamedCommand(*builder, request);
    if (m_bUploading) {
        const int total = m_nUploadTotal;
        const int done = std::max(total - GetPendingTotal(), 0);
        Post(WM_LINK_UPLOAD_PROGRESS, static_cast<WPARAM>(done), total);
    }
    return TRUE;
}

int CCVDataMgr::GetNextRequest(CMessage& request) {
    std::lock_guard guard(DeviceLock());
    m_inFlight = nullptr;
    m_namedInFlight.reset();
    return CDEVICEComm::GetNextRequest(request);
}

// Device lock before the manager's; the engine is left alone; the link coming up wakes it.
void CCVDataMgr::OnRequestDropped(const CMessage& request) {
    std::lock_guard guard(DeviceLock());
    AskAgainOrGiveUp(request);
}

// Engine thread, before the next request is chosen, so that an upload does not end with the
// request left out. The reply's handler drops it; what it did not bring is asked for again as
// if the link had lost it, within the same bound.
void CCVDataMgr::OnMalformedReply(const CMessage& request) {
    AddToEngineCounter(CLinkEngine::kMisc, 1);
    std::lock_guard guard(DeviceLock());
    // A controller that changed under the session answers so too: its status comes before
    // anything is asked again, or every record it lacks would be asked for again and again.
    AwaitStatus();
    AskAgainOrGiveUp(request);
}

void CCVDataMgr::AwaitStatus() {
    m_bStatusOwed = TRUE;
    PollNow();
}

void CCVDataMgr::TakeAwaitedStatus(const CCVStatusRec& status) {
    std::lock_guard guard(DeviceLock());
    if (!std::exchange(m_bStatusOwed, FALSE) || !m_bOnline) return;
    // On the heap: the engine's stack is small.
    auto fresh = std::make_unique<CCVConfig>(m_sizedFor);
    fresh->SetFromControllerReply(status);
    if (*fresh == m_sizedFor) {
        m_bUploadConfirmed = m_bUploading.load();
        return;
    }
    m_changedStatus = status;
    EndUpload(LINK_UPLOAD_CHANGED);
}

void CCVDataMgr::ForgetAwaitedStatus() {
    m_bStatusOwed = FALSE;
    m_bUploadConfirmed = FALSE;
    m_changedStatus.reset();
}

void CCVDataMgr::StatusTakenIn(const CCVStatusRec& status) {
    {
        std::lock_guard guard(DeviceLock());
        if (m_changedStatus != status) return;
        m_changedStatus.reset();
    }
    WakeEngine();
}

void CCVDataMgr::Disconnect() {
    CDEVICEComm::Disconnect();
    std::lock_guard guard(DeviceLock());
    ForgetAwaitedStatus();
    MemoryWritesCutOff();
}

// What the user asked the controller to do in one session is not done in the next, which may
// be another controller's or come after the user has moved on; the user is told what was not
// done. Memory writes go back to the user as unwritten.
void CCVDataMgr::OnSessionEnded() {
    DropWhatActs();
}

void CCVDataMgr::DropWhatActs() {
    DropPending({&m_clearAllocations, &m_clearErrors, &m_maintMode, &m_normalMode, &m_misc},
                MiscDrop::kActing);
}

void CCVDataMgr::DropPending(const std::vector<CRequestMgr*>& managers, MiscDrop misc) {
    const bool oneShots = std::ranges::find(managers, &m_misc) != managers.end();
    // Memory writes go back to the user as unwritten, with a message of their own.
    if (oneShots) MemoryWritesDropped();
    NoteUndone(PendingCommands(managers));
    for (CRequestMgr* m : managers) {
        if (m == &m_misc && misc == MiscDrop::kActing)
            m_misc.RemoveActing();
        else
            m->RemoveAll();
    }
    // Only items that act are named, and those go either way: a later mark of one, the
    // controller's own clock set say, is not the user's.
    if (oneShots) m_namedMisc.fill(std::nullopt);
}

void CCVDataMgr::Unname(const CUndoneCommand& command) {
    // Under the device lock, as the engine names what it gives up: named before, or never.
    std::lock_guard guard(DeviceLock());
    for (std::optional<CUndoneCommand>& named : m_namedMisc) {
        if (named == command) named.reset();
    }
    if (m_namedInFlight == command) m_namedInFlight.reset();
    std::lock_guard undone(m_undoneLock);
    std::erase(m_undone, command);
}

namespace {

// Every item pending, or kAll for one that is pending in whole.
template <class Add>
void EachPending(const CRequestMgr& manager, Add add) {
    if (!manager.HasPending()) return;
    if (manager.GetCount() == manager.GetSize()) {
        add(CUndoneCommand::kAll);
        return;
    }
    for (UINT i = manager.GetFirst(); i <= manager.GetLast() && i < manager.GetSize(); ++i)
        if (manager.IsPending(i)) add(static_cast<int>(i));
}

}  // namespace

std::optional<CUndoneCommand> CCVDataMgr::NamedCommand(const CRequestMgr& builder,
                                                       const CMessage& request) {
    using U = CUndoneCommand;
    if (&builder == &m_clearErrors) return U{U::kClearIcomErrors};
    if (&builder == &m_clearAllocations) {
        // The intercom as the request carries it: 31, or 0 in the extended form, for all.
        CPayloadReader in(request.Payload());
        const bool ex = request.command == kCmdClearAllocationsEx;
        const int value = ex ? in.U16() : in.U8();
        const int icom = ex ? value - 1 : (value == 31 ? -1 : value);
        return U{U::kClearAllocations, icom < 0 ? U::kAll : icom};
    }
    if (&builder != &m_misc) return std::nullopt;
    const int item = CMiscRequestMgr::ItemOfRequest(request);
    if (item < 0) return std::nullopt;
    return std::exchange(m_namedMisc.at(static_cast<size_t>(item)), std::nullopt);
}

std::vector<CUndoneCommand> CCVDataMgr::PendingCommands(
    const std::vector<CRequestMgr*>& among) const {
    const auto in = [&among](const CRequestMgr& m) {
        return std::ranges::find(among, &m) != among.end();
    };
    std::vector<CUndoneCommand> pending;
    const auto of = [&pending](CUndoneCommand::Kind kind) {
        return [&pending, kind](int target) { pending.push_back({kind, target}); };
    };
    if (in(m_clearAllocations))
        EachPending(m_clearAllocations, of(CUndoneCommand::kClearAllocations));
    if (in(m_clearErrors) && m_clearErrors.HasPending())
        pending.push_back({CUndoneCommand::kClearIcomErrors});
    if (in(m_maintMode)) EachPending(m_maintMode, of(CUndoneCommand::kMaintMode));
    if (in(m_normalMode)) EachPending(m_normalMode, of(CUndoneCommand::kNormalMode));
    if (!in(m_misc)) return pending;
    for (UINT item = 0; item < CMiscRequestMgr::kItems; ++item) {
        const std::optional<CUndoneCommand>& named = m_namedMisc.at(item);
        if (named && m_misc.IsPending(item)) pending.push_back(*named);
    }
    return pending;
}

void CCVDataMgr::NoteUndone(const CUndoneCommand& command) {
    NoteUndone(std::vector<CUndoneCommand>{command});
}

void CCVDataMgr::NoteUndone(std::vector<CUndoneCommand> commands) {
    if (commands.empty()) return;
    // Logging the user turned on or off that may not have been turned is shown as the
    // controller last said it was, so that giving it again turns it the way the user meant.
    for (const CUndoneCommand& command : commands) {
        if (command.kind == CUndoneCommand::kLoggingOn ||
            command.kind == CUndoneCommand::kLoggingOff)
            GetApp().m_nLogging = m_nControllerLogging.load();
    }
    bool first = false;
    {
        std::lock_guard guard(m_undoneLock);
        first = m_undone.empty();
        // One command given up both in flight and still queued is named once.
        for (CUndoneCommand& command : commands) {
            if (std::find(m_undone.begin(), m_undone.end(), command) == m_undone.end())
                m_undone.push_back(std::move(command));
        }
    }
    if (first) Post(WM_LINK_NOT_DONE);
}

std::vector<CUndoneCommand> CCVDataMgr::TakeUndone() {
    std::lock_guard guard(m_undoneLock);
    return std::exchange(m_undone, {});
}

void CCVDataMgr::AskAgainOrGiveUp(const CMessage& request) {
    if (request.command == kCmdWriteMemory) MemoryWriteUnanswered(request);
    CRequestMgr* builder = std::exchange(m_inFlight, nullptr);
    if (!builder) return;
    // A command may have run with its reply lost: it fails rather than run twice.
    if (!ActsOnController(request.command) && m_lost.Lost(request)) {
        builder->Requeue(request);
        return;
    }
    builder->GiveUp(request);
    if (m_namedInFlight) NoteUndone(*std::exchange(m_namedInFlight, std::nullopt));
    if (!m_bUploading) return;
    // The upload cannot finish: it ends as failed, and what it still asked for is dropped.
    EndUpload(LINK_UPLOAD_LOST);
    ClearPendingRequests();
}

// Here rather than where the window handles the status: the next request of the send would go
// out before the window has caught up with the replies.
void CCVDataMgr::StopSendForChangedController(const CCVStatusRec& status) {
    {
        std::lock_guard guard(DeviceLock());
        const CCVConfig* built = SendConfig();
        if (!built) return;
        // On the heap: the engine's stack is small.
        auto fresh = std::make_unique<CCVConfig>(*built);
        fresh->SetFromControllerReply(status);
        if (*fresh == *built) return;
    }
    FailRunningSend(kSendControllerChanged);
}

void CCVDataMgr::QueueStandbyQuery() {
    m_misc.Add(CMiscRequestMgr::kSessionSetup);
}

BOOL CCVDataMgr::TakeStandbyQuery() {
    if (!m_misc.IsPending(CMiscRequestMgr::kSessionSetup)) return FALSE;
    m_misc.Remove(CMiscRequestMgr::kSessionSetup);
    return TRUE;
}

void CCVDataMgr::PutResponse(const CDualMessage& pair) {
    const CMessage& reply = pair.reply;
    const bool good = Answers(pair) && !reply.nak && !reply.ctrl;
    if (good) {
        bool fits = false;
        {
            std::lock_guard guard(DeviceLock());
            fits = ReplyFitsRequest(pair, m_config);
            if (fits) m_lost.Answered(pair.request);
            if (fits && pair.request.command == kCmdWriteMemory) MemoryWriteAnswered(pair.request);
        }
        if (!fits) OnMalformedReply(pair.request);
        // The end of an alpha list ends its manager's paging before the next request is chosen.
        CLabelRequest label;
        if (fits && label.Read(pair.request) && label.range.kind != CWireLabelRange::kNameKind &&
            CAlphaMgr::IsLastPage(pair)) {
            if (const int type = AlphaTypeToIndex(static_cast<int>(label.range.kind)); type >= 0)
                m_alphas[static_cast<size_t>(type)].EndPaging(static_cast<int>(label.icom));
        }
        if (IsStatusReply(pair)) {
            const BYTE* record = reply.payload.data() + (reply.command == kCmdStatus ? 0 : 1);
            const CCVStatusRec status(record);
            CheckStatusLogging(status);
            if (IsPresencePoll(pair.request)) {
                StopSendForChangedController(status);
                TakeAwaitedStatus(status);
            }
        }
        // More request log records wait at the controller.
        if (reply.command == kCmdLogRecord && reply.length >= 1 && reply.payload[0] != 0 &&
            GetApp().m_nRequestLogging != 0) {
            m_misc.Add(CMiscRequestMgr::kLogRecordMore);
            WakeEngine();
        }
    } else if (pair.request.command == kCmdWriteMemory && !IsSessionLost(pair) &&
               !IsRefusedForSession(pair)) {
        // A loss of the session has given the write back already, as one that may have run.
        std::lock_guard guard(DeviceLock());
        MemoryWriteRefused(pair.request);
    }
    CDEVICEComm::PutResponse(pair);
}
