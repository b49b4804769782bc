#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

#include "platform/base/codepage.h"
#include "platform/base/profile.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "screens/log_viewer/log_filter_view.h"
#include "screens/log_viewer/log_mask.h"
#include "screens/log_viewer/log_view.h"
#include "screens/log_viewer/log_view_rules.h"
#include "tests/screens/diag_fixture.h"
#include "tests/support/painted_area.h"
#include "tests/support/recording_dc.h"

namespace {

// Record n: "REC" and five digits, then blanks to the record's length.
std::vector<BYTE> Records(int first, int count) {
    std::vector<BYTE> bytes(static_cast<size_t>(count) * kLogRecordBytes);
    for (int i = 0; i < count; ++i) {
        const CString text = CString::Formatted(u"REC%05d", first + i);
        PutUtf16LE(bytes.data() + static_cast<size_t>(i) * kLogRecordBytes,
                   text.str() + std::u16string(kLogRecordUnits - 8, u' '), kLogRecordUnits);
    }
    return bytes;
}

void WriteDay(const QString& path, int first, int count, bool append = false) {
    QFile file(path);
    ASSERT_TRUE(file.open(append ? QIODevice::Append : QIODevice::WriteOnly));
    const std::vector<BYTE> bytes = Records(first, count);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

class LogViewTest : public DiagScreenTest {
protected:
    void SetUp() override {
        DiagScreenTest::SetUp();
        services.logDir = FromQString(dir.path()) + u"/";
        m_profile.WriteProfileString(u"Settings", u"LogMask", u"xxxxxxxx");
        host.contexts[kScreenLog].m_params[0] = log_rules::EncodeDay({2012, 3, 1});
    }
    QString DayPath(const char* name = "20120301.CVL") const { return dir.filePath(name); }
    std::unique_ptr<CLogView> ShowLog() {
        auto view = std::make_unique<CLogView>(host, services);
        view->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20400);
        view->OnInitialUpdate();
        Show(*view);
        return view;
    }
    static void Key(CLogView& view, UINT vk, UINT mk = 0) {
        CInputState state(mk);
        view.OnKeyDown(vk, 1, 0);
    }
};

TEST(LogMaskTest, MasksCopySkipAndQuoteWithinTheRecord) {
    const std::u16string record = u"ABCDEF";
    EXPECT_EQ(log_mask::Render(record, u"xyx-x"), u"AC-D");
    EXPECT_EQ(log_mask::Render(record, u"yyyyyyyy"), u"");
    EXPECT_EQ(log_mask::Render(record, u"x\\x"), u"Ax");
    EXPECT_EQ(log_mask::Render(record, u"x\\"), u"A");
    // Past the record's end the mask reads nothing, its literals still show.
    EXPECT_EQ(log_mask::Render(record, u"xxxxxxxxxx|"), u"ABCDEF|");

    CMemoryProfile profile;
    EXPECT_EQ(log_mask::Choose(profile, 99), log_mask::kDefaultMask);
    EXPECT_EQ(log_mask::Choose(profile, 100), log_mask::kDefaultWideMask);
    profile.WriteProfileString(u"Settings", u"LogMask255", u"xx");
    EXPECT_EQ(log_mask::Choose(profile, 255), u"xx");
    profile.WriteProfileString(u"Settings", u"LogMask", CString(u'x', 256));
    EXPECT_EQ(log_mask::Choose(profile, 31), log_mask::kDefaultMask);
}

TEST(LogRulesTest, ScrollBarWorksInProportionOverLargeFilesAndDaysCrossMonths) {
    const log_rules::VerticalBar small = log_rules::MakeVerticalBar(100, 20, 95);
    EXPECT_EQ(small.pos, 80);
    EXPECT_TRUE(small.enabled);
    EXPECT_FALSE(log_rules::MakeVerticalBar(20, 20, 0).enabled);
    // 1,000,000 x 32,767 does not fit 32 bits.
    const log_rules::VerticalBar large = log_rules::MakeVerticalBar(1000000, 20, 999980);
    EXPECT_EQ(large.max, 32767);
    EXPECT_EQ(large.pos, 32766);
    EXPECT_EQ(log_rules::TopFromThumb(1000000, 20, 32767), 999980);
    EXPECT_EQ(log_rules::TopFromThumb(1000000, 20, 16384), 500015);

    const CLogDate leap = log_rules::AddDays({2012, 3, 1}, -1);
    EXPECT_EQ(leap, (CLogDate{2012, 2, 29}));
    EXPECT_EQ(log_rules::AddDays({2012, 12, 31}, 1), (CLogDate{2013, 1, 1}));
    EXPECT_EQ(log_rules::DecodeDay(log_rules::EncodeDay(leap)), leap);
}

TEST_F(LogViewTest, FollowsTheEndAsTheFileGrowsAndSurvivesAShrink) {
    WriteDay(DayPath(), 0, 5);
    auto view = ShowLog();
    EXPECT_EQ(view->GetPath(), FromQString(DayPath()));
    EXPECT_EQ(view->GetRecordCount(), 5);
    const int page = view->GetLinesPerPage();
    ASSERT_GT(page, 5);

    // Showing the end, the view follows it.
    WriteDay(DayPath(), 5, 3 * page, true);
    view->OnUpdate(nullptr, 7, nullptr);
    EXPECT_EQ(view->GetRecordCount(), 5 + 3 * page);
    EXPECT_EQ(view->GetTopLine(), 5 + 2 * page);
    // Elsewhere, it stays where it is.
    Key(*view, VK_HOME, MK_CONTROL);
    WriteDay(DayPath(), 5 + 3 * page, 4, true);
    view->OnUpdate(nullptr, 7, nullptr);
    EXPECT_EQ(view->GetTopLine(), 0);
    EXPECT_EQ(view->GetRecordCount(), 9 + 3 * page);

    // The file is cut under the view: a line it no longer holds reads empty, and the next
    // paint brings the count, the caret and the top back within it.
    Key(*view, VK_END, MK_CONTROL);
    QFile file(DayPath());
    ASSERT_TRUE(file.resize(3 * kLogRecordBytes + 17));
    EXPECT_EQ(view->GetCache().GetLine(view->GetCaret()), u"");
    view->Invalidate();
    QApplication::processEvents();
    EXPECT_EQ(view->GetRecordCount(), 3);
    EXPECT_EQ(view->GetCaret(), 2);
    EXPECT_EQ(view->GetTopLine(), 0);
    QFile::remove(DayPath());
    view->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(view->GetRecordCount(), 0);
}

TEST_F(LogViewTest, ComingBackKeepsThePlaceAndTheSelectionWithNewRecordsAtTheEnd) {
    WriteDay(DayPath(), 0, 100);
    WriteDay(DayPath("20120302.CVL"), 0, 3);
    auto view = ShowLog();
    const int page = view->GetLinesPerPage();
    view->OnVScroll(SB_THUMBPOSITION, 40);
    const int line = view->GetLineHeight();
    view->OnLButtonDown(0, CPoint(10, 2 * line + 1));
    view->OnLButtonUp(0, CPoint(10, 2 * line + 1));
    Key(*view, VK_DOWN, MK_SHIFT);

    // Shown again by the main window after records were written meanwhile.
    WriteDay(DayPath(), 100, 5, true);
    view->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(view->GetTopLine(), 40);
    EXPECT_EQ(view->GetSelectedText(), u"REC00042\r\nREC00043\r\n");
    EXPECT_EQ(view->GetCaret(), 43);
    EXPECT_EQ(view->GetRecordCount(), 105);
    Key(*view, VK_END, MK_CONTROL);

    // Left at the end, the view comes back at the new end.
    WriteDay(DayPath(), 105, 6, true);
    view->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(view->GetTopLine(), 111 - page);

    // Another day starts at its top with nothing selected.
    host.contexts[kScreenLog].m_params[0] = log_rules::EncodeDay({2012, 3, 2});
    view->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(view->GetRecordCount(), 3);
    EXPECT_EQ(view->GetTopLine(), 0);
    EXPECT_EQ(view->GetSelStart(), -1);
}

TEST_F(LogViewTest, KeysAndMouseSelectWholeLinesToCopy) {
    WriteDay(DayPath(), 0, 100);
    auto view = ShowLog();
    const int page = view->GetLinesPerPage();
    const int line = view->GetLineHeight();
    Key(*view, VK_HOME);
    EXPECT_EQ(view->GetCaret(), page - 1);
    Key(*view, VK_END);
    EXPECT_EQ(view->GetCaret(), 0);
    Key(*view, VK_UP);
    EXPECT_EQ(beeps, 1);
    Key(*view, VK_END, MK_CONTROL);
    EXPECT_EQ(view->GetCaret(), 99);
    EXPECT_EQ(view->GetTopLine(), 100 - page);
    Key(*view, VK_DOWN);
    EXPECT_EQ(beeps, 2);
    Key(*view, VK_HOME, MK_CONTROL);

    view->OnLButtonDown(0, CPoint(10, 2 * line + 1));
    view->OnLButtonUp(0, CPoint(10, 2 * line + 1));
    view->OnLButtonDown(MK_SHIFT, CPoint(10, 4 * line + 1));
    view->OnMouseMove(MK_SHIFT, CPoint(10, 5 * line + 1));
    view->OnLButtonUp(MK_SHIFT, CPoint(10, 5 * line + 1));
    EXPECT_EQ(view->GetSelStart(), 2);
    EXPECT_EQ(view->GetSelEnd(), 5);
    Key(*view, VK_DOWN, MK_SHIFT);
    EXPECT_EQ(view->GetSelEnd(), 6);
    EXPECT_EQ(view->GetSelectedText(),
              u"REC00002\r\nREC00003\r\nREC00004\r\nREC00005\r\nREC00006\r\n");
    view->OnCmdMsg(ID_EDIT_COPY, nullptr);
    EXPECT_EQ(FromQString(QGuiApplication::clipboard()->text()), view->GetSelectedText());
    view->OnChar(u' ', 1, 0);
    EXPECT_EQ(view->GetSelectedText(), u"REC00006\r\n");

    view->OnCmdMsg(ID_EDIT_SELECT_ALL, nullptr);
    EXPECT_EQ(view->GetSelStart(), 0);
    EXPECT_EQ(view->GetSelEnd(), 99);
    EXPECT_EQ(view->GetSelectedText().GetLength(), 100 * 10);

    // Printing a selection of three lines takes one page.
    view->OnLButtonDown(0, CPoint(10, 1));
    view->OnLButtonUp(0, CPoint(10, 1));
    Key(*view, VK_DOWN, MK_SHIFT);
    Key(*view, VK_DOWN, MK_SHIFT);
    CPrintInfo info;
    EXPECT_TRUE(view->OnPreparePrinting(info));
    EXPECT_TRUE(info.m_bOfferSelection);
    info.m_bPrintSelection = TRUE;
    CRecordingDC dc(CRect(0, 0, 800, 400), true);
    dc.SetDeviceSize(CSize(800, 400));
    view->OnBeginPrinting(dc, info);
    EXPECT_EQ(info.GetMaxPage(), 1u);
    view->OnPrint(dc, info);
    const auto texts = dc.Of(CRecordingDC::Op::Text);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[1].text, u"Page 1");
    EXPECT_EQ(texts[4].text, u"REC00002");
    view->OnEndPrinting(dc, info);
}

TEST_F(LogViewTest, EveryLineWhoseSelectionChangedIsPaintedAgainTheLastShownIncluded) {
    WriteDay(DayPath(), 0, 100);
    auto view = ShowLog();
    CPaintedArea painted(view->GetClientWidget());
    view->OnCmdMsg(ID_EDIT_SELECT_ALL, nullptr);
    painted.Take();
    view->OnLButtonDown(0, CPoint(10, 1));
    view->OnLButtonUp(0, CPoint(10, 1));
    const QRegion area = painted.Take();
    // The line below the last whole one shows in part; it was selected too. What shows of
    // each line is painted whole, whatever part of the last one the font leaves in sight.
    const int page = view->GetLinesPerPage();
    const int line = view->GetLineHeight();
    const QRect client = view->GetClientWidget()->rect();
    for (int n : {1, page - 1, page}) {
        const QRect shown =
            QRect(CLogView::kLeftMargin, CLogView::kTopMargin + line * n, client.width(), line) &
            client;
        ASSERT_FALSE(shown.isEmpty()) << n;
        EXPECT_TRUE((QRegion(shown) - area).isEmpty()) << n;
    }
}

TEST_F(LogViewTest, ADayOpenedAnewStartsAtItsFirstLine) {
    WriteDay(DayPath(), 0, 200);
    WriteDay(DayPath("20120302.CVL"), 500, 100);
    auto view = ShowLog();
    Key(*view, VK_END, MK_CONTROL);
    ASSERT_GT(view->GetTopLine(), 0);
    host.contexts[kScreenLog].m_params[0] = log_rules::EncodeDay({2012, 3, 2});
    view->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(view->GetPath(), FromQString(DayPath("20120302.CVL")));
    EXPECT_EQ(view->GetRecordCount(), 100);
    EXPECT_EQ(view->GetTopLine(), 0);
    EXPECT_EQ(view->GetCaret(), 0);
    EXPECT_EQ(view->GetCache().GetLine(0), CString(u"REC00500"));
}

TEST_F(LogViewTest, DayStepsWithTheKeysAcrossMonthsAndTheViewReloads) {
    WriteDay(DayPath("20120229.CVL"), 0, 7);
    host.contexts[kScreenLog].m_params[0] = 0;
    services.lastLog = FromQString(DayPath());
    CLogFilterView pane(services);
    ASSERT_TRUE(pane.Create(&paneFrame, CRect(0, 0, 400, 28), &window, 0xE900));
    pane.OnInitialUpdate();
    EXPECT_EQ(pane.GetDay(), (CLogDate{2012, 3, 1}));
    auto view = ShowLog();
    Show(pane);
    EXPECT_EQ(view->GetRecordCount(), 0);

    // A pane no screen has taken steps nothing, and its keys say so.
    CCmdUI state(ID_PREV_ENTRY);
    pane.OnCmdMsg(ID_PREV_ENTRY, &state);
    EXPECT_FALSE(state.IsEnabled());
    pane.OnCmdMsg(ID_PREV_ENTRY, nullptr);
    EXPECT_TRUE(host.pushed.empty());
    pane.m_nViewID = kScreenLog;
    pane.OnCmdMsg(ID_PREV_ENTRY, nullptr);
    EXPECT_EQ(pane.GetDay(), (CLogDate{2012, 2, 29}));
    ASSERT_EQ(host.pushed.size(), 1u);
    EXPECT_EQ(host.pushed[0].m_params[0], log_rules::EncodeDay({2012, 3, 1}));
    EXPECT_EQ(views.hints,
              (std::vector<CUpdateHint>{CUpdateHint::kSelection, CUpdateHint::kRefresh}));
    EXPECT_EQ(view->GetPath(), FromQString(DayPath("20120229.CVL")));
    EXPECT_EQ(view->GetRecordCount(), 7);
    std::chrono::year_month_day shown;
    ASSERT_TRUE(pane.GetEdit().GetDate(shown));
    EXPECT_EQ(shown, std::chrono::year_month_day(std::chrono::year(2012), std::chrono::February,
                                                 std::chrono::day(29)));
}

}  // namespace
