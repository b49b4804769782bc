#pragma once

#include "link/request_mgr.h"

// The request managers of the intercoms and groups: one item per intercom (per group for the
// group manager).

// The most intercoms one message carries, asked for or set: one byte each, an IP address or a
// cascade cost each.
constexpr UINT kIcomBytesPerMessage = 255;
constexpr UINT kAddressesPerMessage = 128;
constexpr UINT kCostsPerMessage = 128;

// Baud rate choices (15).
class CIcomBaudMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// COM ports (27).
class CIcomPortMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// Connection types (68), on a controller with Ethernet to the intercoms.
class CIcomConnMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// IP addresses (70): the primary set, or the backup set.
class CIcomAddrMgr : public CRequestMgr {
public:
    explicit CIcomAddrMgr(BOOL primary) : m_bPrimary(primary) {}
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;

private:
    BOOL m_bPrimary;
};

// Cascade costs (81).
class CIcomCostMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// One intercom's remote trunking (75), on a controller with two controllers' support.
class CIcomRemTrunkingMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// Communication status: a range (18), or one intercom's enhanced status (56).
class CIcomStatusMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// Error counters (19).
class CIcomErrorsMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// Clears one intercom's error counters (20).
class CClearIcomErrorsMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// Clears the trunk allocations of one intercom, or of all in one request when all are pending
// (29 on a controller of 31 intercoms, else 83).
class CClearAllocationsMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};

// Groups (32 below 32 intercoms, else 84).
class CIcomGroupMgr : public CRequestMgr {
public:
    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
};
