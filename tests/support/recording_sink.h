#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "platform/base/message_sink.h"

// Records every message in order; Send answers through a scriptable handler (0 by default).
class CRecordingSink : public IMessageSink {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool sent;
        bool operator==(const Message&) const = default;
    };

    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        std::lock_guard guard(m_lock);
        m_messages.push_back({message, wParam, lParam, false});
    }
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        std::function<LRESULT(UINT, WPARAM, LPARAM)> answer;
        {
            std::lock_guard guard(m_lock);
            m_messages.push_back({message, wParam, lParam, true});
            answer = m_answer;
        }
        return answer ? answer(message, wParam, lParam) : 0;
    }
    // Answers at once, so it only ever sees a cancel that came before the call.
    LRESULT SendMessageCancellable(UINT message, WPARAM wParam, LPARAM lParam, CEvent& cancel,
                                   LRESULT cancelled) override {
        if (!cancel.IsSet()) return SendMessage(message, wParam, lParam);
        std::lock_guard guard(m_lock);
        m_messages.push_back({message, wParam, lParam, true});
        return cancelled;
    }

    void SetAnswer(std::function<LRESULT(UINT, WPARAM, LPARAM)> answer) {
        std::lock_guard guard(m_lock);
        m_answer = std::move(answer);
    }
    std::vector<Message> Messages() const {
        std::lock_guard guard(m_lock);
        return m_messages;
    }
    void Clear() {
        std::lock_guard guard(m_lock);
        m_messages.clear();
    }

private:
    mutable std::mutex m_lock;
    std::vector<Message> m_messages;
    std::function<LRESULT(UINT, WPARAM, LPARAM)> m_answer;
};
