#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "link/command_codes.h"
#include "link/cv_data_send_all.h"
#include "model/cv_config.h"
#include "shell/io/send_list_rows.h"
#include "tests/model/doc_fixture.h"

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
        // Connection types, addresses and cascade costs go with their capability alone.
        {0, kBoth, TRUE, "T O1s N P B CT IP1 IP2 CC G"},
        {0x04, kBoth, FALSE, "T O1 O2 O4 N P B CT IP1 IP2 CC G"},
        {0x04, 0, TRUE, "T O1s O2 O4 N P B G"},
        {0x04, CCVConfig::kCascadeCosts, FALSE, "T O1 O2 O4 N P B CC G"},
        // The wide names only with UnicodeSupport, connection types and addresses only with
        // EthernetToMC: no row names data that a send leaves out.
        {0x10, kBoth, FALSE, "T O1s N4 N6 N8 P B CT IP1 IP2 CC G"},
        {0x50, 0, FALSE, "T O1s N4 N6 N8 NW P B G"},
        {0x14, 0, FALSE, "T O1 O2 O4 N4 N6 N8 P B G"},
        {0x14, CCVConfig::kEthernetToMC, FALSE, "T O1 O2 O4 N4 N6 N8 P B CT IP1 IP2 G"},
        {0x14, CCVConfig::kCascadeCosts, FALSE, "T O1 O2 O4 N4 N6 N8 P B CC G"},
        {0x54, kBoth, FALSE, "T O1 O2 O4 N4 N6 N8 NW P B CT IP1 IP2 CC G"},
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

namespace {

using SendListTest = DocTest;

// What a send of the document carries: each message's code, with the name format of a names
// message and the address set of an address message.
std::set<std::pair<DWORD, int>> Sent(CKelvardinDoc& doc) {
    CCVDataSendAll source([&] { return &doc; });
    source.Reset();
    std::set<std::pair<DWORD, int>> sent;
    for (CMessage message; source.BuildNext(message);) {
        int detail = 0;
        if (message.command == kCmdSetNames) detail = message.payload[2] >> 4;
        if (message.command == kCmdSetIcomAddress) detail = message.payload[0];
        sent.insert({message.command, detail});
    }
    return sent;
}

}  // namespace

TEST_F(SendListTest, TheListShowsWhatTheSendCarriesAndNothingElse) {
    // The message that carries each row's data (name formats 0-4, address sets 0-1), by the
    // row's record type and field.
    using Field = std::pair<int, DWORD>;
    const std::map<Field, std::pair<DWORD, int>> carrier{
        {{1, 1}, {kCmdSetTrunkDefs, 0}},    {{2, 1619}, {kCmdSetTimeoutMinutes, 0}},
        {{2, 1620}, {kCmdSetAutoClear, 0}}, {{2, 1622}, {kCmdSetWaitForTalkKey, 0}},
        {{3, 66}, {kCmdSetNames, 0}},       {{3, 67}, {kCmdSetNames, 1}},
        {{3, 68}, {kCmdSetNames, 2}},       {{3, 69}, {kCmdSetNames, 3}},
        {{3, 70}, {kCmdSetNames, 4}},       {{3, 71}, {kCmdSetIcomConn, 0}},
        {{3, 72}, {kCmdSetIcomAddress, 0}}, {{3, 73}, {kCmdSetIcomAddress, 1}},
        {{3, 74}, {kCmdSetIcomPort, 0}},    {{3, 75}, {kCmdSetIcomBaud, 0}},
        {{3, 76}, {kCmdSetIcomCost, 0}},    {{4, 1}, {kCmdSetGroups, 0}},
    };
    constexpr DWORD kBoth = CCVConfig::kEthernetToMC | CCVConfig::kCascadeCosts;
    for (auto [flags, capabilities] : {std::pair<WORD, DWORD>{0x14, 0},
                                       {0x14, kBoth},
                                       {0x54, kBoth},
                                       {0x14, CCVConfig::kCascadeCosts},
                                       {0x14, CCVConfig::kEthernetToMC},
                                       {0x10, kBoth},
                                       {0x04, kBoth},
                                       {0x00, CCVConfig::kEthernetToMC},
                                       {0x50, CCVConfig::kCascadeCosts}}) {
        SCOPED_TRACE(flags);
        SCOPED_TRACE(capabilities);
        Configure(flags, capabilities);
        // A 4-character name typed into an unnamed intercom brings its companions along, the
        // wide name among them.
        ASSERT_TRUE(m_doc.SetObjectField(CIcomSpec(2, CIntercom::kFieldName4), u"ALFA", TRUE));
        ASSERT_TRUE(m_doc.IsModified(CIcomSpec(2, CIntercom::kFieldName8W)));
        Icom(5).SetModified(1, TRUE);  // every intercom field changed
        m_doc.SetModified(CTrunkSpec(7, CTrunk::kFieldEnd1), TRUE);
        for (DWORD option : {1619, 1620, 1622})
            m_doc.SetModified(COptionSpec(option), TRUE);
        m_doc.SetModified(CGroupSpec(3, CGroup::kFieldName), TRUE);

        std::set<std::pair<DWORD, int>> listed;
        for (const CSendListRow& row : GetSendListRows(Config(), FALSE)) {
            for (int i = 0; i < Config().GetObjectCount(row.objectType, FALSE); ++i) {
                const CObjSpec field(DWORD(row.objectType), DWORD(i), row.fieldId);
                if (m_doc.IsModified(field))
                    listed.insert(carrier.at({row.objectType, row.fieldId}));
            }
        }
        EXPECT_EQ(listed, Sent(m_doc));
    }
}
