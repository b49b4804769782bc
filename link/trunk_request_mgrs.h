#pragma once

#include "link/request_mgr.h"

// The request managers of the trunks: one item per trunk (the summary manager: one per
// summary selection).

// The most trunk definitions one message carries, asked for or set.
constexpr UINT kTrunkDefsPerMessage = 50;

// Trunk definitions (8).
class CTrunkDefsMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// Trunk states (14), 500 at a time.
class CTrunkStatusMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// One trunk's inspection record (35).
class CTrunkInspectMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// Puts one trunk into maintenance mode (39); asked only by the maintenance-mode send.
class CMaintModeMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// Puts one trunk back into normal mode (39); asked only by the maintenance-mode send.
class CNormalModeMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// Trunk summaries (34, 57 on an extended controller): item 0 is the controller's totals,
// item k + 1 the summary towards intercom k. On an extended controller with more than 31
// intercoms one item takes a request per 128 intercoms.
class CTrunkSummaryMgr : public CRequestMgr {
public:
    static constexpr UINT kIntercomsPerRequest = 128;
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
    // A lost page is asked for again, the paging going on from it.
    void Requeue(const CMessage& request) override;
    void GiveUp(const CMessage& request) override;

private:
    int m_nCurrent = -1;  // the item being asked for, -1 when none
    int m_nOffset = -1;   // its next intercom, -1 when none
    // The item and intercom of the request last built; the offset -1 when it was not paged.
    int m_nBuiltItem = -1;
    int m_nBuiltOffset = -1;
};
