#pragma once

#include <atomic>
#include <initializer_list>

#include "link/link_config.h"
#include "link/message.h"
#include "link/payload_io.h"
#include "model/bit_array.h"
#include "platform/base/critical_section.h"
#include "platform/base/win_types.h"

// The items of one kind of controller data that still have to be asked for: a locked set of
// pending item numbers 0 to N-1 that keeps its lowest and highest item, the item the next
// request starts at (the cursor) and the count, so that building a request needs no scan.
// The user-interface thread and the reply handlers mark items; the link engine thread builds
// the requests. Each operation holds the manager's own lock; the getters read without it.
class CRequestMgr {
public:
    CRequestMgr();
    virtual ~CRequestMgr() = default;
    CRequestMgr(const CRequestMgr&) = delete;
    CRequestMgr& operator=(const CRequestMgr&) = delete;

    virtual UINT GetSize() const { return m_nSize; }
    // The lowest pending item; GetSize() when none is.
    virtual UINT GetFirst() const { return m_nFirst; }
    // The highest pending item; 0 when none is.
    virtual UINT GetLast() const { return m_nLast; }
    // Where the next request starts; GetSize() when nothing is pending.
    virtual UINT GetCursor() const { return m_nCursor; }
    virtual UINT GetCount() const { return m_nCount; }
    virtual BOOL IsPending(UINT item) const;
    virtual BOOL HasPending() const { return m_nCount > 0; }

    // Items at or beyond the size are ignored, ranges clipped to it.
    virtual void Add(UINT item);
    virtual void AddRange(UINT first, UINT count);
    virtual void AddAll();
    virtual void Remove(UINT item);
    virtual void RemoveRange(UINT first, UINT count);
    virtual void RemoveAll();
    // Resizes the set; nothing is pending afterwards. A size of 0 is ignored.
    virtual void SetSize(UINT size);

    // Engine thread: fills the message with the next request (command and payload) and clears
    // the items it covers. FALSE when there is nothing to ask for, or when the controller
    // cannot be asked (then every pending item is dropped).
    virtual BOOL BuildRequest(CMessage& message, const CLinkConfig& config) = 0;
    // Engine thread: the request last built got no answer, as the link failed; what it asked
    // for is pending again. The request is the one BuildRequest gave.
    virtual void Requeue(const CMessage& request);
    // Engine thread: the request last built is not asked for again; a manager that pages
    // through an item gives that item up.
    virtual void GiveUp(const CMessage& /*request*/) {}

protected:
    // The range of the next request: from the cursor to the last pending item, at most max
    // items and never past the end; taken off the set. FALSE when nothing is pending.
    BOOL TakeRange(UINT max, UINT& first, UINT& count);
    // The cursor's item, taken off the set.
    BOOL TakeOne(UINT& item) {
        UINT one = 0;
        return TakeRange(1, item, one);
    }
    enum class Width { kByte, kWord };
    // A request of the range from TakeRange: the prefix bytes, then first and count.
    BOOL BuildRange(CMessage& message, DWORD command, UINT max, Width width,
                    std::initializer_list<BYTE> prefix = {});
    // Drops every pending item: the controller cannot be asked for them.
    BOOL Drop() {
        RemoveAll();
        return FALSE;
    }
    CCriticalSection& Lock() const { return m_lock; }
    // What the request being built asks for, for Requeue; manager's lock held.
    void Taken(UINT first, UINT count) {
        m_nTakenFirst = first;
        m_nTakenCount = count;
    }

private:
    int Find(UINT from) const { return m_pending.FindNext(static_cast<int>(from)); }
    // After items from..to were cleared, with count recounted.
    void Cleared(UINT from, UINT to);

    mutable CCriticalSection m_lock;
    std::atomic<UINT> m_nSize{1};
    std::atomic<UINT> m_nFirst{1};
    std::atomic<UINT> m_nLast{0};
    std::atomic<UINT> m_nCursor{1};
    std::atomic<UINT> m_nCount{0};
    CBitArray m_pending{1};
    UINT m_nTakenFirst = 0;
    UINT m_nTakenCount = 0;
};
