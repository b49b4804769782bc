// The main window's undo history, setup-file commands and link events, each without the window.
#include <QFileDialog>

#include <algorithm>
#include <functional>
#include <vector>

#include "link/link_messages.h"
#include "model/undo_object.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/main_frame/link_events.h"
#include "shell/main_frame/setup_file_commands.h"
#include "shell/main_frame/undo_history.h"
#include "shell/nav/nav_history.h"
#include "tests/shell/shell_fixture.h"

namespace {

// A step that records what was applied; its inverse is the negative id.
struct CFakeStep : CUndoStep {
    CFakeStep(int step, std::vector<int>& log) : id(step), applied(log) {}
    std::unique_ptr<CUndoStep> MakeInverse(const CKelvardinDoc&) const override {
        return std::make_unique<CFakeStep>(-id, applied);
    }
    void Apply(BOOL select) const override { applied.push_back(select ? id : 0); }
    void Restore(CKelvardinDoc&) const override {}
    std::vector<CObjSpec> GetFields() const override { return {}; }
    std::uint64_t GetMade() const override { return 0; }
    int id;
    std::vector<int>& applied;
};

std::unique_ptr<CUndoObject> Record(int icom) {
    return std::make_unique<CUndoObject>(CIcomSpec(icom, CIntercom::kFieldName),
                                         CIcomSpec(icom, CIntercom::kFieldName), u"", 0,
                                         CContext());
}

int TopId(CStack<CUndoStep>& stack) {
    const auto* step = dynamic_cast<const CFakeStep*>(stack.Peek());
    return step ? step->id : 0;
}

}  // namespace

TEST(UndoHistory, GroupsStepsAndGoesBackToARecordsScreen) {
    CKelvardinDoc doc;
    CNavHistory navigation;
    int current = 2;
    bool showing = false;
    std::vector<int> shown;
    CUndoHistory history(doc, navigation,
                         {.current = [&] { return current; },
                          .showing = [&] { return showing; },
                          .show = [&](int screen) { shown.push_back(screen); }});

    // Outside a group each record is a step and empties the redo stack.
    std::vector<int> applied;
    history.RedoStack().Push(std::make_unique<CFakeStep>(9, applied));
    history.Add(Record(0));
    history.Add(Record(1));
    EXPECT_EQ(history.UndoStack().GetCount(), 2u);
    EXPECT_TRUE(history.RedoStack().IsEmpty());

    // A group's records and lists are one step; an empty group is none; opening a group
    // closes the one open.
    history.BeginGroup(true);
    history.Add(Record(2));
    auto list = std::make_unique<CUndoObList>();
    list->Add(Record(3));
    history.AddList(std::move(list));
    history.BeginGroup(true);
    history.BeginGroup(false);
    EXPECT_EQ(history.UndoStack().GetCount(), 3u);
    const auto* group = dynamic_cast<const CUndoObList*>(history.UndoStack().Peek());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetCount(), 2u);

    // Undo applies the newest step and keeps its inverse for Redo, and back again.
    history.Clear();
    history.UndoStack().Push(std::make_unique<CFakeStep>(4, applied));
    history.Undo();
    history.Undo();
    EXPECT_EQ(applied, std::vector<int>({4}));
    EXPECT_EQ(TopId(history.RedoStack()), -4);
    history.Redo();
    EXPECT_EQ(applied, std::vector<int>({4, -4}));
    EXPECT_EQ(TopId(history.UndoStack()), 4);
    EXPECT_TRUE(history.RedoStack().IsEmpty());

    // A record's screen comes back through the navigation history.
    EXPECT_FALSE(history.GetCurrentContext());
    showing = true;
    navigation.GetViewContext(2).m_params[0] = 7;
    ASSERT_TRUE(history.GetCurrentContext());
    EXPECT_EQ(history.GetCurrentContext()->m_params[0], 7u);
    CContext target = navigation.GetViewContext(5);
    target.m_params[1] = 3;
    history.GoToContext(target);
    EXPECT_EQ(shown, std::vector<int>({5}));
    EXPECT_EQ(navigation.GetViewContext(5).m_params[1], 3u);
    ASSERT_FALSE(navigation.Back().IsEmpty());
    EXPECT_EQ(navigation.Back().Peek()->m_params[0], 7u);
}

class MainFrameJobsTest : public ShellTest {
protected:
    MainFrameJobsTest() {
        profile.WriteProfileString(u"Settings\\Files and Directories", u"SetupFileDirectory",
                                   FromQString(dir.path()));
        app.AttachFrame()->doc = &doc;
        doc.OnNewDocument();
    }
    QString Title() const { return window.windowTitle(); }

    CKelvardinDoc doc;
    CNavHistory navigation;
    CUndoHistory undo{
        doc,
        navigation,
        {.current = [] { return 0; }, .showing = [] { return true; }, .show = [](int) {}}};
    QWidget window;
    int operations = 0;
    CSetupFileCommands files{app, doc, undo, navigation, window, [this](CKelvardinDialog&) {
                                 ++operations;
                                 return IDOK;
                             }};
    CModalScript script{env};
};

TEST_F(MainFrameJobsTest, FileCommandsKeepThePathTitleAndHistories) {
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
    files.SetFrameTitle();
    EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");

    // Save As names the setup; a save empties the undo history.
    doc.SetObjectField(CIcomSpec(0, CIntercom::kFieldName), u"ALFA", TRUE);
    EXPECT_TRUE(files.HasChanges());
    undo.Add(Record(0));
    const QString path = dir.filePath("A.kvd");
    script.ExpectDialog("FileSave", [&](QDialog& d) {
        static_cast<QFileDialog&>(d).selectFile(path);
        d.accept();
        return IDOK;
    });
    files.Save(FALSE, TRUE);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(Title(), "Kelvardin - [" + path + "]");
    EXPECT_TRUE(files.IsPathFile());
    EXPECT_FALSE(files.HasChanges());
    EXPECT_TRUE(undo.UndoStack().IsEmpty());

    // The way out of ONLINE mode: a default setup, untitled, with no history to go back to.
    app.SetMode(CAppState::kModeOnline);
    undo.Add(Record(1));
    navigation.Push(navigation.GetViewContext(3));
    files.EnterFileMode();
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
    EXPECT_FALSE(files.IsPathFile());
    EXPECT_EQ(doc.GetObjectText(CIcomSpec(0, CIntercom::kFieldName)), u"");
    EXPECT_TRUE(undo.UndoStack().IsEmpty());
    EXPECT_TRUE(navigation.Back().IsEmpty());

    // Opening the saved file replaces the setup and takes its name.
    script.ExpectDialog("FileOpen", [&](QDialog& d) {
        static_cast<QFileDialog&>(d).selectFile(path);
        d.accept();
        return IDOK;
    });
    files.Open();
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(doc.GetObjectText(CIcomSpec(0, CIntercom::kFieldName)), u"ALFA");
    EXPECT_EQ(Title(), "Kelvardin - [" + path + "]");
    EXPECT_EQ(operations, 0);
}

TEST_F(MainFrameJobsTest, LinkEventsLightLampsAndLeaveAFailedConnectForFileMode) {
    std::vector<int> lamps;
    CLinkEvents events(app, doc, files, window, [&](int lamp) { lamps.push_back(lamp); });
    for (WPARAM kind : {0, 1, 2, 3, 4})
        events.OnLinkMessage(WM_LINK_ACTIVITY, kind, 0);
    events.OnLinkMessage(WM_LINK_ACTIVITY, LINK_ACTIVITY_READ_FAILED, -6);
    EXPECT_EQ(lamps, std::vector<int>({1, 2, 3, 4}));

    // The end of an operation when none runs keeps the changes.
    doc.SetObjectField(CIcomSpec(0, CIntercom::kFieldName), u"ALFA", TRUE);
    events.OnLinkMessage(WM_LINK_SEND_DONE, 0, 0);
    EXPECT_TRUE(files.HasChanges());

    // A link error in FILE mode changes nothing; while connecting it says so and, once the
    // changes made meanwhile are let go, starts an untitled default setup.
    EXPECT_EQ(events.OnLinkMessage(WM_LINK_ERROR, 0, 0), 0);
    EXPECT_TRUE(script.AllAnswered());
    app.SetMode(CAppState::kModeConnecting);
    app.m_nControllerPresent = 1;
    files.SetFrameTitle();
    script.ExpectMessageBox(u"Unable to contact a Corvane, entering FILE mode.", IDOK);
    script.ExpectMessageBox(u"There are changes that have not been sent", IDNO);
    EXPECT_EQ(events.OnLinkMessage(WM_LINK_ERROR, 0, 0), 0);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(app.m_nControllerPresent, 0);
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
    EXPECT_FALSE(files.HasChanges());
}

TEST_F(MainFrameJobsTest, EveryQuestionThatCanLoseChangesOffersOkAndCancelAndCancelKeepsAll) {
    const auto offers = [&](std::initializer_list<int> wanted) {
        const std::vector<int> answers = MessageBoxAnswers(script.MessageBoxStyles().back().first);
        return std::ranges::is_permutation(answers, wanted);
    };
    // Each command asks its question; Cancel leaves the setup, its history, the mode and the
    // title as they were. Leaving a controller with unsent changes also offers to save them.
    const auto cancelled = [&](UINT question, const std::function<void()>& command,
                               std::initializer_list<int> answers = {IDOK, IDCANCEL}) {
        SCOPED_TRACE(question);
        const QString title = Title();
        const int mode = app.GetMode();
        const size_t asked = script.MessageBoxes().size();
        script.ExpectMessageBox(LoadResString(question).str(), IDCANCEL);
        command();
        EXPECT_TRUE(script.AllAnswered());
        ASSERT_EQ(script.MessageBoxes().size(), asked + 1);
        EXPECT_TRUE(offers(answers));
        EXPECT_EQ(app.GetMode(), mode);
        EXPECT_EQ(Title(), title);
        EXPECT_EQ(doc.GetObjectText(CIcomSpec(0, CIntercom::kFieldName)), u"ALFA");
        EXPECT_EQ(files.HasChanges(), doc.IsModified(CIcomSpec(0, CIntercom::kFieldName)) != 0);
        EXPECT_FALSE(undo.UndoStack().IsEmpty());
    };

    doc.SetObjectField(CIcomSpec(0, CIntercom::kFieldName), u"ALFA", TRUE);
    undo.Add(Record(0));
    cancelled(kIdsNewChanges, [&] { files.New(); });
    cancelled(kIdsOpenChanges, [&] { files.Open(); });
    cancelled(kIdsMergeChanges, [&] { files.MergeOrLoad(ID_FILE_MERGE); });
    cancelled(kIdsSendFileChanges, [&] { files.SendFile(); });
    EXPECT_TRUE(files.HasChanges());

    app.SetMode(CAppState::kModeOnline);
    files.SetFrameTitle();
    cancelled(kIdsNewOnlineUnsent, [&] { files.New(); }, {IDYES, IDNO, IDCANCEL});
    cancelled(kIdsOpenOnlineUnsent, [&] { files.Open(); }, {IDYES, IDNO, IDCANCEL});
    cancelled(kIdsLoadChanges, [&] { files.MergeOrLoad(ID_FILE_LOAD); });
    EXPECT_TRUE(files.HasChanges());

    // ONLINE without changes the setup of the controller is still at stake.
    doc.ClearAllChanges();
    cancelled(kIdsNewOnline, [&] { files.New(); });
    cancelled(kIdsOpenOnline, [&] { files.Open(); });
}
