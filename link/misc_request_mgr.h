#pragma once

#include <array>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "link/request_mgr.h"

// The one-shot controller queries and commands, one item each, asked for lowest item first.
// Items that carry data of the user interface (memory writes and reads, the command line, the
// SNMP record) are marked together with a copy of their payload, taken when they are marked.
// A newer copy replaces one still pending, except for memory writes: each carries bytes of its
// own, so they queue and go in the order they were made.
class CMiscRequestMgr : public CRequestMgr {
public:
    enum Item : UINT {
        kLogRecordMore = 0,
        kLogRecord = 1,
        kReadClock = 2,
        kSetClock = 3,
        kTakeLogDirection = 4,
        kLoggingOn = 5,
        kLoggingOff = 6,
        kReleaseLogDirection = 7,
        kLoggingState = 8,
        kComPortRange = 9,
        kClearCVErrors = 10,
        kClearStandbyErrors = 11,
        kAllocTimeout = 12,
        kAutoClear = 13,
        kDynamicAlloc = 14,
        kWaitForTalkKey = 15,
        kCode21Text = 16,
        kCVStatus = 17,
        kCVErrors = 18,
        kStandbyStatus = 19,
        kStandbyErrors = 20,
        kWriteMemory0 = 21,
        kReadMemory0 = 22,
        kCommandLine = 23,
        kSessionSetup = 24,
        kWriteMemory1 = 25,
        kReadMemory1 = 26,
        kReadSnmp = 27,
        kWriteSnmp = 28,
        kAlphaCounters = 31,
        kItems = 32,
    };
    // Alpha change counters are asked for this many intercoms at a time.
    static constexpr UINT kCounterIntercoms = 31;

    CMiscRequestMgr();

    // Whether the item's payload is the copy given to AddWithPayload.
    static BOOL CarriesPayload(UINT item);
    // Whether the item's request acts on the controller.
    static BOOL Acts(UINT item);
    // The item whose request this is, -1 for none.
    static int ItemOfRequest(const CMessage& request);
    // Marks the item with the payload its request carries.
    void AddWithPayload(UINT item, std::span<const BYTE> payload);
    // Drops the pending items whose requests act on the controller, with their payloads.
    void RemoveActing();
    // The payloads go with their marks.
    void RemoveAll() override;
    // Drops the item's queued payloads, oldest first, which then never go.
    std::vector<std::vector<BYTE>> TakeQueued(UINT item);
    // The next intercom whose alpha change counters are asked for.
    void SetAlphaCounterCursor(UINT icom);

    BOOL BuildRequest(CMessage& message, const CLinkConfig& config) override;
    void Requeue(const CMessage& request) override;

private:
    // FALSE when the controller cannot be asked for the item.
    BOOL BuildItem(UINT item, CMessage& message, const CLinkConfig& config);
    BOOL BuildAlphaCounters(CMessage& message, const CLinkConfig& config);

    // Whether a payload marked queues behind those pending rather than replacing them.
    static BOOL Queues(UINT item);

    UINT m_nCounterCursor = 255;
    std::array<std::deque<std::vector<BYTE>>, kItems> m_payloads;
    // The item of the request last built, with its payload copy and the counters' cursor
    // before it: the request as built, whatever is changed on its way out.
    UINT m_nBuiltItem = kItems;
    std::optional<std::vector<BYTE>> m_builtPayload;
    UINT m_nBuiltCounterCursor = 0;
};
