#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/cstring.h"
#include "request_log/log_day_file.h"

// The lines of a request log day file as the viewer shows them: a window of at most
// kCapacity rendered records around the one last asked for, whatever the file's size. The
// file is opened for each read only, so that the log can grow meanwhile; it may also shrink,
// be replaced or vanish, which the next read notices.
class CLogLineCache {
public:
    static constexpr std::size_t kCapacity = 257;
    // A refill puts the record asked for this far into the window.
    static constexpr std::int64_t kLead = 128;

    CLogLineCache();

    // Forgets everything read: the file, the record count and the longest line.
    void Reset(const CString& path, const CString& mask);
    const CString& GetPath() const { return m_file.GetPath(); }

    std::int64_t GetRecordCount() const { return m_count; }
    // Takes the record count from the file's size again; true when it changed.
    bool Recount();
    // Set when a read found the file holding another number of records than counted; the
    // count then follows the file. Cleared by taking it.
    bool TakeCountChanged();

    // Record n as the mask renders it; empty when the file does not hold it (any more).
    const CString& GetLine(std::int64_t n);
    // The longest rendered line so far, in characters.
    int GetLongestLine() const { return m_longest; }

    // Renders count records from first on straight from the file, in order, without
    // disturbing the window; stops where the file ends.
    void ForEachLine(std::int64_t first, std::int64_t count,
                     const std::function<void(std::int64_t, const CString&)>& visit);

private:
    void Refill(std::int64_t n);
    CString Render(const std::u16string& record);
    void Follow(std::uint64_t total);

    CLogDayFile m_file;
    CString m_mask;
    std::int64_t m_count = 0;
    std::int64_t m_first = 0;
    std::vector<CString> m_lines;
    int m_longest = 0;
    bool m_bCountChanged = false;
    const CString m_empty;
};
