#include <gtest/gtest.h>

#include "doc_fixture.h"
#include "model/ip_text.h"
#include "platform/base/codepage.h"
#include "tests/support/recording_list.h"

using DocTextTest = DocTest;

namespace {

std::vector<CString> Texts(std::initializer_list<const char16_t*> texts) {
    return std::vector<CString>(texts.begin(), texts.end());
}

// The texts of some fields of one object.
std::vector<CString> FieldTexts(const CKelvardinDoc& doc, DWORD type, int index,
                                std::initializer_list<DWORD> fields) {
    std::vector<CString> texts;
    for (DWORD field : fields)
        texts.push_back(doc.GetObjectText(CObjSpec(type, static_cast<DWORD>(index), field)));
    return texts;
}

}  // namespace

TEST_F(DocTextTest, ValueTexts) {
    std::vector<CString> states;
    for (DWORD state : {0x05, 0x03, 0x0A, 0x08, 0x18})
        states.push_back(m_doc.GetTrunkStateText(state));
    EXPECT_EQ(states, Texts({u"Maint", u"In-Use", u"Alloc", u"Idle", u"?"}));
    std::vector<CString> bauds;
    for (int choice : {-1, 0, 1, 2, 3})
        bauds.push_back(m_doc.GetBaudRateText(choice));
    EXPECT_EQ(bauds, Texts({u" ", u" ", u"38.4K", u"9600", u" "}));
    EXPECT_EQ(m_doc.GetConnTypeText(2), CString(u" "));
    EXPECT_EQ(m_doc.GetResourceTypeText(8), CString());

    // Models 0-10 are named; 13-16 are known but unnamed; the rest are no model.
    std::vector<CString> models;
    for (int model : {0, 10, 11, 12, 13, 16, 17, -1})
        models.push_back(m_doc.GetIcomModelText(model));
    EXPECT_EQ(models, Texts({u"KX1100", u"Quillnet", u"-", u"-", u"?", u"?", u"-", u"-"}));

    CCommStat status;
    EXPECT_EQ(m_doc.GetCommStatText(status), CString(u"-"));
    status.m_code = 2;
    EXPECT_EQ(m_doc.GetCommStatText(status), CString(u"Bad KX1300"));
    status.m_ok = 1;
    EXPECT_EQ(m_doc.GetCommStatText(status), CString(u"OK KX1300"));
    // Codes without a name (13 is the active controller's) show the verdict alone.
    std::vector<CString> verdicts;
    for (auto [ok, code] : {std::pair{1, 13}, {1, 11}, {0, 16}, {0, 40}, {1, 127}}) {
        status.m_ok = ok;
        status.m_code = code;
        verdicts.push_back(m_doc.GetCommStatText(status));
    }
    EXPECT_EQ(verdicts, Texts({u"OK", u"OK", u"Bad", u"Bad", u"OK"}));
    EXPECT_EQ(FormatIPAddress(0xC0A80001), CString(u"192.168.0.1"));
}

TEST_F(DocTextTest, AssignmentTextRoundTrip) {
    std::vector<CString> texts;
    for (CAssign a : {CAssign(0, 0, 0), CAssign(0, 0, 98), CAssign(0, 0, 99), CAssign(0, 0, 998),
                      CAssign(0, 0, 999), CAssign(0, 2, 99), CAssign(0, 5, 150), CAssign(0, 7, 99),
                      CAssign(0, 7, 9), CAssign(0, 8, 9)})
        texts.push_back(FormatAssignText(a));
    EXPECT_EQ(texts, Texts({u"N001", u"N099", u"N100", u"N999", u"", u"F100", u"I151", u"L100",
                            u"IL10", u""}));

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
    EXPECT_EQ(FieldTexts(m_doc, 1, 4, {1, 2, 3, 7, 8, 9, 10, 13}),
              Texts({u"5", u"In-Use", u"-", u"0", u"1", u"1", u"-", u"-"}));
    EXPECT_EQ(FieldTexts(m_doc, 1, 999, {1}), Texts({u"-"}));

    CInspect inspect;
    inspect.SetSideId(true, 4);
    inspect.SetSideId(false, 11);
    inspect.SetEntryCount(true, 3);
    inspect.SetStates(true, 0, 0x02, 0x01);  // row A, row B
    inspect.SetStates(true, 1, 0x40, 0x42);
    inspect.SetStates(true, 2, 0x01, 0x00);
    m_doc.SetTrunkInspect(4, inspect);
    EXPECT_EQ(FieldTexts(m_doc, 1, 4, {10, 13}), Texts({u"5", u"12"}));
    // Side 2 has no entries: every mark is "-".
    for (DWORD field = 33; field <= 64; ++field)
        EXPECT_EQ(FieldTexts(m_doc, 1, 4, {field}), Texts({u"-"})) << field;

    // Side 1 is the longer side: entries 0, 1, 2 and 3 of the four blocks.
    inspect.SetEntryCount(false, 1);
    m_doc.SetTrunkInspect(4, inspect);
    EXPECT_EQ(FieldTexts(m_doc, 1, 4, {33, 41, 49, 57, 34, 42, 50, 58, 35, 43, 36}),
              Texts({u"Y", u"-", u"Y", u"-", u"-", u"*", u"-", u"*", u"-", u"Y", u"-"}));

    // Side 2 is the longer side: its rows B and A give the marks.
    inspect.SetEntryCount(true, 1);
    inspect.SetEntryCount(false, 2);
    inspect.SetStates(false, 1, 0x42, 0x01);
    m_doc.SetTrunkInspect(4, inspect);
    EXPECT_EQ(FieldTexts(m_doc, 1, 4, {34, 42, 50, 58, 35}), Texts({u"Y", u"-", u"Y", u"*", u"-"}));
}

TEST_F(DocTextTest, IntercomFieldTexts) {
    m_doc.SetIcomNameFromController(2, 6, u"STUDIO", FALSE);
    m_doc.SetIcomPrimaryIP(0x0A010203, TRUE, 2);
    m_doc.SetIcomComPort(0, TRUE, 2);
    EXPECT_EQ(FieldTexts(m_doc, 3, 2, {1, 65, 66, 68, 71, 72, 73, 74, 75, 76, 77}),
              Texts({u"3", u"MX03", u"", u"STUDIO", u"Serial", u"10.1.2.3", u"-", u"1", u"38.4K",
                     u"30", u"-"}));
    EXPECT_EQ(FieldTexts(m_doc, 3, 1, {74}), Texts({u""}));
    EXPECT_EQ(FieldTexts(m_doc, 3, 31, {1, 76}), Texts({u"", u""}));
    EXPECT_EQ(m_doc.GetIcomText(-1, 4, TRUE, TRUE), CString(u"All Intercoms"));
    EXPECT_EQ(m_doc.GetIcomText(31, 4, TRUE, TRUE), CString());
    Config().m_nAlphaSize = 6;
    EXPECT_EQ(FieldTexts(m_doc, 3, 2, {65}), Texts({u"STUDIO"}));

    // Summaries: count k towards intercom j; a negative index is the controller's own.
    CSummary summary;
    summary.m_counts = {5, 0, 0, 0, 2};
    m_doc.SetTrunkSummary(6, 2, summary);
    m_doc.SetTrunkSummary(6, -1, summary);
    EXPECT_EQ(FieldTexts(m_doc, 3, 2, {81 + 6, 336 + 6, 1101 + 6}), Texts({u"5", u"-", u"2"}));
    EXPECT_EQ(FieldTexts(m_doc, 3, 3, {81 + 6}), Texts({u"-"}));
    EXPECT_EQ(FieldTexts(m_doc, 3, -1, {81 + 6}), Texts({u"5"}));

    m_doc.SetIcomStatusFlags(2, 0x03);
    m_doc.SetIcomModel(2, 6);
    m_doc.SetIcomRemoteTrunkBase(2, 200);
    m_doc.SetIcomStatusText(2, u"ready");
    EXPECT_EQ(FieldTexts(m_doc, 3, 2, {1356, 1357, 1358, 1359, 1360, 1361, 1362}),
              Texts({u"OK QORA", u"1", u"1", u"QORA", u"-", u"200", u"ready"}));
}

TEST_F(DocTextTest, GroupAlphaOptionAndControllerTexts) {
    EXPECT_EQ(FieldTexts(m_doc, 4, 0, {1, 1363, 1364 + 30, 1364 + 31}),
              Texts({u"1", u"DefaultGroup", u"1", u"0"}));
    EXPECT_EQ(FieldTexts(m_doc, 4, 20, {1363, 1364}), Texts({u"", u"0"}));

    const CAssign key(2, 1, 149);
    m_doc.StoreAlpha(key, u"DESK");
    const int index = static_cast<int>(key.GetKey());
    EXPECT_EQ(FieldTexts(m_doc, 5, index, {66, 1623, 1624, 1625, 1626, 1627}),
              Texts({u"MX03", u"3", u"PL", u"150", u"DESK    ", u"P150"}));
    EXPECT_EQ(FieldTexts(m_doc, 5, index + 1, {1626}), Texts({u""}));

    EXPECT_EQ(FieldTexts(m_doc, 2, 0, {1619, 1620, 1621, 1363}),
              Texts({u"1", u"0", u"", u"Trunk Allocation Options"}));

    Config().m_commErrs[1].m_errorsTo = 7;
    Config().m_commStat[0].m_ok = 1;
    Config().m_commStat[0].m_code = 0;
    EXPECT_EQ(FieldTexts(m_doc, 6, 0, {1, 77, 1356}), Texts({u"Active", u"-", u"-"}));
    EXPECT_EQ(FieldTexts(m_doc, 6, 1, {1, 77}), Texts({u"Standby", u"7"}));
    m_app.SetMode(CAppState::kModeOnline);
    EXPECT_EQ(FieldTexts(m_doc, 6, 0, {1356}), Texts({u"OK KX1100"}));
}

TEST_F(DocTextTest, MemoryTexts) {
    CFakeMemoryPage page(0x2000);
    m_doc.SetMemoryPage(&page);
    const char text[] = "Kelvardin\x01memory";
    std::copy(std::begin(text), std::end(text) - 1, page.m_image.begin() + 238);
    page.m_image[0] = 0xAB;
    page.m_writeValues[0] = 0x0C;

    EXPECT_EQ(FieldTexts(m_doc, 6, 0x2000, {1629}), Texts({u"-"}));  // FILE mode
    m_app.SetMode(CAppState::kModeOnline);
    EXPECT_EQ(FieldTexts(m_doc, 6, 0x2000, {1629}), Texts({u"ab"}));
    page.m_writeBits.SetBit(0, TRUE);
    EXPECT_EQ(FieldTexts(m_doc, 6, 0x2000, {1629}), Texts({u"0c"}));
    EXPECT_EQ(FieldTexts(m_doc, 6, 0x2000 + 255, {1629, 1630}), Texts({u"-", u"-"}));
    // Non-printable bytes and bytes beyond the page show as dots.
    EXPECT_EQ(FieldTexts(m_doc, 6, 0x2000 + 238, {1630}), Texts({u"Kelvardi n.memory"}));
    EXPECT_EQ(FieldTexts(m_doc, 6, 0x2000 + 246, {1630}), Texts({u"n.memory ........"}));
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
    EXPECT_EQ(baud.Texts(), Texts({u" ", u"38.4K", u"9600"}));
    EXPECT_EQ(baud.Data(), (std::vector<LPARAM>{-1, 1, 2}));
    CRecordingList none;
    EXPECT_FALSE(m_doc.FillChoiceCombo(CTrunkSpec(0, 75), none));
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
