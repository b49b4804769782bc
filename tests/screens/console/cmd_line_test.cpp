#include <QAbstractScrollArea>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "platform/base/profile.h"
#include "res/command_ids.h"
#include "screens/console/cmd_line_rules.h"
#include "screens/console/cmd_line_view.h"
#include "tests/screens/diag_fixture.h"
#include "tests/support/recording_dc.h"

namespace {

class CmdLineTest : public DiagScreenTest {
protected:
    std::unique_ptr<CCmdLineView> ShowConsole() {
        auto console = std::make_unique<CCmdLineView>(host, services);
        console->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20300);
        console->OnInitialUpdate();
        Show(*console);
        return console;
    }
    static void Type(CCmdLineView& console, const QString& text) {
        QTest::keyClicks(console.GetEdit().GetEditor(), text);
        QTest::keyClick(console.GetEdit().GetEditor(), Qt::Key_Return);
    }
    static std::vector<CString> Lines(CCmdLineView& console) {
        std::vector<CString> lines;
        for (int i = 0; i < console.GetList().GetCount(); ++i)
            lines.push_back(console.GetList().GetText(i));
        return lines;
    }
    bool SawCommand(const std::string& text) {
        return SawRequest([&](const SimFrame& f) {
            return f.command == 45 && std::string(f.payload.begin(), f.payload.end()) == text;
        });
    }
    void ScriptReply(const std::string& text) { sim.ScriptReply(45, {text.begin(), text.end()}); }
    void ShowHistory(CCmdLineView& console) {
        console.OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    }
    static QScrollBar& Bar(CMultiLineListBox& list, int bar) {
        auto& area = dynamic_cast<QAbstractScrollArea&>(*list.GetWidget());
        return *(bar == SB_VERT ? area.verticalScrollBar() : area.horizontalScrollBar());
    }
    // Where the list draws the line, and how.
    static CRecordingDC::Record Drawn(CMultiLineListBox& list, const CString& line) {
        CRecordingDC dc(list.GetClientRect());
        list.OnPaint(dc);
        for (const CRecordingDC::Record& text : dc.Of(CRecordingDC::Op::Text))
            if (text.text == line.str()) return text;
        ADD_FAILURE() << "line not drawn";
        return {};
    }
};

TEST_F(CmdLineTest, CommandsGoOutAndRepliesShowInTheirColours) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    auto console = ShowConsole();
    Type(*console, "S");
    EXPECT_EQ(console->GetEdit().GetText(), u"S");
    EXPECT_EQ(Lines(*console), std::vector<CString>{u""});

    Type(*console, "TAT");
    EXPECT_EQ(console->GetEdit().GetText(), u"");
    ASSERT_TRUE(SawCommand("STAT"));
    ASSERT_TRUE(Pump([&] { return console->GetList().GetCount() == 3; }));
    EXPECT_EQ(Lines(*console), (std::vector<CString>{u"STAT", u"OK STAT", u""}));
    EXPECT_EQ(console->GetList().GetItemColor(0), m_app.m_clrCLPCommandText);
    EXPECT_EQ(console->GetList().GetItemColor(1), m_app.m_clrCLPResponseText);

    // A command longer than a request carries stays in the line, unsent.
    console->GetEdit().SetText(CString(u'x', 2001));
    console->SendCommand();
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(console->GetEdit().GetText().GetLength(), 2001);
    EXPECT_EQ(console->GetList().GetCount(), 3);

    // Return on a history line sends it again.
    console->GetList().SetCurSel(0);
    console->SendMessage(CMultiLineListBox::kReturnMessage, CCmdLineView::kListId);
    ASSERT_TRUE(Pump([&] { return CountRequests(45) == 2; }));
}

TEST_F(CmdLineTest, NewLinesScrollOnlyAsFarAsTheLastPageStaysFull) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    auto console = ShowConsole();
    CMultiLineListBox& list = console->GetList();
    host.dataMgr.AppendClpHistory(u"EARLIER", m_app.m_clrCLPCommandText);
    console->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    Type(*console, "TEST:STAT");
    ASSERT_TRUE(Pump([&] { return list.GetCount() == 4; }));
    // A short history stays in sight from its first line.
    EXPECT_EQ(list.GetTopIndex(), 0);

    for (int i = 0; i < 60; ++i)
        host.dataMgr.AppendClpHistory(CString::Formatted(u"line %d", i), m_app.m_clrCLPCommandText);
    console->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    Type(*console, "TEST:STAT");
    ASSERT_TRUE(Pump([&] { return list.GetCount() == 66; }));
    // The reply and the empty last line end the page; the lines above fill it to its top, so
    // that one more line would not fit (the empty line may be lower than the others).
    const int top = list.GetTopIndex();
    const int height = list.GetClientRect().Height();
    int row = 0;
    while (list.ItemFromPoint(CPoint(5, row)) == top)
        ++row;
    int end = row;  // where the last line ends
    while (list.ItemFromPoint(CPoint(5, end)) != -1)
        ++end;
    ASSERT_GT(top, 0);
    EXPECT_EQ(list.ItemFromPoint(CPoint(5, end - 1)), 65);
    EXPECT_LE(end, height);
    EXPECT_GT(end + row, height);
    int reply = end - 1;
    while (list.ItemFromPoint(CPoint(5, reply)) == 65)
        --reply;
    EXPECT_EQ(list.GetText(list.ItemFromPoint(CPoint(5, reply))), u"OK TEST:STAT");

    // Asking for a top beyond that keeps the page full too.
    list.SetTopIndex(65);
    EXPECT_EQ(list.GetTopIndex(), top);
}

TEST_F(CmdLineTest, VerticalBarShowsWhileTheHistoryOverflowsAndSpansItsLastFullPage) {
    auto console = ShowConsole();
    CMultiLineListBox& list = console->GetList();
    QScrollBar& bar = Bar(list, SB_VERT);
    host.dataMgr.AppendClpHistory(u"STAT", m_app.m_clrCLPCommandText);
    ShowHistory(*console);
    EXPECT_FALSE(list.IsScrollBarVisible(SB_VERT));

    for (int i = 0; i < 52; ++i)
        host.dataMgr.AppendClpHistory(CString::Formatted(u"line %d", i), m_app.m_clrCLPCommandText);
    ShowHistory(*console);
    ASSERT_TRUE(list.IsScrollBarVisible(SB_VERT));
    EXPECT_TRUE(bar.isVisible());
    const int last = list.MaxTopIndex();
    ASSERT_GT(last, 0);
    EXPECT_EQ(bar.maximum(), last);
    EXPECT_EQ(bar.pageStep(), list.GetCount() - last);
    bar.triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(list.GetTopIndex(), 0);
    bar.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(list.GetTopIndex(), last);
    // A wheel turned over the bar scrolls the list, and the thumb goes on following the list.
    QWheelEvent up(QPointF(5, 5), bar.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&bar, &up);
    EXPECT_LT(list.GetTopIndex(), last);
    EXPECT_EQ(bar.value(), list.GetTopIndex());
    list.ScrollToEnd();
    EXPECT_EQ(bar.value(), last);

    // A taller window shows more lines: the range shrinks with the page.
    window.resize(1100, 780);
    console->MoveWindow(CRect(0, 0, 1100, 780));
    const int taller = list.MaxTopIndex();
    EXPECT_LT(taller, last);
    EXPECT_EQ(bar.maximum(), taller);
    EXPECT_EQ(list.GetTopIndex(), taller);

    console->RunHistoryCommand(ID_CLP_CLEAR_HISTORY);
    EXPECT_FALSE(list.IsScrollBarVisible(SB_VERT));
}

TEST_F(CmdLineTest, UnwrappedLongLineEndsInAnEllipsisUntilScrolledIntoView) {
    auto console = ShowConsole();
    CMultiLineListBox& list = console->GetList();
    QScrollBar& bar = Bar(list, SB_HORZ);
    console->RunHistoryCommand(ID_CLP_WRAP_LINES);
    ASSERT_FALSE(list.GetWrap());
    const CString line = CString(u"LONG:") + CString(u'x', 220) + CString(u"END");
    host.dataMgr.AppendClpHistory(line, m_app.m_clrCLPResponseText);
    ShowHistory(*console);

    const int width = list.GetDC()->GetTextExtent(line).cx;
    const int client = list.GetClientRect().Width();
    ASSERT_GT(width, client);
    ASSERT_TRUE(list.IsScrollBarVisible(SB_HORZ));
    EXPECT_TRUE(bar.isVisible());
    EXPECT_GE(list.GetHorizontalExtent(), width);
    EXPECT_EQ(bar.maximum(), list.GetHorizontalExtent() - client);

    // Cut at the client's edge with an ellipsis...
    CRecordingDC::Record drawn = Drawn(list, line);
    EXPECT_EQ(drawn.rect.right, client);
    EXPECT_LT(drawn.rect.Width(), width);
    EXPECT_TRUE(drawn.format & DT_END_ELLIPSIS);

    // ...and whole, "END" in sight, once scrolled to the right end.
    bar.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(list.GetScrollPos(SB_HORZ), bar.maximum());
    drawn = Drawn(list, line);
    EXPECT_LE(drawn.rect.right, client);
    EXPECT_GE(drawn.rect.Width(), width);

    // Wrapped again, the line needs no sideways scrolling.
    console->RunHistoryCommand(ID_CLP_WRAP_LINES);
    EXPECT_FALSE(list.IsScrollBarVisible(SB_HORZ));
    EXPECT_EQ(list.GetScrollPos(SB_HORZ), 0);
}

TEST_F(CmdLineTest, AWrappedReplyWordTooLongForALineIsBrokenOverRowsNotCut) {
    auto console = ShowConsole();
    CMultiLineListBox& list = console->GetList();
    ASSERT_TRUE(list.GetWrap());
    const CString word = CString(u"WORD:") + CString(u'x', 600) + CString(u"END");
    const CString line = CString(u"OK ") + word;
    host.dataMgr.AppendClpHistory(line, m_app.m_clrCLPResponseText);
    ShowHistory(*console);

    const TextMetrics metrics = list.GetDC()->GetTextMetrics();
    const int rowHeight = metrics.tmHeight + metrics.tmExternalLeading;
    const int client = list.GetClientRect().Width();
    const int width = list.GetDC()->GetTextExtent(word).cx;
    ASSERT_GT(width, 2 * client);
    // The line takes as many rows as the word's pieces need, and nothing is left to scroll to.
    EXPECT_GE(Drawn(list, line).rect.Height() / rowHeight, width / client + 1);
    EXPECT_FALSE(list.IsScrollBarVisible(SB_HORZ));
}

TEST_F(CmdLineTest, AutoNxtAsksForTheNextBlockAlsoAfterTheConsoleWasHidden) {
    EXPECT_EQ(cmd_line_rules::NextBlockCommand("ABCDE:X", 8), u"ABCDE:NXT");
    EXPECT_EQ(cmd_line_rules::NextBlockCommand("ABCDEFGHI:X", 8), u"NXT");
    EXPECT_EQ(cmd_line_rules::NextBlockCommand(":X", 8), u"NXT");
    EXPECT_EQ(cmd_line_rules::NextBlockCommand("STAT", 8), u"NXT");

    ASSERT_NO_FATAL_FAILURE(GoOnline());
    auto console = ShowConsole();
    ScriptReply("PART&");
    Type(*console, "AB:ONE");
    ASSERT_TRUE(Pump([&] { return console->GetList().GetCount() == 3; }));
    QTest::qWait(100);
    EXPECT_EQ(CountRequests(45), 1);

    console->RunHistoryCommand(ID_CLP_AUTO_NXT);
    EXPECT_EQ(m_profile.GetProfileInt(CCmdLineView::kSection, u"AutoNXT", 0), 1u);
    ScriptReply("MORE&");
    Type(*console, "PQ:LIST");
    ASSERT_TRUE(SawCommand("PQ:NXT"));

    // A reply that came while the console was hidden is shown, and answered, once it is back.
    ASSERT_TRUE(Pump([&] { return console->GetList().GetCount() == 7; }));
    Hide(*console);
    ScriptReply("LAST&");
    host.dataMgr.SendClpCommand(CLinkSession::Now(), u"XY:DUMP");
    ASSERT_TRUE(Pump([&] { return host.dataMgr.GetClpResponse() == u"LAST&"; }));
    EXPECT_EQ(console->GetList().GetCount(), 7);
    Show(*console);
    console->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(console->GetList().GetText(7), u"LAST&");
    ASSERT_TRUE(SawCommand("XY:NXT"));
}

TEST_F(CmdLineTest, HistorySavedAsUtf8LinesEndingInCrLf) {
    auto console = ShowConsole();
    host.dataMgr.AppendClpHistory(u"A", 1);
    host.dataMgr.AppendClpHistory(u"OK \u00e9", 2);
    console->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    const CString path = FromQString(dir.filePath("history.txt"));
    services.choice = IScreenServices::SaveChoice{path, FromQString(dir.path())};
    script.ExpectMenu([](QMenu& menu) {
        EXPECT_EQ(menu.objectName(), "menu137");
        EXPECT_TRUE(menu.actions()[0]->isChecked());  // wrap long lines
        EXPECT_FALSE(menu.actions()[1]->isChecked());
        return static_cast<int>(ID_CLP_SAVE_HISTORY);
    });
    console->SendMessage(CMultiLineListBox::kRightButtonMessage, CCmdLineView::kListId);
    EXPECT_EQ(services.asked, (std::vector<std::pair<UINT, UINT>>{{6302, 6303}}));
    EXPECT_EQ(services.pickedIn, u"/setups");
    EXPECT_EQ(services.setupDir, FromQString(dir.path()));
    QFile file(dir.filePath("history.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("A\r\nOK \xC3\xA9\r\n"));

    // A file that cannot be made is reported; nothing is written.
    EXPECT_FALSE(console->SaveHistory(FromQString(dir.filePath("none/history.txt"))));
    ASSERT_FALSE(m_app.m_boxes.empty());
    EXPECT_EQ(m_app.m_boxes.back().text.Find(u"Could not write to file:"), 0);
}

TEST_F(CmdLineTest, PrintedPagesHoldWhatFitsAndATallLineAlone) {
    auto console = ShowConsole();
    CPrintInfo info;
    EXPECT_FALSE(console->OnPreparePrinting(info));
    for (int i = 0; i < 25; ++i)
        host.dataMgr.AppendClpHistory(CString::Formatted(u"line %d", i), 1);
    host.dataMgr.AppendClpHistory(CString(u'w', 107 * 40), 1);
    host.dataMgr.AppendClpHistory(u"after", 1);
    EXPECT_TRUE(console->OnPreparePrinting(info));
    EXPECT_FALSE(info.m_bOfferSelection);

    // 13 units a line: a page of 800 x 400 holds 23 lines under its header.
    CRecordingDC dc(CRect(0, 0, 800, 400), true);
    dc.SetDeviceSize(CSize(800, 400));
    console->OnBeginPrinting(dc, info);
    EXPECT_EQ(info.GetMaxPage(), 4u);
    info.m_nCurPage = 3;
    console->OnPrint(dc, info);
    const auto texts = dc.Of(CRecordingDC::Op::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, u"Command Line Protocol History");
    EXPECT_EQ(texts[1].text, u"Page 3 of 4");
    // The long line fills its page and is cut at the page's foot.
    EXPECT_EQ(texts[2].rect, CRect(24, 65, 776, 65 + 400 - 7 * 13));
    console->OnEndPrinting(dc, info);
}

}  // namespace
