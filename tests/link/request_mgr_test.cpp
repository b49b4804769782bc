#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "link/icom_request_mgrs.h"
#include "link/label_request_mgrs.h"
#include "link/misc_request_mgr.h"
#include "link/trunk_request_mgrs.h"

namespace {

using Bytes = std::vector<BYTE>;

constexpr WORD kExtended = CCVConfig::kNewCorvane | CCVConfig::kUnicodeSupport;

CLinkConfig Config(WORD flags = 0, DWORD capabilities = 0, int icoms = 31, int alphaSize = 4) {
    CLinkConfig c;
    c.flags = flags;
    c.capabilities = capabilities;
    c.trunks = 999;
    c.intercoms = icoms;
    c.groups = 20;
    c.alphaSize = alphaSize;
    return c;
}

struct Built {
    bool built;
    DWORD command;
    Bytes payload;
    bool operator==(const Built&) const = default;
};

void PrintTo(const Built& b, std::ostream* os) {
    *os << (b.built ? "code " : "nothing, code ") << b.command << " [";
    for (BYTE x : b.payload)
        *os << int(x) << ' ';
    *os << ']';
}

Built Build(CRequestMgr& m, const CLinkConfig& config) {
    CMessage message;
    const bool built = m.BuildRequest(message, config);
    const auto p = message.Payload();
    return built ? Built{true, message.command, Bytes(p.begin(), p.end())} : Built{false, 0, {}};
}

template <class M>
std::unique_ptr<CRequestMgr> Sized(UINT size, std::function<void(M&)> setup = {}) {
    auto m = std::make_unique<M>();
    if (setup) setup(*m);
    m->SetSize(size);
    return m;
}

std::unique_ptr<CRequestMgr> Addresses(BOOL primary) {
    auto m = std::make_unique<CIcomAddrMgr>(primary);
    m->SetSize(31);
    return m;
}

TEST(RequestMgrTest, PendingSetAndRangesFromTheCursor) {
    auto m = Sized<CTrunkDefsMgr>(31);
    m->Add(10);
    m->Add(3);
    m->Add(3);
    EXPECT_EQ(std::vector<UINT>({m->GetCount(), m->GetFirst(), m->GetLast(), m->GetCursor()}),
              std::vector<UINT>({2, 3, 10, 10}));  // the cursor set by the first Add is kept
    m->Add(31);
    m->AddRange(29, 10);  // clipped to 29 and 30
    EXPECT_EQ(m->GetLast(), 30u);
    m->Remove(10);  // the cursor moves on to the next pending item
    EXPECT_EQ(m->GetCursor(), 29u);
    m->RemoveRange(29, 5);  // nothing after it: the cursor wraps to first
    EXPECT_EQ(m->GetCursor(), 3u);
    m->Remove(3);
    EXPECT_EQ(std::vector<UINT>({m->GetCount(), m->GetFirst(), m->GetLast(), m->GetCursor()}),
              std::vector<UINT>({0, 31, 0, 31}));
    m->SetSize(0);  // ignored
    EXPECT_EQ(m->GetSize(), 31u);

    // Items 3 and 10 with the cursor at 10: 10 alone, then 3 once the cursor wraps.
    const CLinkConfig config = Config();
    m->SetSize(999);
    m->Add(10);
    m->Add(3);
    EXPECT_EQ(Build(*m, config), (Built{true, 8, {0, 10, 0, 1}}));
    EXPECT_EQ(Build(*m, config), (Built{true, 8, {0, 3, 0, 1}}));
    EXPECT_FALSE(Build(*m, config).built);
    // Six requests of 50 for 300 trunks; 500 states at a time for 999.
    m->AddRange(0, 300);
    for (UINT first = 0; first < 300; first += 50)
        EXPECT_EQ(Build(*m, config), (Built{true, 8, {0, BYTE(first), 0, 50}}));
    auto states = Sized<CTrunkStatusMgr>(999);
    states->AddAll();
    EXPECT_EQ(Build(*states, config), (Built{true, 14, {0, 0, 0x01, 0xF4}}));
    EXPECT_EQ(Build(*states, config), (Built{true, 14, {0x01, 0xF4, 0x01, 0xF3}}));
}

TEST(RequestMgrTest, RangesPastTheSizeOrEmptyMarkNothing) {
    const CLinkConfig config = Config();
    auto past = Sized<CTrunkDefsMgr>(31);
    past->AddRange(31, 5);
    past->Add(10);
    EXPECT_EQ(Build(*past, config), (Built{true, 8, {0, 10, 0, 1}}));
    auto empty = Sized<CTrunkDefsMgr>(31);
    empty->AddRange(0, 0);
    empty->Add(10);
    EXPECT_EQ(Build(*empty, config), (Built{true, 8, {0, 10, 0, 1}}));
    EXPECT_FALSE(Build(*empty, config).built);
}

// Each manager's request for items 5 and 6 pending (or the one item 5), on a controller with
// every capability unless the case says otherwise. The forms an upload asks for are checked
// against the simulated controller by the end-to-end upload.
TEST(RequestMgrTest, RequestPayloads) {
    const DWORD all = 0xFFFFFFFF;
    const CLinkConfig full = Config(kExtended | CCVConfig::kEnhancedStatus, all, 31);
    const CLinkConfig plain = Config(0, all, 31);
    const CLinkConfig big = Config(kExtended, all, 40);
    struct Case {
        const char* name;
        std::unique_ptr<CRequestMgr> manager;
        CLinkConfig config;
        Built expected;
    };
    auto name = [](int length) { return [length](CIcomNameMgr& m) { m.SetNameLength(length); }; };
    auto alpha = [](int type) { return [type](CAlphaMgr& m) { m.SetTypeIndex(type); }; };
    Case cases[] = {
        {"states", Sized<CTrunkStatusMgr>(999), full, {true, 14, {0, 5, 0, 2, 1}}},
        {"states without OOS", Sized<CTrunkStatusMgr>(999), Config(), {true, 14, {0, 5, 0, 2}}},
        {"inspect", Sized<CTrunkInspectMgr>(999), full, {true, 35, {0, 5}}},
        {"maint", Sized<CMaintModeMgr>(999), full, {true, 39, {0, 5, 2}}},
        {"normal", Sized<CNormalModeMgr>(999), full, {true, 39, {0, 5, 0}}},
        {"remote trunking", Sized<CIcomRemTrunkingMgr>(31), full, {true, 75, {5}}},
        {"status short", Sized<CIcomStatusMgr>(31), plain, {true, 18, {1, 5, 2}}},
        {"status enhanced", Sized<CIcomStatusMgr>(31), full, {true, 56, {5}}},
        {"errors", Sized<CIcomErrorsMgr>(31), full, {true, 19, {1, 5, 2}}},
        {"clear errors", Sized<CClearIcomErrorsMgr>(31), full, {true, 20, {1, 5, 1}}},
        {"clear allocations 31", Sized<CClearAllocationsMgr>(31), full, {true, 29, {5}}},
        {"clear allocations 40", Sized<CClearAllocationsMgr>(40), big, {true, 83, {0, 6}}},
        {"groups wide", Sized<CIcomGroupMgr>(20), full, {true, 32, {5, 0x82}}},
        {"groups narrow", Sized<CIcomGroupMgr>(20), plain, {true, 32, {5, 2}}},
        {"names 4", Sized<CIcomNameMgr>(31, name(4)), full, {true, 5, {0, 0x70, 5, 0x10, 2}}},
        {"names 4 plain", Sized<CIcomNameMgr>(31, name(4)), plain, {true, 5, {0, 0x70, 5, 0, 2}}},
        {"alphas 7", Sized<CAlphaMgr>(31, alpha(7)), full, {true, 5, {5, 0x80, 0, 0x10, 128}}},
        {"alphas plain", Sized<CAlphaMgr>(31, alpha(3)), plain, {true, 5, {5, 0x30, 0, 0, 128}}},
        {"alphas 16",
         Sized<CAlphaMgr>(31, alpha(1)),
         Config(kExtended, 0, 31, 16),
         {true, 5, {5, 0x10, 0, 0x40, 64}}},
        {"alphas size 5",
         Sized<CAlphaMgr>(31, alpha(2)),
         Config(kExtended, 0, 31, 5),
         {true, 5, {5, 0x20, 0, 0, 128}}},
        {"summary", Sized<CTrunkSummaryMgr>(32), full, {true, 57, {5, 1}}},
        {"summary plain", Sized<CTrunkSummaryMgr>(32), Config(), {true, 34, {5}}},
        {"summary 40", Sized<CTrunkSummaryMgr>(41), big, {true, 57, {0, 5, 1, 0, 0, 0, 40}}},
    };
    for (Case& c : cases) {
        c.manager->AddRange(5, 2);
        EXPECT_EQ(Build(*c.manager, c.config), c.expected) << c.name;
    }
}

TEST(RequestMgrTest, CapabilityGatesDropEveryItem) {
    const CLinkConfig none = Config();
    struct Case {
        const char* name;
        std::unique_ptr<CRequestMgr> manager;
        CLinkConfig config;
    };
    auto name = [](int length) { return [length](CIcomNameMgr& m) { m.SetNameLength(length); }; };
    Case cases[] = {
        {"conns", Sized<CIcomConnMgr>(31), none},
        {"addresses", Addresses(TRUE), none},
        {"costs", Sized<CIcomCostMgr>(31), none},
        {"remote trunking", Sized<CIcomRemTrunkingMgr>(31), none},
        {"names 6 plain", Sized<CIcomNameMgr>(31, name(6)), none},
        {"names 16 plain", Sized<CIcomNameMgr>(31, name(16)), none},
        {"names 16 narrow", Sized<CIcomNameMgr>(31, name(16)), Config(CCVConfig::kNewCorvane)},
        {"alphas 16 narrow", Sized<CAlphaMgr>(31), Config(CCVConfig::kNewCorvane, 0, 31, 16)},
    };
    for (Case& c : cases) {
        c.manager->SetSize(31);
        c.manager->AddAll();
        EXPECT_FALSE(Build(*c.manager, c.config).built) << c.name;
        EXPECT_FALSE(c.manager->HasPending()) << c.name;
    }
}

TEST(RequestMgrTest, AllPendingClearAllocationsGoOutAsOne) {
    for (auto [size, expected] :
         {std::pair{31u, Built{true, 29, {31}}}, {40u, {true, 83, {0, 0}}}}) {
        auto m = Sized<CClearAllocationsMgr>(size);
        m->AddAll();
        EXPECT_EQ(Build(*m, Config()), expected);
        EXPECT_FALSE(m->HasPending());
    }
}

TEST(RequestMgrTest, AlphaPagingGoesOnUntilTheReplyEndsTheList) {
    CAlphaMgr m;
    m.SetTypeIndex(7);
    m.SetSize(31);
    m.Add(4);
    m.Add(9);
    // Without IFBSL alphas the controller is asked for none: marks taken before are dropped,
    // and once the manager follows that controller none are taken.
    const CLinkConfig lacking = Config(kExtended, 0, 31, 4);
    EXPECT_FALSE(Build(m, lacking).built);
    EXPECT_EQ(m.GetCount(), 0u);
    m.Follow(lacking);
    m.AddAll();
    EXPECT_EQ(m.GetCount(), 0u);
    const CLinkConfig config = Config(kExtended, CCVConfig::kIFBSLSupport, 31, 4);
    m.Follow(config);
    m.Add(4);
    m.Add(9);
    EXPECT_EQ(Build(m, config), (Built{true, 5, {4, 0x80, 0, 0x10, 128}}));
    EXPECT_EQ(m.GetCurrentIntercom(), 4);
    EXPECT_EQ(Build(m, config), (Built{true, 5, {4, 0x80, 128, 0x10, 128}}));
    m.EndPaging(9);  // not the current intercom
    EXPECT_EQ(Build(m, config), (Built{true, 5, {4, 0x81, 0, 0x10, 128}}));
    m.EndPaging(4);
    EXPECT_EQ(Build(m, config), (Built{true, 5, {9, 0x80, 0, 0x10, 128}}));

    // The last page: the total reached or passed by first + count, or no alphas at all.
    auto pair = [](std::vector<BYTE> request, std::vector<BYTE> reply, bool nak = false) {
        CDualMessage p;
        p.request.command = p.reply.command = 5;
        p.request.SetPayload(request);
        p.reply.SetPayload(reply);
        p.reply.nak = nak;
        return p;
    };
    const Bytes page{4, 0x00, 128, 0x10, 128};                 // alphas 128 to 255
    EXPECT_FALSE(CAlphaMgr::IsLastPage(pair(page, {1, 1})));   // 257 alphas
    EXPECT_TRUE(CAlphaMgr::IsLastPage(pair(page, {1, 0})));    // 256: reached
    EXPECT_TRUE(CAlphaMgr::IsLastPage(pair(page, {0, 200})));  // passed
    EXPECT_TRUE(CAlphaMgr::IsLastPage(pair(page, {0, 0})));    // none
    EXPECT_TRUE(CAlphaMgr::IsLastPage(pair(page, {}, true)));  // refused
    // First and count are read with the request's full 12 bits.
    EXPECT_FALSE(CAlphaMgr::IsLastPage(pair({4, 0x0C, 0, 0x10, 128}, {0x0D, 0x01})));
    EXPECT_TRUE(CAlphaMgr::IsLastPage(pair({4, 0x0C, 0, 0x10, 128}, {0x0C, 0x80})));

    // A list longer than a request can address ends at the last addressable page.
    CAlphaMgr endless;
    endless.SetSize(1);
    endless.Add(0);
    int pages = 0;
    while (Build(endless, config).built)
        ++pages;
    EXPECT_EQ(pages, 32);
}

TEST(RequestMgrTest, MiscItems) {
    const DWORD all = 0xFFFFFFFF;
    const CLinkConfig full = Config(kExtended, all, 40);
    CLinkConfig seconds = full;
    seconds.secondsMode = TRUE;
    struct Case {
        UINT item;
        CLinkConfig config;
        Built expected;
    };
    const Case cases[] = {
        {0, full, {true, 7, {1}}},         {1, full, {true, 7, {0}}},
        {2, full, {true, 37, {}}},         {4, full, {true, 78, {}}},
        {4, Config(), {false, 0, {}}},     {5, full, {true, 13, {1}}},
        {6, full, {true, 13, {0}}},        {7, full, {true, 79, {}}},
        {7, Config(), {false, 0, {}}},     {8, full, {true, 10, {}}},
        {9, full, {true, 58, {}}},         {10, full, {true, 20, {0, 0, 1}}},
        {11, full, {true, 20, {2, 0, 1}}}, {12, full, {true, 11, {}}},
        {12, seconds, {true, 64, {}}},     {13, full, {true, 46, {}}},
        {14, full, {true, 48, {}}},        {15, full, {true, 50, {}}},
        {16, full, {true, 21, {0, 0}}},    {17, full, {true, 18, {0, 0, 1}}},
        {18, full, {true, 19, {0, 0, 1}}}, {19, full, {true, 18, {2, 0, 1}}},
        {20, full, {true, 19, {2, 0, 1}}}, {24, full, {true, 61, {}}},
        {27, full, {true, 66, {}}},        {21, full, {false, 0, {}}},  // no payload given
        {29, full, {false, 0, {}}},        {30, full, {false, 0, {}}},
    };
    for (const Case& c : cases) {
        CMiscRequestMgr m;
        m.Add(c.item);
        EXPECT_EQ(Build(m, c.config), c.expected) << "item " << c.item;
        EXPECT_FALSE(m.HasPending()) << "item " << c.item;
    }

    // The clock goes out as the computer's local time, year less 1900.
    CMiscRequestMgr clock;
    clock.Add(CMiscRequestMgr::kSetClock);
    const Built set = Build(clock, full);
    ASSERT_EQ(set.command, 17u);
    ASSERT_EQ(set.payload.size(), 6u);
    EXPECT_GE(set.payload[0], 124);
    EXPECT_LE(set.payload[1], 12);

    // Lowest item first; payload items carry the copy they were marked with.
    CMiscRequestMgr m;
    m.Add(12);
    m.AddWithPayload(CMiscRequestMgr::kCommandLine, Bytes{'D', 'I', 'R'});
    m.Add(2);
    m.Add(2);
    EXPECT_EQ(m.GetCount(), 3u);
    EXPECT_EQ(Build(m, full).command, 37u);
    EXPECT_EQ(Build(m, full).command, 11u);
    EXPECT_EQ(Build(m, full), (Built{true, 45, {'D', 'I', 'R'}}));
    // Payloads go with their marks, however they are dropped: a later mark carries only its own.
    for (const bool acting : {true, false}) {
        m.AddWithPayload(CMiscRequestMgr::kWriteMemory0, Bytes{0, 0, 1, 0xAA});
        acting ? m.RemoveActing() : m.RemoveAll();
        m.AddWithPayload(CMiscRequestMgr::kWriteMemory0, Bytes{0, 0, 2, 0xBB});
        EXPECT_EQ(Build(m, full), (Built{true, 31, {0, 0, 2, 0xBB}})) << acting;
        EXPECT_FALSE(Build(m, full).built) << acting;
    }

    // Alpha change counters: 31 intercoms a turn, the item pending until all are asked for.
    m.SetAlphaCounterCursor(0);
    m.Add(CMiscRequestMgr::kAlphaCounters);
    EXPECT_EQ(Build(m, full), (Built{true, 76, {1, 0, 0, 0, 31}}));
    EXPECT_EQ(Build(m, full), (Built{true, 76, {1, 0, 31, 0, 9}}));
    EXPECT_TRUE(m.HasPending());
    EXPECT_FALSE(Build(m, full).built);
    EXPECT_FALSE(m.HasPending());
    m.SetAlphaCounterCursor(0);
    m.Add(CMiscRequestMgr::kAlphaCounters);
    EXPECT_FALSE(Build(m, Config(kExtended, 0, 40)).built);  // no AlphaCounters
    m.SetAlphaCounterCursor(0);
    m.Add(CMiscRequestMgr::kAlphaCounters);
    EXPECT_EQ(Build(m, Config(0, all, 10)), (Built{true, 76, {0, 0, 0, 0, 10}}));
}

TEST(RequestMgrTest, SummaryPagesThroughMoreThan31Intercoms) {
    const CLinkConfig big = Config(kExtended, 0, 300);
    auto m = Sized<CTrunkSummaryMgr>(301);
    m->Add(0);
    m->Add(7);
    EXPECT_EQ(Build(*m, big), (Built{true, 57, {0, 0, 0, 0, 0, 128}}));
    EXPECT_EQ(Build(*m, big), (Built{true, 57, {0, 0, 0, 128, 0, 128}}));
    EXPECT_EQ(Build(*m, big), (Built{true, 57, {0, 0, 1, 0, 0, 44}}));
    EXPECT_EQ(Build(*m, big), (Built{true, 57, {0, 7, 0, 0, 0, 128}}));
}

}  // namespace
