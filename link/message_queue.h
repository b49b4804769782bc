#pragma once

#include <cstddef>
#include <vector>

#include "link/message.h"

// A first-in, first-out queue of messages that keeps its storage and its elements. Messages
// are kilobytes each, mostly unused: a busy link would otherwise allocate, fill and free one
// for every exchange.
template <class T>
class CMessageQueue {
public:
    bool empty() const { return m_head == m_tail; }
    std::size_t size() const { return m_tail - m_head; }
    T& front() { return m_items[m_head]; }
    void push_back(const T& item) {
        if (m_tail < m_items.size())
            CopyMessage(m_items[m_tail], item);
        else
            m_items.push_back(item);
        ++m_tail;
    }
    // Copies the oldest message out and drops it.
    void TakeFront(T& item) {
        CopyMessage(item, m_items[m_head]);
        pop_front();
    }
    void pop_front() {
        if (++m_head == m_tail) {
            clear();
        } else if (m_head >= kCompactAt && 2 * m_head >= m_tail) {
            // Taken slower than filled: move the waiting ones to the front now and then.
            for (std::size_t i = m_head; i < m_tail; ++i)
                CopyMessage(m_items[i - m_head], m_items[i]);
            m_tail -= m_head;
            m_head = 0;
        }
    }
    void clear() { m_head = m_tail = 0; }

private:
    static constexpr std::size_t kCompactAt = 256;
    std::vector<T> m_items;
    std::size_t m_head = 0;
    std::size_t m_tail = 0;
};
