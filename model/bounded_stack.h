#pragma once

#include <cstddef>
#include <deque>
#include <memory>

// A history stack of owned entries (undo, redo, Back, Forward). It keeps the newest
// kDepth entries: pushing onto a full stack drops the oldest.
template <class T>
class CStack {
public:
    static constexpr size_t kDepth = 200;

    void Push(std::unique_ptr<T> entry) {
        if (m_entries.size() == kDepth) m_entries.pop_front();
        m_entries.push_back(std::move(entry));
    }
    // The newest entry, taken off the stack; null when empty.
    std::unique_ptr<T> Pop() {
        if (m_entries.empty()) return nullptr;
        std::unique_ptr<T> entry = std::move(m_entries.back());
        m_entries.pop_back();
        return entry;
    }
    const T* Peek() const { return m_entries.empty() ? nullptr : m_entries.back().get(); }
    bool IsEmpty() const { return m_entries.empty(); }
    size_t GetCount() const { return m_entries.size(); }
    void RemoveAll() { m_entries.clear(); }
    // Drops, oldest first, every entry the predicate (given the entry) answers true for; the
    // others keep their order. Answers how many went.
    template <class Predicate>
    size_t RemoveIf(Predicate predicate) {
        return std::erase_if(m_entries,
                             [&](std::unique_ptr<T>& entry) { return predicate(*entry); });
    }

private:
    std::deque<std::unique_ptr<T>> m_entries;
};
