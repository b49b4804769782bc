#include <gtest/gtest.h>

#include "platform/ui/win_consts.h"
#include "screens/popups/cool_edit_rules.h"

using namespace cool_edit;

namespace {

// Cases share a label 50 and a value 60 wide and both step buttons. The edges are the left and
// right of areas 1, 2, 3 and the step buttons, then where the upper step button ends.
struct LayoutCase {
    const char* name;
    int width, height;
    bool paneOrder;
    std::array<int, 4> fixed;
    bool drop;
    int marks, lastValue;
    std::array<int, 9> edges;
};

TEST(CoolEditRules, AreasAreLaidOutInOrderAndTheLastOneStretches) {
    const std::array<int, 4> kAuto{-1, -1, -1, -1}, kFix{80, -1, 20, 30}, kKeep{-1, -2, -1, -1};
    const LayoutCase cases[] = {
        {"both", 200, 24, false, kAuto, true, 0, 0, {0, 60, 60, 130, 130, 143, 143, 200, 12}},
        {"pane order", 200, 24, true, kAuto, true, 0, 0, {0, 60, 60, 130, 143, 200, 130, 143, 12}},
        {"low", 150, 10, false, kAuto, true, 0, 0, {0, 60, 60, 130, 130, 140, 140, 150, 9}},
        {"fixed", 200, 24, false, kFix, true, 2, 0, {0, 80, 80, 150, 150, 170, 170, 200, 12}},
        {"wide", 200, 24, false, kKeep, false, 1, 90, {0, 67, 67, 157, 157, 157, 157, 200, 12}},
    };
    for (const LayoutCase& c : cases) {
        CCoolEditLayoutInput in;
        in.client = CRect(0, 0, c.width, c.height);
        if (c.paneOrder) in.order = {1, 2, 4, 3};
        in.fixedWidth = c.fixed;
        in.dropButton = c.drop;
        in.stepButtons = in.hasLabel = true;
        in.labelMarks = c.marks;
        in.labelTextWidth = 50;
        in.valueTextWidth = 60;
        in.lastValueWidth = c.lastValue;
        const CCoolEditLayout layout = LayOutCoolEdit(in);
        const auto& e = c.edges;
        EXPECT_EQ(layout.Area(kLabel), CRect(e[0], 0, e[1], c.height)) << c.name;
        EXPECT_EQ(layout.Area(kValue), CRect(e[2], 0, e[3], c.height)) << c.name;
        EXPECT_EQ(layout.Area(kDropButton), CRect(e[4], 0, e[5], c.height)) << c.name;
        EXPECT_EQ(layout.Area(kStepUp), CRect(e[6], 0, e[7], e[8])) << c.name;
        EXPECT_EQ(layout.Area(kStepDown), CRect(e[6], e[8], e[7], c.height)) << c.name;
    }
}

TEST(CoolEditRules, OnlyTheLabelAnswersWhileCollapsed) {
    CCoolEditLayoutInput in;
    in.client = CRect(0, 0, 200, 24);
    in.dropButton = in.stepButtons = in.hasLabel = true;
    in.labelTextWidth = 50;
    in.valueTextWidth = 60;
    const CCoolEditLayout layout = LayOutCoolEdit(in);
    const CPoint label(5, 5), value(70, 5), drop(135, 5), down(150, 20);
    EXPECT_EQ(HitTestCoolEdit(layout, label, false, true, true), kLabel);
    EXPECT_EQ(HitTestCoolEdit(layout, value, false, true, true), kNone);
    EXPECT_EQ(HitTestCoolEdit(layout, value, true, true, true), kValue);
    EXPECT_EQ(HitTestCoolEdit(layout, drop, true, false, true), kNone);
    EXPECT_EQ(HitTestCoolEdit(layout, down, true, true, true), kStepDown);
}

TEST(CoolEditRules, DropDownListSizeAndPlacement) {
    const CSize frame(3, 3);
    const CPopupListSize few = SizePopupList(100, -1, 3, 16, frame, 17);
    EXPECT_EQ(few.columnWidth, 100);
    EXPECT_EQ(few.size, CSize(112, 3 * 16 + 15));
    const CPopupListSize many = SizePopupList(100, -1, 30, 16, frame, 17);
    EXPECT_EQ(many.size, CSize(112 + 17, 25 * 16 + 15));
    const CPopupListSize fixed = SizePopupList(100, 150, 3, 16, frame, 17);
    EXPECT_EQ(fixed.columnWidth, 138);
    EXPECT_EQ(fixed.size.cx, 150);

    const CRect main(0, 150, 1000, 800);
    const CSize size(120, 200);
    // Hung right-aligned below the anchor; moved into the main window where it would leave it.
    EXPECT_EQ(PlacePopup({500, 300}, 1, size, main), CRect(380, 300, 500, 500));
    EXPECT_EQ(PlacePopup({500, 700}, 1, size, main), CRect(380, 600, 500, 800));
    EXPECT_EQ(PlacePopup({500, 100}, 0, size, main), CRect(500, 150, 620, 350));
    EXPECT_EQ(PlacePopup({500, 400}, 3, size, main), CRect(380, 200, 500, 400));
    EXPECT_EQ(RectCorner(CRect(10, 20, 30, 40), 3), CPoint(30, 40));
}

TEST(CoolEditRules, ListStepsStayInsideTheList) {
    struct Case {
        int index, step, count;
        bool next;
        std::optional<int> reached;
    };
    const Case cases[] = {
        {0, 1, 3, true, 1},  {2, 1, 3, true, std::nullopt},   {0, 1, 3, false, std::nullopt},
        {-1, 1, 3, true, 0}, {-1, 1, 3, false, std::nullopt}, {2, 2, 3, false, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(StepListIndex(c.index, c.step, c.count, c.next), c.reached) << c.index;
}

TEST(CoolEditRules, ToolTipsFollowModeStateAndOverrides) {
    CCoolEditTipState list;
    list.mode = kListMode;
    list.expandable = true;
    CCoolEditTipState spin = list;
    spin.mode = kSpinMode;
    spin.expanded = true;
    CCoolEditTipState reversed = spin;
    reversed.reverseSteps = true;
    CCoolEditTipState custom = list;
    custom.overrides[6] = u"Later";
    custom.reverseSteps = true;
    struct Case {
        const CCoolEditTipState& state;
        int area;
        const char16_t* text;
    };
    const Case cases[] = {
        {list, kLabel, u"Click here to expand."},
        {spin, kLabel, u""},
        {spin, kValue, u"The current value."},
        {list, kStepUp, u"Click here to select the previous list item."},
        {spin, kStepDown, u"Click here to decrement the current value."},
        {reversed, kStepDown, u"Click here to increment the current value."},
        {custom, kStepUp, u"Later"},
        {list, kPopupCalendar, u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CoolEditToolTip(c.area, c.state), CString(c.text)) << c.area;
}

// A spin value that records the codes its parent would hear.
class SpinTest : public ::testing::Test {
protected:
    SpinTest() {
        value.SetMode(kSpinMode);
        value.SetDigits(TRUE);
        value.SetHexDigits(TRUE);
    }
    std::vector<WORD> Take() { return std::exchange(codes, {}); }

    std::vector<WORD> codes;
    CCoolEditValue value{[this](WORD code) { codes.push_back(code); }};
};

TEST_F(SpinTest, ValuesAreClampedAndWrapModulo32Bits) {
    value.SetRange(16, 32);
    EXPECT_TRUE(value.SetValue(5));
    EXPECT_EQ(value.GetValue(), 16u);
    EXPECT_EQ(value.GetValueText(), CString(u"00000010"));
    EXPECT_EQ(Take(), (std::vector<WORD>{kSelChange, kTextChange}));
    EXPECT_TRUE(value.SetValue(3));  // clamps to the same value: nothing to tell
    EXPECT_TRUE(Take().empty());
    EXPECT_FALSE(value.SetRange(40, 30));
    EXPECT_EQ(value.GetMax(), 32u);

    value.ResetRange();
    value.SetValue(0xFFFFFFFF);
    value.StepSpin(true);
    EXPECT_EQ(value.GetValue(), 0u);
    value.SetStep(256);
    value.StepSpin(false);
    EXPECT_EQ(value.GetValue(), 0xFFFFFF00u);
    EXPECT_FALSE(value.SetValueText(u"text"));
    value.SetMode(kListMode);
    EXPECT_FALSE(value.SetValue(7));
}

TEST_F(SpinTest, TypingOverwritesShiftsAndCommitsOnEnter) {
    value.SetValue(0x1234abcd);
    Take();
    value.StartTyping(0);
    value.TypeChar(u'9');
    EXPECT_FALSE(value.TypeChar(u'g'));
    value.TypeChar(u'F');
    EXPECT_EQ(value.GetValueText(), CString(u"9f34abcd"));
    EXPECT_EQ(value.GetCaretPos(), 2);
    value.TypeKey(VK_END);
    value.TypeChar(u'0');
    EXPECT_EQ(value.GetCaretPos(), 7);
    value.TypeKey(VK_HOME);
    value.TypeKey(VK_BACK);  // nothing before the caret
    EXPECT_EQ(value.GetValueText(), CString(u"9f34abc0"));
    for (int i = 0; i < 3; ++i)
        value.TypeKey(VK_RIGHT);
    value.TypeKey(VK_BACK);
    EXPECT_EQ(value.GetValueText(), CString(u"9f4abc0 "));
    value.TypeKey(VK_DELETE);
    EXPECT_EQ(value.GetValueText(), CString(u"9fabc0  "));
    EXPECT_EQ(value.GetCaretPos(), 2);
    EXPECT_TRUE(Take().empty());  // typing alone tells the parent nothing

    value.TypeKey(VK_RETURN);
    EXPECT_FALSE(value.IsTyping());
    EXPECT_EQ(value.GetValue(), 0x9fabc0u);
    EXPECT_EQ(value.GetValueText(), CString(u"009fabc0"));
    EXPECT_EQ(Take(), (std::vector<WORD>{kSelChange, kTextChange}));

    value.StartTyping(3);
    value.TypeChar(u'7');
    value.TypeKey(VK_ESCAPE);
    EXPECT_EQ(value.GetValue(), 0x9fabc0u);
    EXPECT_EQ(value.GetValueText(), CString(u"009fabc0"));
    EXPECT_EQ(Take(), (std::vector<WORD>{kTextChange}));
}

TEST_F(SpinTest, CommittedTextAlwaysShowsTheValueKept) {
    value.SetRange(16, 32);
    Take();
    value.StartTyping(6);
    value.TypeChar(u'0');
    value.TypeChar(u'5');
    value.TypeKey(VK_RETURN);  // 5 is clamped to the 16 already kept
    EXPECT_EQ(value.GetValueText(), CString(u"00000010"));
    EXPECT_EQ(Take(), (std::vector<WORD>{kTextChange}));

    value.StartTyping(0);
    for (int i = 0; i < 8; ++i)
        value.TypeKey(VK_DELETE);
    value.TypeKey(VK_RETURN);  // no digit left: nothing to take
    EXPECT_EQ(value.GetValue(), 16u);
    EXPECT_EQ(value.GetValueText(), CString(u"00000010"));
}

TEST_F(SpinTest, DigitsRollWithoutCarry) {
    struct Case {
        const char16_t* text;
        int caret;
        bool up;
        const char16_t* rolled;
    };
    const Case cases[] = {
        {u"00000009", 7, true, u"0000000a"},  {u"0000000f", 7, true, u"00000000"},
        {u"00000000", 7, false, u"0000000f"}, {u"000000a0", 6, false, u"00000090"},
        {u"00000f50", 6, true, u"00000f60"},  {u"0000000 ", 7, true, u"00000001"}};
    for (const Case& c : cases) {
        value.SetMode(kListMode);
        value.SetValueText(c.text);
        value.SetMode(kSpinMode);
        value.StartTyping(c.caret);
        value.RollDigit(c.up);
        EXPECT_EQ(value.GetValueText(), CString(c.rolled)) << c.caret;
        value.EndTyping(false);
    }
}

TEST_F(SpinTest, StepsWhileTypingMoveThePlaceValueWithCarry) {
    value.SetValue(0x00f00000);
    value.StartTyping(2);
    EXPECT_EQ(value.GetStepSize(), 0x100000u);  // the third of eight digits: 16 to the power 5
    value.StepSpin(true);
    EXPECT_EQ(value.GetValue(), 0x01000000u);
    EXPECT_EQ(value.GetValueText(), CString(u"01000000"));
    EXPECT_TRUE(value.IsTyping());

    // Digits typed before a step count: the step starts from them.
    value.TypeKey(VK_END);
    value.TypeChar(u'7');
    value.StepSpin(true);
    EXPECT_EQ(value.GetValue(), 0x01000008u);
    value.StepSpin(false);
    EXPECT_EQ(value.GetValueText(), CString(u"01000007"));
}

}  // namespace
