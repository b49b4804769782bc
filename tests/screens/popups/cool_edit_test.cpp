#include <QApplication>
#include <QCalendarWidget>
#include <QDate>
#include <QLocale>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "screens/popups/cool_edit.h"
#include "screens/popups/popup_list.h"
#include "screens/popups/popup_month_cal.h"
#include "tests/support/recording_dc.h"

using namespace cool_edit;
using namespace std::chrono;

namespace {

// Records the commands its children send it.
class CParentWnd : public CWnd {
public:
    struct Command {
        WORD id;
        WORD code;
        LPARAM from;
    };
    std::vector<Command> commands;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back({LOWORD(wParam), HIWORD(wParam), lParam});
        return TRUE;
    }
    std::vector<WORD> TakeCodes() {
        std::vector<WORD> codes;
        for (const Command& c : commands)
            codes.push_back(c.code);
        commands.clear();
        return codes;
    }
};

// Records the notifications of its pop-ups: code and item.
class CNotifiedWnd : public CWnd {
public:
    std::vector<std::pair<UINT, int>> notes;

    BOOL OnNotify(WPARAM, NMHDR* header, LRESULT*) override {
        notes.emplace_back(header->code, reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        return TRUE;
    }
};

class CoolEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        top.resize(400, 600);
        parent.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 600), &top, 1);
        edit.Create(CRect(10, 10, 310, 34), &parent, 1004);
        top.show();
        QApplication::setActiveWindow(&top);
    }

    QPoint Centre(int area) const { return ToQPoint(edit.GetAreaRect(area).CenterPoint()); }
    void Click(int area) { QTest::mouseClick(edit.GetWidget(), Qt::LeftButton, {}, Centre(area)); }
    CPopupList& FillList(int count) {
        edit.SetListMode(TRUE);
        CPopupList& list = *edit.GetPopupList();
        list.AddColumn(u"Icom");
        for (int i = 0; i < count; ++i)
            list.InsertItem(-1, CString::Formatted(u"Item %d", i), 100 + i);
        return list;
    }

    QWidget top;
    CParentWnd parent;
    CCoolEdit edit;
};

TEST_F(CoolEditTest, ListSelectionTellsTheParentInOrder) {
    CPopupList& list = FillList(2);
    list.AddItem(u"Aardvark", 7);  // sorted in before "Item 0"
    edit.SetCurSel(1);
    ASSERT_EQ(parent.commands.size(), 2u);
    EXPECT_EQ(parent.commands[0].id, 1004);
    EXPECT_EQ(parent.commands[0].from, reinterpret_cast<LPARAM>(static_cast<CWnd*>(&edit)));
    EXPECT_EQ(parent.TakeCodes(), (std::vector<WORD>{kSelChange, kTextChange}));
    EXPECT_EQ(edit.GetValueText(), CString(u"Item 0"));
    edit.SetCurSel(1);  // the same item: its text again, no change
    EXPECT_EQ(parent.TakeCodes(), (std::vector<WORD>{kTextChange}));

    edit.SelectByData(101);
    EXPECT_EQ(edit.GetValueText(), CString(u"Item 1"));
    edit.SelectByData(55);
    EXPECT_EQ(edit.GetCurSelData(), 7);

    // The step buttons move one item and stop at the ends.
    edit.Expand();
    parent.TakeCodes();
    Click(kStepDown);
    Click(kStepDown);
    Click(kStepDown);
    EXPECT_EQ(edit.GetCurSel(), 2);
    Click(kStepUp);
    EXPECT_EQ(edit.GetCurSel(), 1);
    EXPECT_EQ(parent.TakeCodes(), (std::vector<WORD>{kSelChange, kTextChange, kSelChange,
                                                     kTextChange, kSelChange, kTextChange}));
    edit.SetReverseSteps(TRUE);
    Click(kStepUp);
    EXPECT_EQ(edit.GetCurSel(), 2);

    list.DeleteAll();
    EXPECT_EQ(edit.GetCurSelData(), -1);
}

TEST_F(CoolEditTest, DropDownListOpensSizedAndClosesOnAPick) {
    CPopupList& list = FillList(1);
    edit.Expand();
    EXPECT_TRUE(edit.OpenDropDown());
    EXPECT_FALSE(edit.IsPopupOpen());  // one item: nothing to choose from

    for (int i = 1; i < 30; ++i)
        list.InsertItem(-1, CString::Formatted(u"Item %d", i), 100 + i);
    edit.SetCurSel(3);
    edit.OpenDropDown();
    ASSERT_TRUE(edit.IsPopupOpen());
    const CRect rect = list.GetWindowRect();
    CRect button = edit.GetAreaRect(kStepDown);
    edit.ClientToScreen(&button);
    EXPECT_EQ(rect.right, button.right);  // hung from the lower step button's right edge
    EXPECT_EQ(list.GetSelectedItem(), 3);

    parent.TakeCodes();
    QTest::keyClick(list.GetWidget(), Qt::Key_Down);
    QTest::keyClick(list.GetWidget(), Qt::Key_Return);
    EXPECT_FALSE(edit.IsPopupOpen());
    EXPECT_EQ(edit.GetValueText(), CString(u"Item 4"));
    EXPECT_EQ(parent.TakeCodes(), (std::vector<WORD>{kSelChange, kTextChange}));

    edit.OpenDropDown();
    QTest::keyClick(list.GetWidget(), Qt::Key_Escape);
    EXPECT_FALSE(edit.IsPopupOpen());
    EXPECT_TRUE(parent.TakeCodes().empty());

    edit.OpenDropDown();
    auto* view = static_cast<QTreeWidget*>(list.GetWidget());
    const QRect item = view->visualItemRect(view->topLevelItem(6));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_FALSE(edit.IsPopupOpen());
    EXPECT_EQ(edit.GetCurSel(), 6);

    // A close the list makes itself, as on a click elsewhere, is heard.
    edit.OpenDropDown();
    list.GetWidget()->window()->close();
    EXPECT_FALSE(edit.IsPopupOpen());
}

TEST_F(CoolEditTest, HeldStepButtonRepeatsWhileOverIt) {
    edit.SetSpinMode();
    edit.Expand();
    edit.SetValue(0x100);
    QTest::mousePress(edit.GetWidget(), Qt::LeftButton, {}, Centre(kStepDown));
    EXPECT_EQ(edit.GetValue(), 0xffu);  // at once
    edit.OnTimer(CCoolEdit::kRepeatTimer);
    edit.OnTimer(CCoolEdit::kRepeatTimer);
    EXPECT_EQ(edit.GetValue(), 0xfdu);
    QTest::mouseMove(edit.GetWidget(), Centre(kLabel));
    edit.OnTimer(CCoolEdit::kRepeatTimer);
    EXPECT_EQ(edit.GetValue(), 0xfdu);
    QTest::mouseRelease(edit.GetWidget(), Qt::LeftButton, {}, Centre(kLabel));
    edit.OnTimer(CCoolEdit::kRepeatTimer);
    EXPECT_EQ(edit.GetValue(), 0xfdu);
}

TEST_F(CoolEditTest, TypedDigitsAreCommittedByEnterAndTheFocusGoesBack) {
    edit.SetText(u"Address:");
    edit.SetSpinMode();
    edit.SetEditable(TRUE);
    edit.Expand();
    edit.SetValue(0x1000);
    parent.TakeCodes();
    Click(kValue);
    ASSERT_TRUE(edit.IsTyping());
    EXPECT_EQ(CWnd::GetFocus(), &edit);
    QTest::keyClick(edit.GetWidget(), Qt::Key_Home);
    QTest::keyClicks(edit.GetWidget(), "aBx");
    QTest::keyClick(edit.GetWidget(), Qt::Key_Up);
    EXPECT_EQ(edit.GetValueText(), CString(u"ab101000"));
    EXPECT_TRUE(parent.TakeCodes().empty());
    QTest::keyClick(edit.GetWidget(), Qt::Key_Return);
    EXPECT_FALSE(edit.IsTyping());
    EXPECT_EQ(edit.GetValue(), 0xab101000u);
    EXPECT_EQ(parent.TakeCodes(), (std::vector<WORD>{kSelChange, kTextChange}));
    EXPECT_EQ(CWnd::GetFocus(), &parent);

    // A click on the label ends typing as Enter would.
    Click(kValue);
    QTest::keyClick(edit.GetWidget(), Qt::Key_End);
    QTest::keyClicks(edit.GetWidget(), "f");
    Click(kLabel);
    EXPECT_FALSE(edit.IsTyping());
    EXPECT_EQ(edit.GetValue(), 0xab10100fu);
}

TEST_F(CoolEditTest, DateModeStepsDaysAndShowsTheLocalDate) {
    edit.SetDateMode();
    edit.Expand();
    edit.SetDate(2024y / February / 28d);
    EXPECT_EQ(edit.GetValueText(),
              FromQString(QLocale::system().toString(QDate(2024, 2, 28), QLocale::ShortFormat)));
    EXPECT_EQ(parent.TakeCodes(), (std::vector<WORD>{kTextChange, kDateTaken}));
    Click(kStepDown);
    Click(kStepDown);
    year_month_day date;
    ASSERT_TRUE(edit.GetDate(date));
    EXPECT_EQ(date, 2024y / March / 1d);
    Click(kStepUp);
    edit.GetDate(date);
    EXPECT_EQ(date, 2024y / February / 29d);

    EXPECT_TRUE(edit.OpenDropDown());
    ASSERT_TRUE(edit.IsPopupOpen());
    QWidget* calendar = QApplication::activePopupWidget();
    ASSERT_NE(calendar, nullptr);
    QWidget* focus = calendar->focusWidget();
    QTest::keyClick(focus ? focus : calendar, Qt::Key_Escape);
    EXPECT_FALSE(edit.IsPopupOpen());
}

TEST_F(CoolEditTest, PaintingShowsOnlyWhatTheStateCallsFor) {
    edit.SetText(u"Trunk Summary");
    edit.SetFlatLabel(TRUE);
    edit.SetListMode(TRUE);
    CRecordingDC idle;
    edit.OnPaint(idle);
    const auto texts = idle.Of(CRecordingDC::Op::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u"Trunk Summary");
    EXPECT_EQ(idle.Of(CRecordingDC::Op::Fill).size(), 1u);  // the face; no frames or buttons

    edit.SetSpinMode();
    edit.SetEditable(TRUE);
    edit.Expand();
    Click(kValue);
    CRecordingDC typing;
    edit.OnPaint(typing);
    const auto shown = typing.Of(CRecordingDC::Op::Text);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, u"00000000");
    EXPECT_EQ(shown[1].color, edit.GetColor(CCoolEdit::kTypingText));
    // The buttons are drawn once the control is in use: fills in the glyph colour.
    int glyphs = 0;
    for (const auto& fill : typing.Of(CRecordingDC::Op::Fill))
        glyphs += fill.color == edit.GetColor(CCoolEdit::kGlyph);
    EXPECT_GT(glyphs, 0);

    // A larger font widens the label.
    const int before = edit.GetAreaRect(kLabel).Width();
    LogFont font = edit.GetFont();
    font.lfHeight = font.lfHeight < 0 ? font.lfHeight * 2 : -30;
    edit.SetFont(font);
    EXPECT_GT(edit.GetAreaRect(kLabel).Width(), before);
}

TEST_F(CoolEditTest, ThePopUpListTellsARightClickFromALeftOne) {
    CNotifiedWnd owner;
    CPopupList list(owner);
    list.AddColumn(u"Icom");
    for (int i = 0; i < 4; ++i)
        list.InsertItem(-1, CString::Formatted(u"Item %d", i), i);
    auto* view = static_cast<QTreeWidget*>(list.GetWidget());
    for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        list.Show(CRect(50, 50, 250, 250), 0, CRect());
        const QRect item = view->visualItemRect(view->topLevelItem(2));
        QTest::mouseClick(view->viewport(), button, {}, item.center());
    }
    EXPECT_EQ(owner.notes, (std::vector<std::pair<UINT, int>>{{NM_RCLICK, 2}, {NM_CLICK, 2}}));
}

TEST_F(CoolEditTest, TheMonthCalendarTakesItsFirstAndLastAllowedDays) {
    CNotifiedWnd owner;
    CPopupMonthCal calendar(owner);
    auto* widget = calendar.GetWidget()->findChild<QCalendarWidget*>();
    if (!widget) widget = qobject_cast<QCalendarWidget*>(calendar.GetWidget());
    ASSERT_NE(widget, nullptr);
    const auto day = [](QDate d) {
        return year_month_day(year(d.year()), month(unsigned(d.month())),
                              std::chrono::day(unsigned(d.day())));
    };
    const QDate first = widget->minimumDate();
    const QDate last = widget->maximumDate();
    EXPECT_TRUE(calendar.SetCurSel(day(first)));
    EXPECT_EQ(calendar.GetCurSel(), day(first));
    EXPECT_TRUE(calendar.SetCurSel(day(last)));
    EXPECT_EQ(calendar.GetCurSel(), day(last));
    EXPECT_FALSE(calendar.SetCurSel(day(first.addDays(-1))));
    EXPECT_EQ(calendar.GetCurSel(), day(last));
}

}  // namespace
