#include <QDragEnterEvent>
#include <QHelpEvent>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/ui/drag_drop.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/nested_loop.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "platform/ui/ui_environment.h"
#include "platform/ui/wnd.h"

namespace {

// Records the handlers it reaches, in order.
class CLogWnd : public CWnd {
public:
    std::vector<std::string> log;
    COLORREF paintColor = RGB(0, 0, 255);

    void Add(const std::string& what, CPoint p) {
        log.push_back(what + " " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    void OnLButtonDown(UINT, CPoint p) override { Add("ldown", p); }
    void OnLButtonUp(UINT, CPoint p) override { Add("lup", p); }
    void OnLButtonDblClk(UINT, CPoint p) override { Add("ldbl", p); }
    void OnRButtonUp(UINT, CPoint p) override { Add("rup", p); }
    void OnContextMenu(CWnd*, CPoint) override { log.push_back("menu"); }
    BOOL OnMouseWheel(UINT, short delta, CPoint) override {
        log.push_back("wheel " + std::to_string(delta));
        return TRUE;
    }
    void OnTimer(UINT_PTR id) override {
        log.push_back("timer " + std::to_string(id));
        KillTimer(id);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_APP) log.push_back("app " + std::to_string(message - WM_APP));
        return CWnd::WindowProc(message, wParam, lParam);
    }
    BOOL OnNotify(WPARAM id, NMHDR* header, LRESULT* result) override {
        log.push_back("notify " + std::to_string(id) + " " + std::to_string(header->code));
        *result = -1;
        return TRUE;
    }
    void OnPaint(CDC& dc) override { dc.FillSolidRect(dc.GetClipBox(), paintColor); }
};

class WndTest : public ::testing::Test {
protected:
    void SetUp() override {
        top.resize(300, 200);
        wnd.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 110), &top, 1003);
        top.show();
    }
    QWidget top;
    CLogWnd wnd;
};

TEST_F(WndTest, MouseButtonsArriveAsTheOriginalOrdersThem) {
    QWidget* w = wnd.GetWidget();
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseClick(w, Qt::RightButton, {}, QPoint(7, 8));
    // The second press of a double click is the double click itself; a right click's menu
    // follows its release.
    EXPECT_EQ(wnd.log,
              (std::vector<std::string>{"ldown 5,6", "lup 5,6", "ldbl 5,6", "rup 7,8", "menu"}));
}

TEST_F(WndTest, WheelPartsAddUpToWholeNotches) {
    auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(5, 5), QPointF(15, 15), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(wnd.GetWidget(), &event);
    };
    wheel(40);
    wheel(40);
    EXPECT_TRUE(wnd.log.empty());
    wheel(40);
    wheel(-360);
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"wheel 120", "wheel -360"}));
}

TEST_F(WndTest, TimersPostedMessagesAndNotificationsReachTheirHandlers) {
    CUiEnvironment env;
    env.SetTimeScale(0.01);
    wnd.SetTimer(4, 5000);  // 50 ms under the scale
    wnd.PostMessage(WM_APP + 0x507);
    wnd.PostMessage(WM_APP + 0x508);
    EXPECT_TRUE(PumpWaitingMessages([&] { return wnd.log.size() == 3; }, 3000));
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"app 1287", "app 1288", "timer 4"}));

    // One that waits for the loops run inside a handler comes once the outermost has ended.
    {
        const CNestedLoopScope dialog;
        {
            const CNestedLoopScope menu;
            PostWhenNestedLoopsEnd(wnd, WM_APP + 9);
        }
        QApplication::processEvents();
        EXPECT_TRUE(IsNestedLoopRunning());
    }
    EXPECT_FALSE(IsNestedLoopRunning());
    EXPECT_EQ(wnd.log.size(), 3u);
    QApplication::processEvents();
    EXPECT_EQ(wnd.log.back(), "app 9");

    CLogWnd child;
    child.Create(WS_CHILD, CRect(0, 0, 10, 10), &wnd, 8);
    NMHDR header{nullptr, 0, -175};
    EXPECT_EQ(child.SendNotify(header), -1);
    EXPECT_EQ(wnd.log.back(), "notify 8 -175");
    EXPECT_EQ(header.hwndFrom, &child);
}

TEST_F(WndTest, PaintingGoesThroughTheWindowsDeviceContext) {
    QImage picture = wnd.GetWidget()->grab().toImage();
    EXPECT_EQ(FromQColor(picture.pixelColor(100, 50)), RGB(0, 0, 255));

    // Drawing outside a paint only marks the area for the next paint.
    wnd.paintColor = RGB(0, 255, 0);
    wnd.GetDC()->FillSolidRect(CRect(0, 0, 10, 10), 0);
    picture = wnd.GetWidget()->grab().toImage();
    EXPECT_EQ(FromQColor(picture.pixelColor(100, 50)), RGB(0, 255, 0));

    // A window that goes with its Qt parent lives on without its host.
    auto* parent = new QWidget;
    CLogWnd orphan;
    orphan.Create(WS_CHILD, CRect(0, 0, 10, 10), parent, 9);
    delete parent;
    EXPECT_FALSE(orphan.IsWindow());
    orphan.PostMessage(WM_APP);
    EXPECT_EQ(orphan.GetClientRect(), CRect());
}

TEST_F(WndTest, MeasuringOutsidePaintFollowsTheFontSelected) {
    std::unique_ptr<CDC> dc = wnd.GetDC();
    LogFont small;
    small.lfHeight = -10;
    small.lfFaceName = u"Sans";
    LogFont large = small;
    large.lfHeight = -30;
    dc->SelectFont(small);
    const int narrow = dc->GetTextExtent(u"WWWW").cx;
    EXPECT_EQ(dc->GetTextExtent(u"WWWW").cx, narrow);
    EXPECT_GT(dc->GetTextExtent(u"WWWWW").cx, narrow);
    // The same text in another font is measured in that font, and again back in the first.
    dc->SelectFont(large);
    EXPECT_GT(dc->GetTextExtent(u"WWWW").cx, narrow);
    dc->SelectFont(small);
    EXPECT_EQ(dc->GetTextExtent(u"WWWW").cx, narrow);
}

// Tools on the left half carry their text; those on the right are asked for it.
class CTipWnd : public CWnd {
public:
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* info) override {
        if (point.y > 50) return -1;
        info->rect = CRect(point.x - 1, point.y - 1, point.x + 2, point.y + 2);
        if (point.x < 100) info->text = u"Given";
        return point.x;
    }
    BOOL OnNotify(WPARAM id, NMHDR* header, LRESULT*) override {
        if (header->code != TTN_NEEDTEXT) return FALSE;
        auto* tip = reinterpret_cast<TOOLTIPTEXT*>(header);
        std::u16string text = u"Asked " + std::u16string(1, static_cast<char16_t>(u'0' + id % 10));
        std::copy(text.begin(), text.end(), tip->szText);
        return TRUE;
    }
};

TEST(WndToolTips, TheToolUnderTheMouseGivesOrIsAskedForItsText) {
    QWidget top;
    CTipWnd wnd;
    wnd.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &top, 1);
    top.show();
    auto tipAt = [&](QPoint at) {
        QHelpEvent event(QEvent::ToolTip, at, wnd.GetWidget()->mapToGlobal(at));
        QApplication::sendEvent(wnd.GetWidget(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(QPoint(150, 10)), QString());  // tips are off until enabled
    wnd.EnableToolTips();
    EXPECT_EQ(tipAt(QPoint(10, 10)), QString("Given"));
    EXPECT_EQ(tipAt(QPoint(153, 10)), QString("Asked 3"));
}

// Refuses a drag where it enters and takes it where it moves on.
class CDropWnd : public CLogWnd {
public:
    DROPEFFECT OnDragEnter(COleDataObject*, DWORD, CPoint p) override {
        Add("enter", p);
        return DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, CPoint p) override {
        Add("over " + std::string(data->GetText() == u"t" ? "t" : "?"), p);
        return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    // Takes a text of two fields only in part.
    BOOL OnDrop(COleDataObject* data, DROPEFFECT, CPoint) override {
        if (data->GetText().Find(u'\t') >= 0) data->KeepAtSource();
        return TRUE;
    }
};

TEST_F(WndTest, ADragRefusedWhereItEntersIsStillHeardFurtherOn) {
    CDropWnd target;
    target.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &top, 7);
    target.RegisterDropTarget();
    QMimeData mime;
    mime.setText("t");
    QDragEnterEvent enter(QPoint(1, 2), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target.GetWidget(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::IgnoreAction);
    QDragMoveEvent move(QPoint(3, 4), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                        Qt::ControlModifier);
    QApplication::sendEvent(target.GetWidget(), &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(move.dropAction(), Qt::CopyAction);
    EXPECT_EQ(target.log, (std::vector<std::string>{"enter 1,2", "over t 3,4"}));
    // A move taken whole is answered as a move, one taken in part as a copy.
    for (const char* text : {"t\tu", "t"}) {
        mime.setText(text);
        // Shift proposes a move.
        QDropEvent drop(QPointF(3, 4), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                        Qt::ShiftModifier);
        for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop})
            QApplication::sendEvent(target.GetWidget(), event);
        EXPECT_TRUE(drop.isAccepted()) << text;
        EXPECT_EQ(drop.dropAction(), text[1] ? Qt::CopyAction : Qt::MoveAction) << text;
    }
}

}  // namespace
