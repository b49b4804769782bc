#pragma once

#include <cstddef>
#include <vector>

// A first-in, first-out queue that keeps its storage. Messages are kilobytes each, and a busy
// link would otherwise allocate and free one for every exchange.
template <class T>
class CMessageQueue {
public:
    bool empty() const { return m_head == m_items.size(); }
    std::size_t size() const { return m_items.size() - m_head; }
    T& front() { return m_items[m_head]; }
    void push_back(const T& item) { m_items.push_back(item); }
    void pop_front() {
        if (++m_head == m_items.size()) {
            clear();
        } else if (m_head >= kCompactAt && 2 * m_head >= m_items.size()) {
            // Taken slower than filled: drop the taken ones now and then.
            m_items.erase(m_items.begin(), m_items.begin() + static_cast<std::ptrdiff_t>(m_head));
            m_head = 0;
        }
    }
    void clear() {
        m_items.clear();
        m_head = 0;
    }

private:
    static constexpr std::size_t kCompactAt = 256;
    std::vector<T> m_items;
    std::size_t m_head = 0;
};
