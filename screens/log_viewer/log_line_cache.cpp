#include "screens/log_viewer/log_line_cache.h"

#include <algorithm>
#include <utility>

#include "screens/log_viewer/log_mask.h"

namespace {

// Records read at once while lines are visited outside the window.
constexpr std::size_t kVisitBlock = 4096;

}  // namespace

CLogLineCache::CLogLineCache() : m_file(CString()) {}

void CLogLineCache::Reset(const CString& path, const CString& mask) {
    m_file = CLogDayFile(path);
    m_mask = mask;
    m_count = 0;
    m_first = 0;
    m_lines.clear();
    m_longest = 0;
    m_bCountChanged = false;
}

bool CLogLineCache::Recount() {
    const std::int64_t before = m_count;
    m_count = static_cast<std::int64_t>(m_file.CountRecords());
    return m_count != before;
}

bool CLogLineCache::TakeCountChanged() {
    return std::exchange(m_bCountChanged, false);
}

void CLogLineCache::Follow(std::uint64_t total) {
    const auto count = static_cast<std::int64_t>(total);
    if (count == m_count) return;
    m_count = count;
    m_bCountChanged = true;
}

CString CLogLineCache::Render(const std::u16string& record) {
    CString line = log_mask::Render(record, m_mask);
    m_longest = std::max(m_longest, line.GetLength());
    return line;
}

const CString& CLogLineCache::GetLine(std::int64_t n) {
    if (n < 0) return m_empty;
    const auto cached = static_cast<std::int64_t>(m_lines.size());
    if (n < m_first || n >= m_first + cached) Refill(n);
    // A file that shrank or vanished since it was counted holds fewer records than asked.
    const std::int64_t at = n - m_first;
    if (at < 0 || at >= static_cast<std::int64_t>(m_lines.size())) return m_empty;
    return m_lines[static_cast<std::size_t>(at)];
}

void CLogLineCache::Refill(std::int64_t n) {
    m_first = std::max<std::int64_t>(n - kLead, 0);
    const CLogRecords records = m_file.ReadRecords(static_cast<std::uint64_t>(m_first), kCapacity);
    m_lines.clear();
    m_lines.reserve(records.lines.size());
    for (const std::u16string& record : records.lines)
        m_lines.push_back(Render(record));
    Follow(records.total);
}

void CLogLineCache::ForEachLine(std::int64_t first, std::int64_t count,
                                const std::function<void(std::int64_t, const CString&)>& visit) {
    std::int64_t next = std::max<std::int64_t>(first, 0);
    const std::int64_t end = next + std::max<std::int64_t>(count, 0);
    while (next < end) {
        const auto wanted = static_cast<std::size_t>(
            std::min<std::int64_t>(end - next, static_cast<std::int64_t>(kVisitBlock)));
        const CLogRecords records = m_file.ReadRecords(static_cast<std::uint64_t>(next), wanted);
        for (const std::u16string& record : records.lines)
            visit(next++, Render(record));
        if (records.lines.size() < wanted) break;
    }
}
