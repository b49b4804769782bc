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
        {0, kBoth, TRUE, "T O1s N P B G"},
        {0x04, kBoth, FALSE, "T O1 O2 O4 N P B G"},
        {0x04, 0, TRUE, "T O1s O2 O4 N P B G"},
        // The wide names only with UnicodeSupport, connection types and addresses only with
        // EthernetToMC: no row names data that a send leaves out.
        {0x10, kBoth, FALSE, "T O1s N4 N6 N8 P B G"},
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
    // The message that carries each row's data (name formats 1-4, address sets 0-1).
    const std::map<DWORD, std::pair<DWORD, int>> carrier{
        {67, {kCmdSetNames, 1}},       {68, {kCmdSetNames, 2}},    {69, {kCmdSetNames, 3}},
        {70, {kCmdSetNames, 4}},       {71, {kCmdSetIcomConn, 0}}, {72, {kCmdSetIcomAddress, 0}},
        {73, {kCmdSetIcomAddress, 1}}, {74, {kCmdSetIcomPort, 0}}, {75, {kCmdSetIcomBaud, 0}},
        {76, {kCmdSetIcomCost, 0}},
    };
    constexpr DWORD kBoth = CCVConfig::kEthernetToMC | CCVConfig::kCascadeCosts;
    for (auto [flags, capabilities] : {std::pair<WORD, DWORD>{0x14, 0},
                                       {0x14, kBoth},
                                       {0x54, kBoth},
                                       {0x14, CCVConfig::kCascadeCosts},
                                       {0x14, CCVConfig::kEthernetToMC}}) {
        SCOPED_TRACE(flags);
        SCOPED_TRACE(capabilities);
        Configure(flags, capabilities);
        // A 4-character name typed into an unnamed intercom brings its companions along, the
        // wide name among them.
        ASSERT_TRUE(m_doc.SetObjectField(CIcomSpec(2, CIntercom::kFieldName4), u"ALFA", TRUE));
        ASSERT_TRUE(m_doc.IsModified(CIcomSpec(2, CIntercom::kFieldName8W)));
        Icom(5).SetModified(1, TRUE);  // every intercom field changed

        std::set<std::pair<DWORD, int>> listed;
        for (const CSendListRow& row : GetSendListRows(Config(), FALSE)) {
            if (row.objectType != CObjSpec::kIntercom) continue;
            if (!m_doc.IsModified(CIcomSpec(2, row.fieldId)) &&
                !m_doc.IsModified(CIcomSpec(5, row.fieldId)))
                continue;
            listed.insert(carrier.at(row.fieldId));
        }
        EXPECT_EQ(listed, Sent(m_doc));
    }
}
