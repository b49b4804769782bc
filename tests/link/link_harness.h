#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "link/cv_data_mgr.h"
#include "link/device_comm.h"
#include "link/message_pump.h"
#include "tests/support/recording_sink.h"

// A send of count set requests (code 9), each carrying its index, high byte first.
class CSetRequestSource : public CSendAll {
public:
    static constexpr DWORD kCommand = 9;
    explicit CSetRequestSource(int count) : m_count(count) {}
    void Reset() override { m_next = 0; }
    BOOL BuildNext(CMessage& message) override {
        if (m_next == m_count) return FALSE;
        message = CMessage{};
        message.command = kCommand;
        const BYTE index[] = {BYTE(m_next >> 8), BYTE(m_next)};
        message.SetPayload(index);
        ++m_next;
        return TRUE;
    }

private:
    int m_count;
    int m_next = 0;
};

// A device link as the data manager makes one, cut down to what the link's own tests need:
// replies are checked and the link's replies handled, status replies bring the link up, and a
// scripted list of requests stands in for the request managers.
class CTestDevice : public CDEVICEComm {
public:
    ~CTestDevice() override { Disconnect(); }

    void OnResponse(CKelvardinDoc* doc) override;

    // Requests handed out one per cycle while the link is up, as a manager's would be.
    void AddManagerRequest(const CMessage& request);
    // With a maker set, the managers always have one more request.
    void SetEndlessRequests(std::function<CMessage()> make);
    struct Reply {
        DWORD command;
        DWORD length;
    };
    // The replies dispatched so far, and the command of the last (0 when none).
    std::vector<Reply> Dispatched() const;
    DWORD LastDispatched() const;

protected:
    BOOL GetManagerRequest(CMessage& request) override;

private:
    mutable std::mutex m_lock;
    std::deque<CMessage> m_managerRequests;
    std::function<CMessage()> m_makeRequest;
    std::vector<Reply> m_dispatched;
};

// Stands in for the main window: the link's messages are recorded and handled on the thread
// that pumps them, the way the main window answers them.
class CLinkTestWindow : public IMessageSink, public IMessagePump {
public:
    using Message = CRecordingSink::Message;

    explicit CLinkTestWindow(CDEVICEComm& device) : m_device(device) {}

    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageCancellable(UINT message, WPARAM wParam, LPARAM lParam, CEvent& cancel,
                                   LRESULT cancelled) override;

    // Handles messages until the condition holds: false when the time ran out first.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds within);
    BOOL PumpWaitingMessages(const std::function<bool()>& done, DWORD timeoutMs) override {
        return PumpUntil(done, std::chrono::milliseconds(timeoutMs));
    }
    // Handles messages for a while.
    void PumpFor(std::chrono::milliseconds time);
    // Waits, without handling anything, until a message that satisfies the condition has
    // come; false when the time ran out first.
    bool WaitForMessage(const std::function<bool(const Message&)>& condition,
                        std::chrono::milliseconds within);

    // Answers to the NAK question, in order; 0 once they have run out. An answer of -1
    // stands for the user's abort: the window aborts the send and answers 0.
    void ScriptNakAnswers(std::vector<LRESULT> answers);
    // The document the replies go into; none by default.
    void SetDocument(CKelvardinDoc* doc) { m_doc = doc; }
    // Called with each message after the window has handled it.
    void SetObserver(std::function<void(const Message&)> observer);

    std::vector<Message> Messages() const;
    int Count(UINT message) const;
    int Count(UINT message, WPARAM wParam) const;
    // The WM_LINK_ERROR codes, and the reasons of WM_LINK_SEND_FAILED, in order.
    std::vector<int> Values(UINT message) const;

private:
    // What a sender waits for.
    struct Answer {
        CEvent answered;
        LRESULT answer = 0;
        bool abandoned = false;
    };
    struct Item {
        Message message;
        std::shared_ptr<Answer> answer;  // sent messages only
    };
    void Enqueue(Item item);
    void SleepUntil(std::unique_lock<std::mutex>& lock,
                    std::chrono::steady_clock::time_point until);
    LRESULT Handle(const Message& message);

    CDEVICEComm& m_device;
    CKelvardinDoc* m_doc = nullptr;
    mutable std::mutex m_lock;
    std::condition_variable m_arrived;
    int m_sleepers = 0;
    int m_watchers = 0;  // WaitForMessage calls
    bool m_wakePending = false;
    std::deque<Item> m_queue;
    std::vector<Message> m_log;
    std::map<UINT, int> m_counts;
    std::deque<LRESULT> m_nakAnswers;
    std::function<void(const Message&)> m_observer;
};

// Answers the link's dialogs: control denied is asked for again, messages go unseen.
class CTestDialogs : public ILinkDialogs {
public:
    int ExclusiveControlDenied() override { return 1; }
    void ShowMessage(const CString&) override {}
};
