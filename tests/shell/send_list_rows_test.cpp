#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "model/cv_config.h"
#include "shell/send_list_rows.h"
#include "tests/model/model_fixture.h"

TEST_F(ModelTest, SendListRowsFollowTheControllersFeatures) {
    const std::map<std::string, CSendListRow> codes{
        {"T", {1, 1, 2601}},     {"O1s", {2, 1619, 2602}}, {"O1", {2, 1619, 2603}},
        {"O2", {2, 1620, 2604}}, {"O4", {2, 1622, 2605}},  {"N", {3, 66, 2606}},
        {"N4", {3, 67, 2607}},   {"N6", {3, 68, 2608}},    {"N8", {3, 69, 2609}},
        {"NW", {3, 70, 2610}},   {"P", {3, 74, 2611}},     {"B", {3, 75, 2612}},
        {"CT", {3, 71, 2613}},   {"IP1", {3, 72, 2614}},   {"IP2", {3, 73, 2615}},
        {"CC", {3, 76, 2616}},   {"G", {4, 1, 2617}},
    };
    constexpr DWORD kBoth = CCVConfig::kEthernetToMC | CCVConfig::kCascadeCosts;
    const struct {
        WORD flags;
        DWORD capabilities;
        BOOL seconds;
        const char* rows;
    } tables[] = {
        {0, kBoth, TRUE, "T O1s N P B G"},
        {0x04, kBoth, FALSE, "T O1 O2 O4 N P B G"},
        {0x04, 0, TRUE, "T O1s O2 O4 N P B G"},
        {0x10, kBoth, FALSE, "T O1s N4 N6 N8 NW P B G"},
        {0x14, 0, FALSE, "T O1 O2 O4 N4 N6 N8 NW P B G"},
        {0x14, CCVConfig::kEthernetToMC, FALSE, "T O1 O2 O4 N4 N6 N8 NW P B CT IP1 IP2 G"},
        {0x14, CCVConfig::kCascadeCosts, FALSE, "T O1 O2 O4 N4 N6 N8 NW P B CT IP1 IP2 CC G"},
    };
    for (const auto& table : tables) {
        Config().m_wFlags = table.flags;
        SetCapabilities(table.capabilities);
        std::vector<CSendListRow> expected;
        std::istringstream words(table.rows);
        for (std::string code; words >> code;)
            expected.push_back(codes.at(code));
        EXPECT_EQ(GetSendListRows(Config(), table.seconds), expected) << table.rows;
    }
}
