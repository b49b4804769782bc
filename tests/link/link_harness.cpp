#include "tests/link/link_harness.h"

#include <algorithm>
#include <utility>

#include "link/command_codes.h"
#include "link/link_messages.h"

void CTestDevice::OnResponse(CKelvardinDoc*) {
    CDualMessage pair;
    const ReplyCheck check = TakeReply(pair);
    if (check == ReplyCheck::kDispatch) {
        {
            std::lock_guard guard(m_lock);
            m_dispatched.push_back({pair.reply.command, pair.reply.length});
        }
        if (IsStatusReply(pair)) {
            OnControllerStatus();
            WakeEngine();
        } else {
            HandleLinkReply(pair);
        }
    }
    FinishReply(check);
}

void CTestDevice::AddManagerRequest(const CMessage& request) {
    std::lock_guard guard(m_lock);
    m_managerRequests.push_back(request);
}

void CTestDevice::SetEndlessRequests(std::function<CMessage()> make) {
    std::lock_guard guard(m_lock);
    m_makeRequest = std::move(make);
}

std::vector<CTestDevice::Reply> CTestDevice::Dispatched() const {
    std::lock_guard guard(m_lock);
    return m_dispatched;
}

DWORD CTestDevice::LastDispatched() const {
    std::lock_guard guard(m_lock);
    return m_dispatched.empty() ? 0 : m_dispatched.back().command;
}

BOOL CTestDevice::GetManagerRequest(CMessage& request) {
    if (GetLinkState() != kLinkUp) return FALSE;
    std::lock_guard guard(m_lock);
    if (!m_managerRequests.empty()) {
        request = m_managerRequests.front();
        m_managerRequests.pop_front();
        return TRUE;
    }
    if (!m_makeRequest) return FALSE;
    request = m_makeRequest();
    return TRUE;
}

void CLinkTestWindow::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    Enqueue({{message, wParam, lParam, false}, nullptr});
}

LRESULT CLinkTestWindow::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    CEvent never;
    return SendMessageCancellable(message, wParam, lParam, never, 0);
}

LRESULT CLinkTestWindow::SendMessageCancellable(UINT message, WPARAM wParam, LPARAM lParam,
                                                CEvent& cancel, LRESULT cancelled) {
    auto answer = std::make_shared<Answer>();
    Enqueue({{message, wParam, lParam, true}, answer});
    const bool answered = CEvent::WaitForAny({&answer->answered, &cancel}, INFINITE) == 0;
    std::lock_guard guard(m_lock);
    if (answered) return answer->answer;
    answer->abandoned = true;
    return cancelled;
}

void CLinkTestWindow::Enqueue(Item item) {
    bool wake = false;
    {
        std::lock_guard guard(m_lock);
        m_log.push_back(item.message);
        ++m_counts[item.message.message];
        m_queue.push_back(std::move(item));
        // Like a window's message loop, the pump is woken once however many messages come
        // before it runs.
        wake = (m_sleepers > 0 || m_watchers > 0) && !std::exchange(m_wakePending, true);
    }
    if (wake) m_arrived.notify_all();
}

void CLinkTestWindow::SleepUntil(std::unique_lock<std::mutex>& lock,
                                 std::chrono::steady_clock::time_point until) {
    ++m_sleepers;
    m_arrived.wait_until(lock, until);
    --m_sleepers;
    m_wakePending = false;
}

bool CLinkTestWindow::PumpUntil(const std::function<bool()>& done,
                                std::chrono::milliseconds within) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + within;
    for (;;) {
        if (done()) return true;
        // Everything that waits is taken at once, the way a message loop drains its queue.
        std::deque<Item> batch;
        std::function<void(const Message&)> observer;
        {
            std::unique_lock lock(m_lock);
            // The condition may change without a message: look again now and then.
            const auto slice = std::min(deadline, Clock::now() + std::chrono::milliseconds(10));
            if (m_queue.empty() && Clock::now() < slice) SleepUntil(lock, slice);
            for (Item& item : m_queue)
                if (!item.answer || !item.answer->abandoned) batch.push_back(std::move(item));
            m_queue.clear();
            observer = m_observer;
        }
        if (batch.empty() && Clock::now() >= deadline) return done();
        while (!batch.empty()) {
            const Item item = std::move(batch.front());
            batch.pop_front();
            const LRESULT answer = Handle(item.message);
            if (item.answer) {
                {
                    std::lock_guard guard(m_lock);
                    item.answer->answer = answer;
                }
                item.answer->answered.SetEvent();
            }
            if (observer) observer(item.message);
            if (!batch.empty() && done()) {
                // The rest waits for the next pump, ahead of anything newer.
                std::lock_guard guard(m_lock);
                m_queue.insert(m_queue.begin(), batch.begin(), batch.end());
                return true;
            }
        }
    }
}

void CLinkTestWindow::PumpFor(std::chrono::milliseconds time) {
    PumpUntil([] { return false; }, time);
}

bool CLinkTestWindow::WaitForMessage(const std::function<bool(const Message&)>& condition,
                                     std::chrono::milliseconds within) {
    std::unique_lock lock(m_lock);
    ++m_watchers;
    const bool seen = m_arrived.wait_for(lock, within, [&] {
        m_wakePending = false;
        return std::any_of(m_log.begin(), m_log.end(), condition);
    });
    --m_watchers;
    return seen;
}

LRESULT CLinkTestWindow::Handle(const Message& m) {
    switch (m.message) {
        case WM_LINK_PULL: m_device.PullFromSource(-1); break;
        case WM_LINK_QUEUE_FILLED: m_device.BeginSendQueue(); break;
        case WM_LINK_SEND_FAILED: m_device.Abort(); break;
        case WM_LINK_QUEUE_SENT: m_device.EndSendQueue(); break;
        case WM_LINK_REPLIES: m_device.OnResponse(m_doc); break;
        case WM_LINK_ERROR:
            if (!m.sent) {
                // The main window asks for the standby address again at each network set-up.
                if (m_device.IsNetwork()) m_device.QueueStandbyQuery();
                break;
            }
            if (static_cast<int>(m.wParam) == LINK_ERROR_NAK) {
                LRESULT answer = 0;
                {
                    std::lock_guard guard(m_lock);
                    if (!m_nakAnswers.empty()) {
                        answer = m_nakAnswers.front();
                        m_nakAnswers.pop_front();
                    }
                }
                if (answer >= 0) return answer;
                m_device.Abort();
            }
            break;
        default: break;
    }
    return 0;
}

void CLinkTestWindow::ScriptNakAnswers(std::vector<LRESULT> answers) {
    std::lock_guard guard(m_lock);
    m_nakAnswers.assign(answers.begin(), answers.end());
}

void CLinkTestWindow::SetObserver(std::function<void(const Message&)> observer) {
    std::lock_guard guard(m_lock);
    m_observer = std::move(observer);
}

std::vector<CLinkTestWindow::Message> CLinkTestWindow::Messages() const {
    std::lock_guard guard(m_lock);
    return m_log;
}

int CLinkTestWindow::Count(UINT message) const {
    std::lock_guard guard(m_lock);
    auto it = m_counts.find(message);
    return it == m_counts.end() ? 0 : it->second;
}

int CLinkTestWindow::Count(UINT message, WPARAM wParam) const {
    std::lock_guard guard(m_lock);
    return static_cast<int>(std::count_if(m_log.begin(), m_log.end(), [&](const Message& m) {
        return m.message == message && m.wParam == wParam;
    }));
}

std::vector<int> CLinkTestWindow::Values(UINT message) const {
    std::lock_guard guard(m_lock);
    std::vector<int> values;
    for (const Message& m : m_log)
        if (m.message == message) values.push_back(static_cast<int>(m.wParam));
    return values;
}
