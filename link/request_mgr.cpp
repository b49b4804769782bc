#include "link/request_mgr.h"

#include <algorithm>
#include <mutex>
#include <utility>

CRequestMgr::CRequestMgr() = default;

BOOL CRequestMgr::IsPending(UINT item) const {
    std::lock_guard guard(m_lock);
    return item < m_nSize && m_pending.GetBit(item);
}

void CRequestMgr::Add(UINT item) {
    std::lock_guard guard(m_lock);
    if (item >= m_nSize || m_pending.GetBit(item)) return;
    m_pending.SetBit(item, TRUE);
    ++m_nCount;
    m_nFirst = std::min<UINT>(m_nFirst, item);
    m_nLast = std::max<UINT>(m_nLast, item);
    if (m_nCursor == m_nSize) m_nCursor = m_nFirst.load();
}

void CRequestMgr::AddRange(UINT first, UINT count) {
    std::lock_guard guard(m_lock);
    if (first >= m_nSize || count == 0) return;
    count = std::min(count, m_nSize - first);
    m_nFirst = std::min<UINT>(m_nFirst, first);
    m_nLast = std::max<UINT>(m_nLast, first + count - 1);
    if (m_nCursor == m_nSize) m_nCursor = m_nFirst.load();
    m_pending.SetRange(first, count, TRUE);
    m_nCount = m_pending.GetCount();
}

void CRequestMgr::AddAll() {
    std::lock_guard guard(m_lock);
    m_nFirst = 0;
    m_nLast = m_nSize - 1;
    if (m_nCursor == m_nSize) m_nCursor = 0;
    m_nCount = m_nSize.load();
    m_pending.SetAll(TRUE);
}

void CRequestMgr::Remove(UINT item) {
    std::lock_guard guard(m_lock);
    if (item >= m_nSize || !m_pending.GetBit(item)) return;
    m_pending.SetBit(item, FALSE);
    --m_nCount;
    Cleared(item, item);
}

void CRequestMgr::RemoveRange(UINT first, UINT count) {
    std::lock_guard guard(m_lock);
    if (first >= m_nSize || count == 0) return;
    count = std::min(count, m_nSize - first);
    m_pending.SetRange(first, count, FALSE);
    m_nCount = m_pending.GetCount();
    Cleared(first, first + count - 1);
}

void CRequestMgr::Cleared(UINT from, UINT to) {
    const UINT size = m_nSize;
    if (m_nCount == 0) {
        m_nFirst = size;
        m_nLast = 0;
    } else {
        if (from <= m_nFirst) {
            const int next = Find(0);
            m_nFirst = next < 0 ? size : static_cast<UINT>(next);
        }
        if (to >= m_nLast) m_nLast = static_cast<UINT>(std::max(m_pending.FindLast(), 0));
    }
    const UINT cursor = m_nCursor;
    if (cursor < size && m_pending.GetBit(cursor)) return;
    // The cursor moves on to the next pending item, or wraps to the first.
    const int next = cursor < size ? Find(cursor + 1) : -1;
    m_nCursor = next < 0 ? m_nFirst.load() : static_cast<UINT>(next);
}

void CRequestMgr::RemoveAll() {
    std::lock_guard guard(m_lock);
    m_pending.SetAll(FALSE);
    m_nFirst = m_nSize.load();
    m_nLast = 0;
    m_nCursor = m_nSize.load();
    m_nCount = 0;
}

void CRequestMgr::SetSize(UINT size) {
    std::lock_guard guard(m_lock);
    if (size == 0) return;
    m_pending.SetSize(size);
    m_nSize = size;
    m_nFirst = size;
    m_nLast = 0;
    m_nCursor = size;
    m_nCount = 0;
}

BOOL CRequestMgr::TakeRange(UINT max, UINT& first, UINT& count) {
    // Most managers have nothing pending most of the time; an item marked just now comes with
    // a wake of the engine, which asks again.
    if (m_nCount == 0) return FALSE;
    std::lock_guard guard(m_lock);
    if (m_nCount == 0) return FALSE;
    const UINT start = m_nCursor;
    UINT n = std::min(m_nLast - start + 1, max);
    n = std::min(n, m_nSize - start);
    RemoveRange(start, n);
    Taken(start, n);
    first = start;
    count = n;
    return TRUE;
}

void CRequestMgr::Requeue(const CMessage& /*request*/) {
    std::lock_guard guard(m_lock);
    AddRange(m_nTakenFirst, std::exchange(m_nTakenCount, 0));
}

BOOL CRequestMgr::BuildRange(CMessage& message, DWORD command, UINT max, Width width,
                             std::initializer_list<BYTE> prefix) {
    UINT first = 0;
    UINT count = 0;
    if (!TakeRange(max, first, count)) return FALSE;
    CPayloadWriter request(message, command);
    request.Bytes(prefix);
    if (width == Width::kWord)
        request.U16(first).U16(count);
    else
        request.U8(first).U8(count);
    return TRUE;
}
