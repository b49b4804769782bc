#include "model/value_records.h"
#include "platform/ui/sys_info.h"
#include "screens/cells/bool_grid_cell.h"
#include "screens/cells/cell_compare.h"
#include "screens/cells/choice_grid_cells.h"
#include "screens/cells/combo_grid_cell.h"
#include "screens/cells/inspect_grid_cell.h"
#include "screens/cells/ip_addr_grid_cell.h"
#include "tests/screens/screen_fixture.h"
#include "tests/support/recording_dc.h"

namespace {

class GridCellsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (int i = 0; const char16_t* name : {u"ALFA", u"BRAV", u"CHAR"})
            NameIcom(i++, name);
    }
    // What a key typed on the cell does, as the grid starts an edit with it.
    BOOL Key(CTestScreen& screen, int row, int col, UINT ch) {
        CRect rect;
        screen.GetGrid()->GetCellRect(row, col, &rect);
        return screen.Cell(row, col).Edit(row, col, rect, CPoint(-1, -1), 8, ch);
    }
};

TEST_F(GridCellsTest, ColoursGoReadOnlyThenChangedThenProblematicAndChangedCellsHighlightText) {
    // The remote-trunking start of 254 with three named intercoms runs past 255.
    m_doc.SetIcomRemoteTrunkBase(1, 254);
    CBitArray ports(64);
    ports.SetBit(7, TRUE);
    m_doc.SetIcomRemoteTrunkSet(1, ports);
    dynamic_cast<CTrunk&>(*m_doc.FindObject(CTrunkSpec(0, 1)))
        .SetEndpoint(TRUE, CAssign(1, 0, 7), FALSE);
    auto icoms = Show({{0, false, CObjSpec::kIntercom, 1, nullptr, nullptr},
                       {0, false, CObjSpec::kIntercom, 67, nullptr, nullptr},
                       {0, false, CObjSpec::kIntercom, 1361, nullptr, nullptr}},
                      3);
    EXPECT_EQ(icoms->Cell(2, 2).GetBackClr(), m_app.m_clrProblematicBackground);
    EXPECT_EQ(icoms->Cell(1, 2).GetBackClr(), m_app.m_clrReadOnlyBackground);
    EXPECT_EQ(icoms->Cell(1, 1).GetBackClr(), CLR_DEFAULT);
    EXPECT_EQ(icoms->Cell(1, 1).GetSelectedTextClr(), GetSysColor(COLOR_HIGHLIGHTTEXT));
    ASSERT_TRUE(icoms->Cell(1, 1).SetValueText(u"ECHO"));
    EXPECT_EQ(icoms->Cell(1, 1).GetBackClr(), m_app.m_clrChangedBackground);
    EXPECT_EQ(icoms->Cell(1, 1).GetSelectedTextClr(), m_app.m_clrChangedHighlightText);
    // Read-only beats changed.
    icoms->GetGrid()->SetItemState(1, 1, icoms->GetGrid()->GetItemState(1, 1) | CELL_READONLY);
    EXPECT_EQ(icoms->Cell(1, 1).GetBackClr(), m_app.m_clrReadOnlyBackground);
    EXPECT_EQ(icoms->Cell(1, 1).GetSelectedTextClr(), GetSysColor(COLOR_HIGHLIGHTTEXT));

    // A trunk end on a port kept for remote trunking: problematic until changed.
    auto trunks = Show({{0, false, CObjSpec::kTrunk, 1, nullptr, nullptr},
                        {0, false, CObjSpec::kTrunk, CTrunk::kFieldEnd1, nullptr, nullptr}},
                       2);
    EXPECT_EQ(trunks->Cell(1, 1).GetBackClr(), m_app.m_clrProblematicBackground);
    EXPECT_EQ(trunks->Cell(2, 1).GetBackClr(), CLR_DEFAULT);
    m_doc.SetModified(CTrunkSpec(0, CTrunk::kFieldEnd1), TRUE);
    EXPECT_EQ(trunks->Cell(1, 1).GetBackClr(), m_app.m_clrChangedBackground);

    // What the user sees: the changed colour painted behind the cell's text.
    CRecordingDC dc;
    icoms->Cell(1, 1).SetState(0);
    icoms->Cell(1, 1).Draw(&dc, 1, 1, CRect(0, 0, 49, 19));
    ASSERT_FALSE(dc.Of(CRecordingDC::Op::Fill).empty());
    EXPECT_EQ(dc.Of(CRecordingDC::Op::Fill)[0].color, m_app.m_clrChangedBackground);
    EXPECT_EQ(dc.Of(CRecordingDC::Op::Text)[0].text, u"ECHO");
}

TEST_F(GridCellsTest, YesNoCellsTakeTheirKeysAndOneCharacterPastes) {
    auto screen = Show({{0, false, CObjSpec::kGroup, 1, nullptr, nullptr},
                        {0, false, CObjSpec::kGroup, CGroup::kFieldFirstMember,
                         CellClassOf<CBoolGridCell>(), nullptr}},
                       2);
    const auto shown = [&] { return screen->GetGrid()->GetItemText(1, 1); };
    for (UINT yes : {'y', 'Y', '+', '1'}) {
        Key(*screen, 1, 1, '0');
        ASSERT_TRUE(Key(*screen, 1, 1, yes));
        EXPECT_EQ(shown(), u"Y") << yes;
    }
    for (UINT no : {'n', 'N', '-', '0'}) {
        Key(*screen, 1, 1, '1');
        ASSERT_TRUE(Key(*screen, 1, 1, no));
        EXPECT_EQ(shown(), u"-") << no;
    }
    Key(*screen, 1, 1, VK_SPACE);
    EXPECT_EQ(shown(), u"Y");
    EXPECT_TRUE(m_doc.IsGroupMember(0, 0));
    Key(*screen, 1, 1, VK_RETURN);
    EXPECT_EQ(shown(), u"-");
    EXPECT_FALSE(Key(*screen, 1, 1, 'x'));
    EXPECT_EQ(screen->Cell(1, 1).GetEditWnd(), nullptr);  // no editor ever opens

    CKelvardinGridCell& cell = screen->Cell(1, 1);
    EXPECT_FALSE(cell.ValidateEdit(u"yes"));
    cell.ValidateEdit(u"");
    EXPECT_EQ(shown(), u"-");
    cell.OnDblClick(CPoint());
    EXPECT_EQ(shown(), u"Y");
    cell.SetState(cell.GetState() | CELL_READONLY);
    cell.OnDblClick(CPoint());
    EXPECT_FALSE(cell.ValidateEdit(u"0"));
    EXPECT_EQ(shown(), u"Y");
}

TEST_F(GridCellsTest, ChoiceCellsSwitchAndChooseByKeyAndTakeOnlyExactTexts) {
    auto screen =
        Show({{0, false, CObjSpec::kIntercom, 1, nullptr, nullptr},
              {0, false, CObjSpec::kIntercom, 71, CellClassOf<CConnTypeCell>(), nullptr},
              {0, false, CObjSpec::kIntercom, 75, CellClassOf<CBaudRateGridCell>(), nullptr}},
             2);
    struct Step {
        int col;
        UINT key;
        const char16_t* shown;
    } steps[] = {{1, 'n', u"Network"}, {1, '+', u"Serial"}, {1, 'E', u"Network"},
                 {1, 's', u"Serial"},  {2, '9', u"9600"},   {2, VK_SPACE, u"38.4K"},
                 {2, '-', u"9600"},    {2, '3', u"38.4K"}};
    for (const Step& step : steps) {
        ASSERT_TRUE(Key(*screen, 1, step.col, step.key));
        EXPECT_EQ(screen->GetGrid()->GetItemText(1, step.col), step.shown) << step.key;
    }
    EXPECT_FALSE(Key(*screen, 1, 1, 'x'));
    EXPECT_FALSE(screen->Cell(1, 1).ValidateEdit(u"network"));
    EXPECT_TRUE(screen->Cell(1, 1).ValidateEdit(u"Network"));
    EXPECT_FALSE(screen->Cell(1, 2).ValidateEdit(u"19200"));
    EXPECT_EQ(m_doc.GetIcomBaudRate(0), 1);
    screen->Cell(1, 2).OnDblClick(CPoint());
    EXPECT_EQ(screen->GetGrid()->GetItemText(1, 2), u"9600");
}

TEST_F(GridCellsTest, AddressCellsClearOnDashParseDottedTextAndTakeAFoundDevice) {
    auto screen = Show(
        {{0, false, CObjSpec::kIntercom, 1, nullptr, nullptr},
         {0, false, CObjSpec::kIntercom, 72, CellClassOf<CIPAddrGridCell>(), CompareCellIPAddr}},
        3);
    CKelvardinGridCell& cell = screen->Cell(2, 1);
    EXPECT_TRUE(cell.ValidateEdit(u"10.1.2.010"));
    EXPECT_EQ(screen->GetGrid()->GetItemText(2, 1), u"10.1.2.10");
    EXPECT_EQ(m_doc.GetIcomPrimaryAddress(1), 0x0A01020Au);
    EXPECT_TRUE(cell.ValidateEdit(u"10.1.2.3"));
    EXPECT_EQ(screen->GetGrid()->GetItemText(2, 1), u"10.1.2.3");
    // The document refuses text that is no address and says why.
    EXPECT_FALSE(cell.ValidateEdit(u"10.9.9.300"));
    EXPECT_EQ(GetApp().m_nLastError, 28);
    EXPECT_NE(GetApp().m_errorTexts[28].Find(u"invalid: 10.9.9.300"), -1);
    EXPECT_EQ(m_doc.GetIcomPrimaryAddress(1), 0x0A010203u);
    ASSERT_TRUE(Key(*screen, 2, 1, '-'));
    EXPECT_EQ(cell.GetEditWnd(), nullptr);
    EXPECT_EQ(screen->GetGrid()->GetItemText(2, 1), u"-");

    host.found = std::make_pair(CString(u"10.9.9.1"), CString(u"10.9.9.2"));
    ASSERT_TRUE(Key(*screen, 3, 1, 'b'));
    ASSERT_EQ(host.searches.size(), 1u);
    EXPECT_EQ(host.searches[0], std::make_pair(2, CString(u"CHAR")));
    EXPECT_EQ(m_doc.GetIcomPrimaryAddress(2), 0x0A090901u);
    EXPECT_EQ(m_doc.GetIcomBackupAddress(2), 0x0A090902u);

    // Digits-only cells start an edit only on a digit (or Enter), hexadecimal ones on a-f too.
    screen->GetGrid()->SetFocusCell(2, 1);
    cell.SetDigitsOnly(true);
    EXPECT_FALSE(Key(*screen, 2, 1, 'a'));
    cell.SetDigitsOnly(true, true);
    EXPECT_TRUE(Key(*screen, 2, 1, 'a'));
    screen->GetGrid()->EndEditing();
    cell.SetDigitsOnly(true);
    EXPECT_TRUE(Key(*screen, 2, 1, VK_RETURN));
    ASSERT_NE(cell.GetEditWnd(), nullptr);
    screen->GetGrid()->EndEditing();
}

TEST_F(GridCellsTest, InspectionCellsColourByWhatTheyShowAndCombosRefusePastes) {
    CInspect inspect;
    inspect.SetSideId(true, 0);
    inspect.SetEntryCount(true, 1);
    inspect.SetEntryCount(false, 1);
    inspect.SetStates(true, 0, 0x42, 0x00);
    m_doc.SetTrunkInspect(0, inspect);
    m_doc.SetTrunkState(0, 0x04);  // maintenance
    const CCellClass* inspectCells = CellClassOf<CInspectGridCell>();
    auto screen = Show({{0, false, CObjSpec::kTrunk, 1, nullptr, nullptr},
                        {0, false, CObjSpec::kTrunk, 10, inspectCells, nullptr},
                        {0, false, CObjSpec::kTrunk, 33, inspectCells, nullptr},
                        {0, false, CObjSpec::kTrunk, 41, inspectCells, nullptr},
                        {0, false, CObjSpec::kTrunk, 49, inspectCells, nullptr}},
                       2);
    EXPECT_EQ(screen->Cell(1, 1).GetBackClr(), m_app.m_clrInspectOff);
    EXPECT_EQ(screen->Cell(2, 1).GetBackClr(), CLR_DEFAULT);
    EXPECT_EQ(screen->Cell(1, 2).GetText(), u"Y");
    EXPECT_EQ(screen->Cell(1, 2).GetBackClr(), m_app.m_clrInspectOn);
    EXPECT_EQ(screen->Cell(1, 3).GetBackClr(), m_app.m_clrInspectWait);
    EXPECT_EQ(screen->Cell(1, 4).GetBackClr(), m_app.m_clrInspectOff);
    m_doc.SetModified(CTrunkSpec(0, 1), TRUE);
    EXPECT_EQ(screen->Cell(1, 1).GetBackClr(), m_app.m_clrInspectOff);  // no changed colour

    CComboGridCell combo;
    combo.SetObjSpec(CIcomSpec(0, 71));
    EXPECT_FALSE(combo.ValidateEdit(u"Network"));
    EXPECT_EQ(m_doc.GetIcomConnType(0), 0);
}

TEST_F(GridCellsTest, ALentCellKeepsNothingOfTheCellItLastStoodFor) {
    auto screen = Show({{0, false, CObjSpec::kIntercom, 1, nullptr, nullptr}}, 3);
    CKelvardinGridCell lent;
    lent.Lend(screen->GetGrid(), CELL_READONLY | CELL_SELECTED);
    lent.SetObjSpec(CIcomSpec(0, 67));
    lent.SetAltObjSpec(CObjSpec(CObjSpec::kAlpha, 0, CObjSpec::kEntryIcom));
    lent.SetBorders(CKelvardinGridCell::kBorderLeft | CKelvardinGridCell::kBorderBottom);
    lent.SetDigitsOnly(true);
    lent.SetBackClr(RGB(1, 2, 3));
    CRecordingDC dc;
    lent.Draw(&dc, 1, 1, CRect(0, 0, 49, 19));
    EXPECT_EQ(dc.Of(CRecordingDC::Op::Line).size(), 2u);
    // No border on an empty rectangle.
    dc.Clear();
    lent.Draw(&dc, 1, 1, CRect(0, 0, 0, 19));
    EXPECT_TRUE(dc.Of(CRecordingDC::Op::Line).empty());

    lent.Lend(screen->GetGrid(), 0);
    lent.SetObjSpec(CIcomSpec(1, 67));
    EXPECT_EQ(lent.GetText(), u"BRAV");
    EXPECT_TRUE(lent.GetAltObjSpec().IsEmpty());
    EXPECT_EQ(lent.GetBorders(), 0);
    EXPECT_FALSE(lent.IsReadOnly());
    EXPECT_EQ(lent.GetBackClr(), CLR_DEFAULT);
    CRect rect;
    screen->GetGrid()->GetCellRect(1, 0, &rect);
    EXPECT_TRUE(lent.Edit(1, 0, rect, CPoint(-1, -1), 8, 'a'));  // no digits filter left
    lent.EndEdit();
}

}  // namespace
