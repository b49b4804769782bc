#include <gtest/gtest.h>

#include "doc_fixture.h"
#include "model/ip_text.h"
#include "platform/base/codepage.h"
#include "tests/support/recording_list.h"

using DocTextTest = DocTest;

namespace {

CString Text(const CKelvardinDoc& doc, DWORD type, int index, DWORD field) {
    return doc.GetObjectText(CObjSpec(type, static_cast<DWORD>(index), field));
}

std::vector<CString> Texts(std::initializer_list<const char16_t*> texts) {
    return std::vector<CString>(texts.begin(), texts.end());
}

}  // namespace

TEST_F(DocTextTest, ValueTexts) {
    EXPECT_EQ(m_doc.GetTrunkStateText(0x05), CString(u"Maint"));
    EXPECT_EQ(m_doc.GetTrunkStateText(0x03), CString(u"In-Use"));
    EXPECT_EQ(m_doc.GetTrunkStateText(0x0A), CString(u"Alloc"));
    EXPECT_EQ(m_doc.GetTrunkStateText(0x08), CString(u"Idle"));
    EXPECT_EQ(m_doc.GetTrunkStateText(0x00), CString(u"Idle"));
    EXPECT_EQ(m_doc.GetTrunkStateText(0x18), CString(u"?"));

    EXPECT_EQ(m_doc.GetConnTypeText(1), CString(u"Network"));
    EXPECT_EQ(m_doc.GetConnTypeText(2), CString(u" "));
    EXPECT_EQ(m_doc.GetBaudRateText(0), CString(u" "));
    EXPECT_EQ(m_doc.GetBaudRateText(1), CString(u"38.4K"));
    EXPECT_EQ(m_doc.GetBaudRateText(2), CString(u"9600"));
    EXPECT_EQ(m_doc.GetBaudRateText(3), CString(u" "));
    EXPECT_EQ(m_doc.GetResourceTypeText(7), CString(u"IFBSL"));
    EXPECT_EQ(m_doc.GetResourceTypeText(8), CString());

    EXPECT_EQ(m_doc.GetIcomModelText(0), CString(u"KX1100"));
    EXPECT_EQ(m_doc.GetIcomModelText(10), CString(u"Quillnet"));
    for (int unknown : {-1, 11, 12, 17, 127})
        EXPECT_EQ(m_doc.GetIcomModelText(unknown), CString(u"-")) << unknown;
    for (int unnamed : {13, 16})
        EXPECT_EQ(m_doc.GetIcomModelText(unnamed), CString(u"?")) << unnamed;

    CCommStat status;
    EXPECT_EQ(m_doc.GetCommStatText(status), CString(u"-"));
    status.m_code = 2;
    EXPECT_EQ(m_doc.GetCommStatText(status), CString(u"Bad KX1300"));
    status.m_ok = 1;
    EXPECT_EQ(m_doc.GetCommStatText(status), CString(u"OK KX1300"));

    EXPECT_EQ(FormatIPAddress(0), CString(u"-"));
    EXPECT_EQ(FormatIPAddress(0xC0A80001), CString(u"192.168.0.1"));
}

TEST_F(DocTextTest, AssignmentTextRoundTrip) {
    EXPECT_EQ(FormatAssignText(CAssign(0, 0, 0)), CString(u"N001"));
    EXPECT_EQ(FormatAssignText(CAssign(0, 0, 98)), CString(u"N099"));
    EXPECT_EQ(FormatAssignText(CAssign(0, 0, 99)), CString(u"N100"));
    EXPECT_EQ(FormatAssignText(CAssign(0, 0, 998)), CString(u"N999"));
    EXPECT_EQ(FormatAssignText(CAssign(0, 0, 999)), CString());
    EXPECT_EQ(FormatAssignText(CAssign(0, 1, 0)), CString(u"PL01"));
    EXPECT_EQ(FormatAssignText(CAssign(0, 2, 99)), CString(u"F100"));
    EXPECT_EQ(FormatAssignText(CAssign(0, 5, 150)), CString(u"I151"));
    EXPECT_EQ(FormatAssignText(CAssign(0, 7, 99)), CString(u"L100"));
    EXPECT_EQ(FormatAssignText(CAssign(0, 7, 9)), CString(u"IL10"));
    EXPECT_EQ(FormatAssignText(CAssign(0, 8, 9)), CString());

    Config().m_wFlags = CCVConfig::kNewCorvane;
    SetCapabilities(CCVConfig::kIFBSLSupport);
    for (BYTE type = 0; type < kAlphaListCount; ++type) {
        for (WORD number = 0; number <= 998; ++number) {
            const CString text = FormatAssignText(CAssign(0, type, number));
            int parsedType = -1, parsedNumber = -1;
            ASSERT_TRUE(CKelvardinDoc::ParseAssignText(text, parsedType, parsedNumber))
                << ToUtf8(text);
            ASSERT_EQ(parsedType, type) << ToUtf8(text);
            ASSERT_EQ(parsedNumber, number) << ToUtf8(text);
        }
    }

    int type = 0, number = 0;
    EXPECT_TRUE(CKelvardinDoc::ParseAssignText(u"N005", type, number));
    EXPECT_EQ(type, 0);
    EXPECT_EQ(number, 4);
    for (const char16_t* bad : {u"", u"12", u"PL", u"XY01", u"PLX01", u"PL1A", u"N0", u"N1000",
                                u"pl01", u"N00000000000000000001000"}) {
        EXPECT_FALSE(CKelvardinDoc::ParseAssignText(bad, type, number)) << ToUtf8(bad);
    }

    // UR and IFBSL only where the controller has them.
    Config().m_wFlags = 0;
    SetCapabilities(0);
    EXPECT_FALSE(CKelvardinDoc::ParseAssignText(u"UR01", type, number));
    EXPECT_EQ(type, 6);
    EXPECT_FALSE(CKelvardinDoc::ParseAssignText(u"L100", type, number));
    EXPECT_TRUE(CKelvardinDoc::ParseAssignText(u"RY01", type, number));
}

TEST_F(DocTextTest, TrunkFieldTexts) {
    auto* trunk = dynamic_cast<CTrunk*>(m_doc.FindObject(CTrunkSpec(4, 1)));
    trunk->SetState(0x09);
    trunk->SetFixed(TRUE, FALSE);
    EXPECT_EQ(Text(m_doc, 1, 4, 1), CString(u"5"));
    EXPECT_EQ(Text(m_doc, 1, 4, 2), CString(u"In-Use"));
    EXPECT_EQ(Text(m_doc, 1, 4, 3), CString(u"-"));
    EXPECT_EQ(Text(m_doc, 1, 4, 7), CString(u"0"));
    EXPECT_EQ(Text(m_doc, 1, 4, 8), CString(u"1"));
    EXPECT_EQ(Text(m_doc, 1, 4, 9), CString(u"1"));
    EXPECT_EQ(Text(m_doc, 1, 4, 10), CString(u"-"));
    EXPECT_EQ(Text(m_doc, 1, 999, 1), CString(u"-"));

    CInspect inspect;
    inspect.SetSideId(true, 4);
    inspect.SetSideId(false, 11);
    inspect.SetEntryCount(true, 3);
    inspect.SetStates(true, 0, 0x02, 0x01);  // row A, row B
    inspect.SetStates(true, 1, 0x40, 0x42);
    inspect.SetStates(true, 2, 0x01, 0x00);
    m_doc.SetTrunkInspect(4, inspect);
    EXPECT_EQ(Text(m_doc, 1, 4, 10), CString(u"5"));
    EXPECT_EQ(Text(m_doc, 1, 4, 13), CString(u"12"));
    // Side 2 has no entries: every mark is "-".
    for (DWORD field = 33; field <= 64; ++field)
        EXPECT_EQ(Text(m_doc, 1, 4, field), CString(u"-")) << field;

    // Side 1 is the longer side.
    inspect.SetEntryCount(false, 1);
    m_doc.SetTrunkInspect(4, inspect);
    const std::vector<CString> side1Long = {
        Text(m_doc, 1, 4, 33), Text(m_doc, 1, 4, 41), Text(m_doc, 1, 4, 49), Text(m_doc, 1, 4, 57),
        Text(m_doc, 1, 4, 34), Text(m_doc, 1, 4, 42), Text(m_doc, 1, 4, 50), Text(m_doc, 1, 4, 58),
        Text(m_doc, 1, 4, 35), Text(m_doc, 1, 4, 43), Text(m_doc, 1, 4, 36)};
    EXPECT_EQ(side1Long, Texts({u"Y", u"-", u"Y", u"-", u"-", u"*", u"-", u"*", u"-", u"Y", u"-"}));

    // Side 2 is the longer side: its rows B and A give the marks.
    inspect.SetEntryCount(true, 1);
    inspect.SetEntryCount(false, 2);
    inspect.SetStates(false, 1, 0x42, 0x01);
    m_doc.SetTrunkInspect(4, inspect);
    EXPECT_EQ(Text(m_doc, 1, 4, 34), CString(u"Y"));  // side 2 row B & 0x01
    EXPECT_EQ(Text(m_doc, 1, 4, 42), CString(u"-"));  // side 2 row B & 0x42
    EXPECT_EQ(Text(m_doc, 1, 4, 50), CString(u"Y"));  // side 2 row A & 0x02
    EXPECT_EQ(Text(m_doc, 1, 4, 58), CString(u"*"));  // side 2 row A & 0x41
    EXPECT_EQ(Text(m_doc, 1, 4, 35), CString(u"-"));  // beyond the longer side
}

TEST_F(DocTextTest, IntercomFieldTexts) {
    m_doc.SetIcomNameFromController(2, 6, u"STUDIO", FALSE);
    m_doc.SetIcomPrimaryIP(0x0A010203, TRUE, 2);
    m_doc.SetIcomComPort(0, TRUE, 2);
    EXPECT_EQ(Text(m_doc, 3, 2, 1), CString(u"3"));
    EXPECT_EQ(Text(m_doc, 3, 2, 65), CString(u"MX03"));
    EXPECT_EQ(Text(m_doc, 3, 2, 66), CString());
    EXPECT_EQ(Text(m_doc, 3, 2, 68), CString(u"STUDIO"));
    EXPECT_EQ(m_doc.GetIcomText(2, 4, TRUE, TRUE), CString(u"MX03"));
    EXPECT_EQ(m_doc.GetIcomText(2, 4, FALSE, FALSE), CString(u"    "));
    EXPECT_EQ(m_doc.GetIcomText(-1, 4, TRUE, TRUE), CString(u"All Intercoms"));
    EXPECT_EQ(m_doc.GetIcomText(31, 4, TRUE, TRUE), CString());
    EXPECT_EQ(m_doc.GetIcomPortText(30), CString(u"MX31"));
    EXPECT_EQ(m_doc.GetIcomPortText(31), CString());

    Config().m_nAlphaSize = 6;
    EXPECT_EQ(Text(m_doc, 3, 2, 65), CString(u"STUDIO"));
    EXPECT_EQ(Text(m_doc, 3, 2, 71), CString(u"Serial"));
    EXPECT_EQ(Text(m_doc, 3, 2, 72), CString(u"10.1.2.3"));
    EXPECT_EQ(Text(m_doc, 3, 2, 73), CString(u"-"));
    EXPECT_EQ(Text(m_doc, 3, 2, 74), CString(u"1"));
    EXPECT_EQ(Text(m_doc, 3, 1, 74), CString());
    EXPECT_EQ(Text(m_doc, 3, 2, 75), CString(u"38.4K"));
    EXPECT_EQ(Text(m_doc, 3, 2, 76), CString(u"30"));
    EXPECT_EQ(Text(m_doc, 3, 2, 77), CString(u"-"));
    EXPECT_EQ(Text(m_doc, 3, 31, 76), CString());

    // Summaries: count k towards intercom j; a negative index is the controller's own.
    CSummary summary;
    summary.m_counts = {5, 0, 0, 0, 2};
    m_doc.SetTrunkSummary(6, 2, summary);
    m_doc.SetTrunkSummary(6, -1, summary);
    EXPECT_EQ(Text(m_doc, 3, 2, 81 + 6), CString(u"5"));
    EXPECT_EQ(Text(m_doc, 3, 2, 336 + 6), CString(u"-"));
    EXPECT_EQ(Text(m_doc, 3, 2, 1101 + 6), CString(u"2"));
    EXPECT_EQ(Text(m_doc, 3, 3, 81 + 6), CString(u"-"));
    EXPECT_EQ(Text(m_doc, 3, -1, 81 + 6), CString(u"5"));

    m_doc.SetIcomStatusFlags(2, 0x03);
    m_doc.SetIcomModel(2, 6);
    m_doc.SetIcomRemoteTrunkBase(2, 200);
    m_doc.SetIcomStatusText(2, u"ready");
    EXPECT_EQ(Text(m_doc, 3, 2, 1356), CString(u"OK QORA"));
    EXPECT_EQ(Text(m_doc, 3, 2, 1357), CString(u"1"));
    EXPECT_EQ(Text(m_doc, 3, 2, 1359), CString(u"QORA"));
    EXPECT_EQ(Text(m_doc, 3, 2, 1360), CString(u"-"));
    EXPECT_EQ(Text(m_doc, 3, 2, 1361), CString(u"200"));
    EXPECT_EQ(Text(m_doc, 3, 2, 1362), CString(u"ready"));
}

TEST_F(DocTextTest, GroupAlphaAndControllerTexts) {
    EXPECT_EQ(Text(m_doc, 4, 0, 1), CString(u"1"));
    EXPECT_EQ(Text(m_doc, 4, 0, 1363), CString(u"DefaultGroup"));
    EXPECT_EQ(Text(m_doc, 4, 0, 1364 + 30), CString(u"1"));
    EXPECT_EQ(Text(m_doc, 4, 0, 1364 + 31), CString(u"0"));
    EXPECT_EQ(Text(m_doc, 4, 20, 1364), CString(u"0"));
    EXPECT_EQ(Text(m_doc, 4, 20, 1363), CString());

    const CAssign key(2, 1, 149);
    m_doc.StoreAlpha(key, u"DESK");
    const int index = static_cast<int>(key.GetKey());
    EXPECT_EQ(Text(m_doc, 5, index, 66), CString(u"MX03"));
    EXPECT_EQ(Text(m_doc, 5, index, 1623), CString(u"3"));
    EXPECT_EQ(Text(m_doc, 5, index, 1624), CString(u"PL"));
    EXPECT_EQ(Text(m_doc, 5, index, 1625), CString(u"150"));
    EXPECT_EQ(Text(m_doc, 5, index, 1626), CString(u"DESK    "));
    EXPECT_EQ(Text(m_doc, 5, index, 1627), CString(u"P150"));
    EXPECT_EQ(Text(m_doc, 5, index + 1, 1626), CString());

    EXPECT_EQ(Text(m_doc, 2, 0, 1619), CString(u"1"));
    EXPECT_EQ(Text(m_doc, 2, 0, 1620), CString(u"0"));
    EXPECT_EQ(Text(m_doc, 2, 0, 1363), CString(u"Trunk Allocation Options"));
    EXPECT_EQ(Text(m_doc, 2, 0, 1621), CString());

    Config().m_commErrs[1].m_errorsTo = 7;
    Config().m_commStat[0].m_ok = 1;
    Config().m_commStat[0].m_code = 0;
    EXPECT_EQ(Text(m_doc, 6, 0, 1), CString(u"Active"));
    EXPECT_EQ(Text(m_doc, 6, 1, 1), CString(u"Standby"));
    EXPECT_EQ(Text(m_doc, 6, 1, 77), CString(u"7"));
    EXPECT_EQ(Text(m_doc, 6, 0, 77), CString(u"-"));
    EXPECT_EQ(Text(m_doc, 6, 0, 1356), CString(u"-"));
    m_app.SetMode(CAppState::kModeOnline);
    EXPECT_EQ(Text(m_doc, 6, 0, 1356), CString(u"OK KX1100"));
    EXPECT_EQ(Text(m_doc, 7, 0, 1), CString());
}

TEST_F(DocTextTest, MemoryTexts) {
    CFakeMemoryPage page(0x2000);
    m_doc.SetMemoryPage(&page);
    const char text[] = "Kelvardin\x01memory";
    std::copy(std::begin(text), std::end(text) - 1, page.m_image.begin() + 238);
    page.m_image[0] = 0xAB;
    page.m_writeValues[0] = 0x0C;

    EXPECT_EQ(Text(m_doc, 6, 0x2000, 1629), CString(u"-"));  // FILE mode
    m_app.SetMode(CAppState::kModeOnline);
    EXPECT_EQ(Text(m_doc, 6, 0x2000, 1629), CString(u"ab"));
    page.m_writeBits.SetBit(0, TRUE);
    EXPECT_EQ(Text(m_doc, 6, 0x2000, 1629), CString(u"0c"));
    EXPECT_EQ(Text(m_doc, 6, 0x2000 + 255, 1629), CString(u"-"));
    EXPECT_EQ(Text(m_doc, 6, 0x1FFF, 1630), CString(u"-"));
    // Non-printable bytes and bytes beyond the page show as dots.
    EXPECT_EQ(Text(m_doc, 6, 0x2000 + 238, 1630), CString(u"Kelvardi n.memory"));
    EXPECT_EQ(Text(m_doc, 6, 0x2000 + 246, 1630), CString(u"n.memory ........"));
}

TEST_F(DocTextTest, IntercomAndTrunkLists) {
    m_app.m_nVisibleIntercoms = 4;
    for (auto [icom, name] : {std::pair{0, u"ZULU"}, {2, u"ALFA"}, {3, u"MIKE"}, {5, u"HIDE"}})
        m_doc.SetIcomNameFromController(icom, 4, name, FALSE);

    CRecordingList combo(true);
    m_doc.FillIcomCombo(combo, TRUE, TRUE, TRUE);
    EXPECT_EQ(combo.Texts(),
              Texts({u"All Intercoms", u"Selected Intercoms", u"ALFA", u"MIKE", u"ZULU"}));
    EXPECT_EQ(combo.Data(), (std::vector<LPARAM>{-1, -2, 2, 3, 0}));

    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    CRecordingList byNumber(true);
    m_doc.FillIcomCombo(byNumber, FALSE, FALSE, TRUE);
    EXPECT_EQ(byNumber.Texts(), Texts({u"Any Intercom", u"ZULU", u"ALFA", u"MIKE"}));

    CRecordingList list;
    list.AddColumn(u"Mine");
    list.InsertItem(-1, u"stale", 9);
    m_doc.FillIcomList(list, TRUE);
    EXPECT_EQ(list.m_headings, Texts({u"Mine"}));
    EXPECT_EQ(list.Texts(), Texts({u"All Intercoms", u"ZULU", u"ALFA", u"MIKE"}));

    Reset();  // every name empty: only the added entries
    CRecordingList empty;
    m_doc.FillIcomCombo(empty, TRUE, FALSE, FALSE);
    EXPECT_EQ(empty.Texts(), Texts({u"Selected Intercoms"}));

    m_app.m_nVisibleTrunks = 3;
    CRecordingList trunks;
    m_doc.FillTrunkList(trunks);
    m_doc.FillTrunkList(trunks);
    EXPECT_EQ(trunks.m_headings, Texts({u"Trunk"}));
    EXPECT_EQ(trunks.Texts(), Texts({u"Trunk #1", u"Trunk #2", u"Trunk #3"}));
    EXPECT_EQ(trunks.Data(), (std::vector<LPARAM>{0, 1, 2}));
}

TEST_F(DocTextTest, TypeAndChoiceLists) {
    CRecordingList types;
    m_doc.FillTypeList(types, TRUE);
    EXPECT_EQ(types.Texts(), Texts({u"All Types", u"PP", u"PL", u"IFB", u"SL", u"RY", u"ISO"}));
    Config().m_wFlags = CCVConfig::kNewCorvane;
    SetCapabilities(CCVConfig::kIFBSLSupport);
    m_doc.FillTypeList(types, FALSE);
    EXPECT_EQ(types.Texts(), Texts({u"PP", u"PL", u"IFB", u"SL", u"RY", u"ISO", u"UR", u"IFBSL"}));
    EXPECT_EQ(types.Data().back(), 7);

    CRecordingList baud;
    EXPECT_TRUE(m_doc.FillChoiceCombo(CIcomSpec(0, 75), baud));
    EXPECT_EQ(baud.Texts(), Texts({u"38.4K", u"9600"}));
    EXPECT_EQ(baud.Data(), (std::vector<LPARAM>{1, 2}));
    CRecordingList conn;
    EXPECT_TRUE(m_doc.FillChoiceCombo(CIcomSpec(0, 71), conn));
    EXPECT_EQ(conn.Texts(), Texts({u"Serial", u"Network"}));
    CRecordingList none;
    EXPECT_FALSE(m_doc.FillChoiceCombo(CIcomSpec(0, 74), none));
    EXPECT_FALSE(m_doc.FillChoiceCombo(CTrunkSpec(0, 75), none));
    EXPECT_TRUE(none.m_rows.empty());
}

TEST_F(DocTextTest, ObjectListsOfThePartialSave) {
    Config().m_wNumTrunks = 3;
    Reset();
    auto* trunk = dynamic_cast<CTrunk*>(m_doc.FindObject(CTrunkSpec(1, 1)));
    trunk->SetEndpoint(TRUE, CAssign(2, 0, 0), FALSE);
    trunk->SetFlags(CCVObject::kPartialChoice, TRUE);
    m_doc.SetIcomNameFromController(2, 4, u"DESK", FALSE);

    CRecordingList available, chosen;
    const DWORD fields[] = {1, 3, 2};
    const DWORD seconds[] = {0, 66, 0};
    m_doc.FillObjectList(CObjSpec::kTrunk, fields, CObjSpec::kAlpha, seconds, &available, &chosen);
    EXPECT_EQ(available.Texts(), Texts({u"1", u"3"}));
    EXPECT_EQ(available.Data(), (std::vector<LPARAM>{0, 2}));
    ASSERT_EQ(chosen.m_rows.size(), 1u);
    EXPECT_EQ(chosen.m_rows[0].text, CString(u"2"));
    EXPECT_EQ(chosen.m_rows[0].columns, Texts({u"DESK", u"Idle"}));
    EXPECT_EQ(chosen.m_redrawCalls, (std::vector<BOOL>{FALSE, TRUE}));

    CRecordingList groups;
    const DWORD groupFields[] = {1, 1363};
    m_doc.FillObjectList(CObjSpec::kGroup, groupFields, 0, {}, &groups, nullptr);
    ASSERT_EQ(groups.m_rows.size(), 20u);
    EXPECT_EQ(groups.m_rows[0].columns, Texts({u"DefaultGroup"}));
}
