#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/ui/key_map.h"
#include "platform/ui/scroll_bar_model.h"
#include "platform/ui/sys_info.h"
#include "platform/ui/wnd.h"

namespace {

// The keys whose modifiers, keypad or missing text change what the window hears; the plain
// keys go through the grid's and the dialogs' tests.
TEST(KeyMap, OneKeyPressIsAKeyDownAndTheCharactersItTypes) {
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        const char16_t* text;
        UINT vk;
        UINT mk;
        std::u16string chars;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::ShiftModifier, u"A", 'A', MK_SHIFT, u"A"},
        {Qt::Key_C, Qt::ControlModifier, u"\x03", 'C', MK_CONTROL, u"\x03"},
        {Qt::Key_Enter, Qt::KeypadModifier, u"\r", VK_RETURN, 0, u"\r"},
        {Qt::Key_Backtab, Qt::ShiftModifier, u"", VK_TAB, MK_SHIFT, u"\t"},
        {Qt::Key_Backtab, Qt::NoModifier, u"", VK_TAB, MK_SHIFT, u"\t"},
        {Qt::Key_Delete, Qt::NoModifier, u"\x7f", VK_DELETE, 0, u""},
        {Qt::Key_Left, Qt::ControlModifier, u"", VK_LEFT, MK_CONTROL, u""},
        {Qt::Key_X, Qt::AltModifier, u"x", 'X', MK_ALT, u""},
        {Qt::Key_Plus, Qt::NoModifier, u"+", VK_ADD, 0, u"+"},
        {Qt::Key_unknown, Qt::NoModifier, u"\u00e9", 0, 0, u"\u00e9"},
    };
    for (const Case& c : cases) {
        const KeyStroke stroke = TranslateKey(c.key, c.mods.toInt(), c.text);
        EXPECT_EQ(stroke.vk, c.vk) << "key " << c.key;
        EXPECT_EQ(stroke.mkFlags, c.mk) << "key " << c.key;
        EXPECT_EQ(stroke.chars, c.chars) << "key " << c.key;
    }
}

// Records the handlers a window's keys and scroll bars reach, in order.
class CInputWnd : public CWnd {
public:
    std::vector<std::string> log;
    UINT dlgCode = DLGC_WANTARROWS | DLGC_WANTCHARS;
    bool shiftAtKeyDown = false;

    void OnKeyDown(UINT vk, UINT, UINT) override {
        shiftAtKeyDown = GetKeyState(VK_SHIFT) < 0;
        log.push_back("down " + std::to_string(vk));
    }
    void OnChar(UINT ch, UINT, UINT) override { log.push_back("char " + std::to_string(ch)); }
    void OnKeyUp(UINT vk, UINT, UINT) override { log.push_back("up " + std::to_string(vk)); }
    UINT OnGetDlgCode() override { return dlgCode; }
    void OnVScroll(UINT code, UINT pos) override {
        log.push_back("vscroll " + std::to_string(code) + " " + std::to_string(pos));
        if (code == SB_LINEDOWN) SetScrollPos(SB_VERT, GetScrollPos(SB_VERT) + 1);
    }
};

TEST(WndInput, KeysReachTheWindowAsKeyDownThenCharacter) {
    QWidget top;
    CInputWnd wnd;
    wnd.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &top, 7);
    top.show();
    wnd.SetFocus();

    QTest::keyClick(wnd.GetWidget(), Qt::Key_A);
    QTest::keyClick(wnd.GetWidget(), Qt::Key_Delete);
    EXPECT_EQ(wnd.log,
              (std::vector<std::string>{"down 65", "char 97", "up 65", "down 46", "up 46"}));

    // Tab is the dialog's until the window asks for it.
    wnd.log.clear();
    QTest::keyClick(wnd.GetWidget(), Qt::Key_Tab);
    EXPECT_TRUE(wnd.log.empty());
    wnd.dlgCode |= DLGC_WANTTAB;
    wnd.SetFocus();
    QTest::keyClick(wnd.GetWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(wnd.shiftAtKeyDown);
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"down 16", "down 9", "char 9", "up 9", "up 16"}));
}

TEST(ScrollBarModel, PositionsStayWithinTheLastFullPage) {
    CScrollBarModel bar;
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = 99;
    info.nPage = 10;
    info.nPos = 95;
    EXPECT_EQ(bar.Set(info), 90);
    EXPECT_EQ(bar.GetLimit(), 90);
    EXPECT_EQ(bar.SetPos(-5), 90);
    EXPECT_EQ(bar.GetPos(), 0);
    // A page larger than the range is cut to the range: nothing to scroll.
    info.fMask = SIF_PAGE;
    info.nPage = 500;
    bar.Set(info);
    EXPECT_EQ(bar.GetPage(), 100u);
    EXPECT_FALSE(bar.CanScroll());
    // Without a page every position of the range can be reached.
    info.nPage = 0;
    bar.Set(info);
    bar.SetPos(99);
    EXPECT_EQ(bar.GetPos(), 99);
    // A range given backwards is empty.
    info.fMask = SIF_RANGE;
    info.nMin = 10;
    info.nMax = 5;
    bar.Set(info);
    EXPECT_EQ(bar.GetPos(), 10);
    EXPECT_EQ(bar.GetLimit(), 10);
}

TEST(WndInput, ScrollBarActionsReachTheWindowWhichDecidesThePosition) {
    QWidget top;
    top.resize(200, 200);
    CInputWnd wnd;
    wnd.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(0, 0, 150, 150), &top, 8);
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = 49;
    info.nPage = 10;
    wnd.SetScrollInfo(SB_VERT, info);
    wnd.ShowScrollBar(SB_VERT, TRUE);
    top.show();

    QScrollBar* vertical = nullptr;
    for (QScrollBar* b : wnd.GetWidget()->findChildren<QScrollBar*>()) {
        if (b->orientation() == Qt::Vertical) vertical = b;
    }
    ASSERT_NE(vertical, nullptr);
    EXPECT_EQ(vertical->maximum(), 40);
    EXPECT_EQ(vertical->pageStep(), 10);

    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);  // the window ignores pages
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 1);
    EXPECT_EQ(vertical->value(), 1);
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"vscroll 1 0", "vscroll 3 1"}));

    // A wheel over the bar ends its move at once, so the thumb follows the window afterwards.
    wnd.log.clear();
    QWheelEvent down(QPointF(5, 5), vertical->mapToGlobal(QPointF(5, 5)), QPoint(),
                     QPoint(0, -WHEEL_DELTA), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                     false);
    QApplication::sendEvent(vertical, &down);
    ASSERT_EQ(wnd.log.size(), 2u);
    EXPECT_EQ(wnd.log[0].rfind("vscroll 4 ", 0), 0u);
    EXPECT_EQ(wnd.log[1], "vscroll 8 0");
    EXPECT_EQ(vertical->value(), 1);
    wnd.SetScrollPos(SB_VERT, 7);
    EXPECT_EQ(vertical->value(), 7);
}

}  // namespace
