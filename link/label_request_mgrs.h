#pragma once

#include "link/request_mgr.h"

// The managers of the name and alpha requests (code 5): one item per intercom.

// The intercom names of one length (4, 6, 8 or 16 characters), up to 128 intercoms a request
// (64 for 16-character names).
class CIcomNameMgr : public CRequestMgr {
public:
    void SetNameLength(int length) { m_nLength = length; }
    int GetNameLength() const { return m_nLength; }
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;

private:
    int m_nLength = 4;
};

// The alphas of one alpha type: one intercom at a time, page after page, until the reply to a
// page ends the list (EndPaging, on the link engine thread).
class CAlphaMgr : public CRequestMgr {
public:
    static constexpr int kTypes = 8;

    void SetTypeIndex(int index) { m_nType = index; }
    // Whether the controller holds alphas of the type index 0-7: wire types 0 to 5 always,
    // 6 on an extended controller, 8 (index 7) with IFBSL alphas.
    static BOOL Supports(int type, const CLinkConfig& config);
    // The controller the items are marked for. While it lacks the type, marking does nothing:
    // no caller can ask it for alphas it does not hold.
    void Follow(const CLinkConfig& config) { m_bSupported = Supports(m_nType, config); }
    void Add(UINT item) override;
    void AddRange(UINT first, UINT count) override;
    void AddAll() override;
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
    // The lost page is asked for again, the paging going on from it.
    void Requeue(const CMessage& request) override;
    void GiveUp(const CMessage& request) override;

    // The intercom being paged through, -1 when none.
    int GetCurrentIntercom() const;
    // Ends the paging of the intercom when it is the current one.
    void EndPaging(int icom);
    // Whether the reply ends the paging of the list a name or alpha request asked for: the
    // controller holds no more entries than the page reached (or none, or it refused).
    static BOOL IsLastPage(const CDualMessage& pair);

private:
    int m_nType = 0;
    std::atomic<BOOL> m_bSupported{TRUE};
    int m_nCurrent = -1;  // the intercom being paged through, -1 when none
    int m_nOffset = -1;   // the next alpha within it, -1 when none
};
