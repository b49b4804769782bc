#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "res/command_ids.h"
#include "shell/app/menu_table.h"
#include "shell/main_frame/status_ticks.h"
#include "shell/nav/nav_history.h"

namespace {

CContext At(int screen, DWORD word0) {
    CContext context;
    context.m_nScreen = screen;
    context.m_params[0] = word0;
    return context;
}

TEST(NavHistoryTest, PushesDropRepeatsAndBackAndForwardCarryTheParameters) {
    CNavHistory history;
    // The user is on screen 1 showing intercom 3, after screen 0 showing intercom 2.
    history.GetViewContext(0) = At(0, 2);
    history.Push(history.GetViewContext(0));
    history.Push(At(0, 2));  // the same as Back's newest: nothing changes
    EXPECT_EQ(history.Back().GetCount(), 1u);
    history.GetViewContext(1) = At(1, 4);

    ASSERT_EQ(history.GoBack(1), 0);
    EXPECT_EQ(history.GetViewContext(0).m_params[0], 2u);
    EXPECT_EQ(*history.Forward().Peek(), At(1, 4));
    // Meanwhile screen 1's parameter changed; Forward brings back what was left.
    history.GetViewContext(1) = At(1, 9);
    ASSERT_EQ(history.GoForward(0), 1);
    EXPECT_EQ(history.GetViewContext(1).m_params[0], 4u);
    EXPECT_EQ(history.GoForward(1), -1);
    // A context equal to the one shown leaves the other stack alone.
    EXPECT_EQ(history.GoTo(At(1, 4), history.Forward(), 1), 1);
    EXPECT_TRUE(history.Forward().IsEmpty());

    // A new entry empties Forward; the history keeps the newest 200.
    history.GoBack(1);
    ASSERT_FALSE(history.Forward().IsEmpty());
    for (DWORD i = 0; i < 250; ++i)
        history.Push(At(4, i));
    EXPECT_TRUE(history.Forward().IsEmpty());
    EXPECT_EQ(history.Back().GetCount(), 200u);
    EXPECT_EQ(history.Back().Peek()->m_params[0], 249u);
}

bool Has(const std::vector<CMenuDesc>& menus, UINT id) {
    return std::any_of(menus.begin(), menus.end(), [id](const CMenuDesc& menu) {
        return std::any_of(menu.items.begin(), menu.items.end(),
                           [id](const CMenuItemDesc& item) { return item.id == id; });
    });
}

TEST(MenuTableTest, RestrictionsLeaveItemsOutWithoutStraySeparators) {
    struct Row {
        CMenuRules rules;
        std::vector<UINT> shown;
        std::vector<UINT> hidden;
    } rows[] = {
        {{}, {ID_VIEW_LOG_FILE}, {ID_VIEW_MEMORY, ID_WRITE_MEMORY, ID_VIEW_CLP, ID_MAINT_MODE}},
        {{true, false, false, false}, {ID_VIEW_MEMORY}, {ID_WRITE_MEMORY}},
        {{false, true, false, false}, {}, {ID_VIEW_MEMORY, ID_WRITE_MEMORY}},
        {{true, true, true, true},
         {ID_VIEW_MEMORY, ID_WRITE_MEMORY, ID_VIEW_CLP, ID_MAINT_MODE, ID_NORMAL_MODE},
         {}},
    };
    for (const Row& row : rows) {
        const std::vector<CMenuDesc> menus = VisibleMenus(row.rules);
        for (UINT id : row.shown)
            EXPECT_TRUE(Has(menus, id)) << id;
        for (UINT id : row.hidden)
            EXPECT_FALSE(Has(menus, id)) << id;
        for (const CMenuDesc& menu : menus) {
            ASSERT_FALSE(menu.items.empty());
            EXPECT_NE(menu.items.front().id, 0u);
            EXPECT_NE(menu.items.back().id, 0u);
            for (size_t i = 1; i < menu.items.size(); ++i)
                EXPECT_FALSE(menu.items[i].id == 0 && menu.items[i - 1].id == 0);
        }
    }
    // The Trunk menu ends with the maintenance items and the separator before them, or
    // without all three.
    const auto trunk = [](const CMenuRules& rules) { return VisibleMenus(rules)[4].items; };
    EXPECT_EQ(trunk({}).back().id, ID_CLEAR_ALLOCATIONS);
    const auto full = trunk({false, false, false, true});
    ASSERT_GE(full.size(), 3u);
    EXPECT_EQ(full[full.size() - 3].id, 0u);

    // Within each menu, every item has a mnemonic of its own.
    for (const CMenuDesc& menu : VisibleMenus({true, true, true, true})) {
        std::set<char16_t> keys;
        for (const CMenuItemDesc& item : menu.items) {
            if (item.id == 0) continue;
            const std::u16string_view text(item.text);
            const char16_t key = text.at(text.find(u'&') + 1);
            EXPECT_TRUE(keys.insert(static_cast<char16_t>(std::tolower(key))).second) << item.id;
        }
    }

    // The tool buttons' tips read as the menu items do.
    EXPECT_EQ(CommandTitle(ID_SEND_CHANGES), u"Send Changes");
}

}  // namespace

TEST(StatusTicksTest, AStatusRequestEachOnlineTickAndTheClockAtTheSixtieth) {
    CStatusTicks ticks;
    int clocks = 0;
    for (int tick = 1; tick <= 59; ++tick) {
        const CStatusTicks::CDue due = ticks.Tick(true);
        EXPECT_TRUE(due.status) << tick;
        clocks += due.clock;
    }
    EXPECT_EQ(clocks, 0);
    // Ticks outside ONLINE ask for nothing and leave the counts as they are.
    for (int tick = 0; tick < 100; ++tick) {
        const CStatusTicks::CDue due = ticks.Tick(false);
        EXPECT_FALSE(due.status || due.clock);
    }
    const CStatusTicks::CDue sixtieth = ticks.Tick(true);
    EXPECT_TRUE(sixtieth.clock);
    EXPECT_TRUE(sixtieth.status);
    for (int tick = 1; tick <= 59; ++tick)
        EXPECT_FALSE(ticks.Tick(true).clock) << tick;
    EXPECT_TRUE(ticks.Tick(true).clock);
}
