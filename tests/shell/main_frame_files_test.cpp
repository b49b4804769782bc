#include <QAbstractButton>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "link/link_messages.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/kelvardin_grid_view.h"
#include "tests/shell/program_fixture.h"
#include "tests/support/file_size_limit.h"

namespace {

// The intercoms a setup file holds.
std::vector<UINT> IntercomsIn(const QString& path) {
    CPartialSaveSelection held;
    std::vector<UINT> icoms;
    if (ReadSetupFileContents(FromQString(path), held) != 1) return icoms;
    const CBitArray& set = *held.GetSectionSet(CObjSpec::kIntercom);
    for (UINT i = 0; i < set.GetSize(); ++i) {
        if (set.GetBit(i)) icoms.push_back(i);
    }
    return icoms;
}

using FileCommandsTest = ProgramTest;

TEST_F(FileCommandsTest, SaveSaveAsBackupOpenMergeDropAndAFailedOpen) {
    Rename(0, u"ALFA");
    script.ExpectDialog("FileSave", Choose(Path("A.kvd"), "Save"));
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(Title(), "Kelvardin - [" + Path("A.kvd") + "]");
    EXPECT_FALSE(Doc().HasModifications());

    // A named file: the name is confirmed and the file there becomes the backup.
    Rename(1, u"BRAV");
    script.ExpectMessageBox(
        u"Are you sure you want to save this setup as:\n" + FromQString(Path("A.kvd")).str() + u"?",
        IDYES);
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(IntercomsIn(Path("A.BAK")).size(), 31u);
    script.ExpectDialog("FileSave", Choose(Path("B.kvd"), "Save As"));
    frame->OnCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(Title(), "Kelvardin - [" + Path("B.kvd") + "]");

    // The backup is the setup as it was; a merge always describes the file and marks it.
    frame->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
    script.ExpectDialog("FileOpen", Choose(Path("A.BAK"), "Open"));
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(Name(0) + u"|" + Name(1), u"ALFA|");
    script.ExpectDialog("FileOpen", Choose(Path("B.kvd"), "Merge"));
    script.ExpectDialog("dlg148", Ok);
    frame->OnCommand(ID_FILE_MERGE);
    EXPECT_EQ(Name(1), u"BRAV");
    EXPECT_TRUE(Doc().IsModified(CIcomSpec(1, CIntercom::kFieldName)));
    EXPECT_EQ(Title(), "Kelvardin - [" + Path("A.BAK") + "]");

    // A replacing open that fails (the file is spoilt after it was described) says why; the
    // reader never touched the setup, which stays as it was, under its own name.
    app.GetConfig().m_wNumGroups = 10;  // the file's configuration differs: it is described
    script.ExpectDialog("FileSave", Choose(Path("C.kvd"), "Save As"));
    frame->OnCommand(ID_FILE_SAVE_AS);
    app.GetConfig().m_wNumGroups = 20;
    script.ExpectMessageBox(u"There are changes that have not been saved to file;", IDOK);
    script.ExpectDialog("FileOpen", Choose(Path("C.kvd"), "Open"));
    script.ExpectDialog("dlg148", [&](QDialog&) { return QFile(Path("C.kvd")).resize(5), IDOK; });
    script.ExpectMessageBox(u"The file is not a setup file:\n" + FromQString(Path("C.kvd")).str(),
                            IDOK);
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(Title(), "Kelvardin - [" + Path("C.kvd") + "]");
    EXPECT_TRUE(frame->IsPathFile());
    EXPECT_EQ(Name(0) + u"|" + Name(1), u"ALFA|BRAV");
    EXPECT_EQ(app.GetConfig().m_wNumGroups, 20);

    // A file dragged onto the window and dropped opens as Open does.
    script.ExpectMessageBox(u"There are changes that have not been saved to file;", IDOK);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path("B.kvd"))});
    QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    QCoreApplication::sendEvent(frame, &drop);
    ASSERT_TRUE(Until([&] { return Title().contains("B.kvd"); }));
    EXPECT_EQ(Name(1), u"BRAV");
}

// A file manager offers a file as a move or a copy, with its address as text too.
TEST_F(FileCommandsTest, AFileDroppedOnAGridOpensAndIsAnsweredAsCopiedNeverMoved) {
    Rename(1, u"BRAV");
    script.ExpectDialog("FileSave", Choose(Path("D.kvd"), "Save"));
    frame->OnCommand(ID_FILE_SAVE);
    frame->OnCommand(ID_FILE_NEW);
    frame->OnCommand(ID_VIEW_ICOM_SETUP);
    CKelvardinGridCtrl& grid = *frame->GetCurrentGridScreen()->GetGrid();
    CCellID cell;
    grid.FindCellForObject(cell, CIcomSpec(1, CIntercom::kFieldName), CObjSpec());
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(cell, &rect));
    const QPoint over(rect.CenterPoint().x, rect.CenterPoint().y);

    QMimeData data;
    const QUrl file = QUrl::fromLocalFile(Path("D.kvd"));
    data.setUrls({file});
    data.setText(file.toString());
    // Proposed as a move, as a file manager does; answered as a copy at every step.
    const auto dropOn = [&](QWidget* target, QPoint at) {
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        enter.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
        QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        move.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, &move);
        EXPECT_EQ(move.dropAction(), Qt::CopyAction);
        QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        drop.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
        EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    };
    dropOn(grid.GetClientWidget(), over);
    // Opened as Open does; the address went into no cell.
    ASSERT_TRUE(Until([&] { return Title().contains("D.kvd"); }));
    EXPECT_EQ(Name(1), u"BRAV");
    EXPECT_FALSE(Doc().HasModifications());
    EXPECT_TRUE(script.AllAnswered());

    // A text box of the window (the console's command line) takes no file name either.
    frame->OnCommand(ID_FILE_NEW);
    QLineEdit box(frame);
    dropOn(&box, QPoint(2, 2));
    ASSERT_TRUE(Until([&] { return Title().contains("D.kvd"); }));
    EXPECT_TRUE(box.text().isEmpty());
    EXPECT_EQ(Name(1), u"BRAV");
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(FileCommandsTest, FilesThatAreNoSetupOrAreDamagedSaySo) {
    // An empty file and a text file are refused with a word before the picker comes back.
    QFile(Path("Empty.kvd")).open(QIODevice::WriteOnly);
    QFile text(Path("Text.kvd"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Kelvarden setup file, almost");
    text.close();
    for (const char* name : {"Empty.kvd", "Text.kvd"}) {
        script.ExpectDialog("FileOpen", Choose(Path(name), "Open"));
        script.ExpectMessageBox(u"The file is not a setup file:\n" + FromQString(Path(name)).str(),
                                IDOK);
    }
    script.ExpectDialog("FileOpen", Cancel);
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");

    // A copy cut short opens with what it holds whole, says it is incomplete, and keeps no
    // name that a Save could write the rest of the loss to.
    Rename(30, u"LAST");
    script.ExpectDialog("FileSave", Choose(Path("Whole.kvd"), "Save"));
    frame->OnCommand(ID_FILE_SAVE);
    QFile::copy(Path("Whole.kvd"), Path("Cut.kvd"));
    QFile(Path("Cut.kvd")).resize(QFile(Path("Whole.kvd")).size() / 2);
    frame->OnCommand(ID_FILE_NEW);
    script.ExpectDialog("FileOpen", Choose(Path("Cut.kvd"), "Open"));
    script.ExpectMessageBox(u"The setup file is incomplete or damaged:\n" +
                                FromQString(Path("Cut.kvd")).str() +
                                u"\nSome of its records were not read.",
                            IDOK);
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
    EXPECT_FALSE(frame->IsPathFile());
    EXPECT_EQ(Name(30), u"");
}

TEST_F(FileCommandsTest, APartialSaveHoldsTheChosenItemsAndSavingItAgainAsks) {
    // The sheet starts with the changed intercom chosen; only its OK writes.
    Rename(2, u"CHAR");
    script.ExpectDialog("sheet2407", Cancel);
    frame->OnCommand(ID_FILE_PARTIAL_SAVE);
    script.ExpectDialog("sheet2407", [](QDialog& sheet) { return sheet.accept(), IDOK; });
    script.ExpectDialog("FileSave", Choose(Path("P.kvd"), "Partial Save"));
    frame->OnCommand(ID_FILE_PARTIAL_SAVE);
    EXPECT_EQ(IntercomsIn(Path("P.kvd")), std::vector<UINT>{2});

    // Saving what came from it: No makes a full file under a new name, Yes a partial save.
    for (int answer : {IDNO, IDYES}) {
        script.ExpectDialog("FileOpen", Choose(Path("P.kvd"), "Open"));
        frame->OnCommand(ID_FILE_OPEN);
        EXPECT_EQ(Name(2), u"CHAR");
        script.ExpectMessageBox(u"This file was created via a Partial Save.", answer);
        script.ExpectDialog(answer == IDNO ? "FileSave" : "sheet2407",
                            answer == IDNO ? Choose(Path("F.kvd"), "Save As") : Cancel);
        frame->OnCommand(ID_FILE_SAVE);
    }
    EXPECT_EQ(IntercomsIn(Path("F.kvd")).size(), 31u);
}

TEST_F(FileCommandsTest, ASaveThatFailsKeepsTheEditsTheirUndoAndWhatThePartialFileHeld) {
    auto accept = [](QDialog& sheet) { return sheet.accept(), IDOK; };
    Rename(2, u"CHAR");
    script.ExpectDialog("sheet2407", accept);
    script.ExpectDialog("FileSave", Choose(Path("P.kvd"), "Partial Save"));
    frame->OnCommand(ID_FILE_PARTIAL_SAVE);
    script.ExpectDialog("FileOpen", Choose(Path("P.kvd"), "Open"));
    frame->OnCommand(ID_FILE_OPEN);
    ASSERT_TRUE(Doc().IsPartialFile());
    Rename(5, u"ECHO");
    QFile saved(Path("P.kvd"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray held = saved.readAll();
    saved.close();

    // A full save under a new name and a partial save over the file, both on a full disk.
    const std::u16string confirm = u"Are you sure you want to save this setup as:";
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer);
        script.ExpectMessageBox(u"This file was created via a Partial Save.", answer);
        if (answer == IDNO) {
            script.ExpectDialog("FileSave", Choose(Path("F.kvd"), "Save As"));
        } else {
            script.ExpectDialog("sheet2407", accept);
            script.ExpectMessageBox(confirm, IDYES);
        }
        script.ExpectMessageBox(u"Could not write to file:", IDOK);
        {
            // Even the partial file takes more than this.
            CFileSizeLimit limit(512);
            frame->OnCommand(ID_FILE_SAVE);
        }
        EXPECT_TRUE(script.AllAnswered());
        EXPECT_TRUE(Doc().IsModified(CIcomSpec(5, CIntercom::kFieldName)));
        EXPECT_TRUE(Doc().IsPartialFile());
        EXPECT_FALSE(frame->IsStackEmpty(IMainFrame::Stack::kUndo));
        EXPECT_EQ(Title(), "Kelvardin - [" + Path("P.kvd") + "]");
    }
    EXPECT_FALSE(QFile::exists(Path("F.kvd")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), held);
    saved.close();

    // The sheet starts again from what the file held and what changed since.
    script.ExpectMessageBox(u"This file was created via a Partial Save.", IDYES);
    script.ExpectDialog("sheet2407", accept);
    script.ExpectMessageBox(confirm, IDYES);
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(IntercomsIn(Path("P.kvd")), (std::vector<UINT>{2, 5}));
    EXPECT_EQ(IntercomsIn(Path("P.BAK")), std::vector<UINT>{2});
    EXPECT_FALSE(Doc().HasModifications());
    EXPECT_TRUE(frame->IsStackEmpty(IMainFrame::Stack::kUndo));
}

TEST_F(FileCommandsTest, AFileThatIsNoSetupBringsThePickerBackInItsFolder) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("elsewhere"));
    const QString folder = Path("elsewhere");
    QFile text(folder + "/Text.kvd");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("plain text");
    text.close();
    script.ExpectDialog("FileOpen", [&](QDialog& dialog) {
        EXPECT_EQ(static_cast<QFileDialog&>(dialog).directory().absolutePath(), dir.path());
        return Choose(text.fileName(), "Open")(dialog);
    });
    script.ExpectMessageBox(u"The file is not a setup file:", IDOK);
    script.ExpectDialog("FileOpen", [&](QDialog& dialog) {
        EXPECT_EQ(static_cast<QFileDialog&>(dialog).directory().absolutePath(), folder);
        return IDCANCEL;
    });
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(FileCommandsTest, AFileOpenedWhileConnectingStaysWhenTheConnectFails) {
    Rename(0, u"ALFA");
    script.ExpectDialog("FileSave", Choose(Path("A.kvd"), "Save"));
    frame->OnCommand(ID_FILE_SAVE);
    QFile::copy(Path("A.kvd"), Path("Cut.kvd"));
    QFile(Path("Cut.kvd")).resize(QFile(Path("A.kvd")).size() - 16);

    // Whole or cut short, the file opened gives up the connect under way: no failure of it
    // puts a default setup in its place.
    for (const QString& file : {Path("A.kvd"), Path("Cut.kvd")}) {
        SCOPED_TRACE(file.toStdString());
        const bool whole = file.endsWith("A.kvd");
        frame->OnCommand(ID_FILE_NEW);
        app.SetMode(CAppState::kModeConnecting);
        script.ExpectDialog("FileOpen", Choose(file, "Open"));
        if (!whole) script.ExpectMessageBox(u"The setup file is incomplete or damaged:", IDOK);
        frame->OnCommand(ID_FILE_OPEN);
        EXPECT_TRUE(script.AllAnswered());
        EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
        EXPECT_EQ(frame->WindowProc(WM_LINK_ERROR, 3, 0), 0);
        EXPECT_EQ(Title(), "Kelvardin - [" + (whole ? file : QString("Untitled")) + "]");
        EXPECT_EQ(Name(0), u"ALFA");
    }
}

// A connect fails while Open's picker is open: Open given up leaves the FILE mode that the link
// set, with the changes kept.
TEST_F(FileCommandsTest, AnOpenGivenUpLeavesTheModeThatTheLinkSetMeanwhile) {
    Rename(0, u"ALFA");
    app.SetMode(CAppState::kModeConnecting);
    script.ExpectMessageBox(u"There are changes that have not been saved to file", IDOK);
    script.ExpectDialog("FileOpen", [&](QDialog&) {
        frame->WindowProc(WM_LINK_ERROR, 3, 0);
        return IDCANCEL;
    });
    script.ExpectMessageBox(u"Unable to contact a Corvane, entering FILE mode.", IDOK);
    script.ExpectMessageBox(u"To keep them in FILE mode, choose Cancel.", IDCANCEL);
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
    EXPECT_TRUE(Doc().IsModified(CIcomSpec(0, CIntercom::kFieldName)));
}

TEST_F(FileCommandsTest, AnOpenGivenUpKeepsTheConfigurationOfTheSetupShown) {
    CCVConfig saved = app.GetConfig();
    const WORD groups = saved.m_wNumGroups;
    saved.m_wNumGroups = groups / 2;
    saved.SaveToRegistry(app.GetProfile());
    QFile text(Path("Text.kvd"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("plain text");
    text.close();
    // The saved default chosen, then the picker given up, at once or after a file that is none.
    for (bool tried : {false, true}) {
        SCOPED_TRACE(tried);
        script.ExpectDialog("dlg165", [](QDialog& dialog) {
            dialog.findChild<QAbstractButton*>("ctl1010")->click();
            return dialog.accept(), IDOK;
        });
        if (tried) {
            script.ExpectDialog("FileOpen", Choose(Path("Text.kvd"), "Open"));
            script.ExpectMessageBox(u"The file is not a setup file:", IDOK);
        }
        script.ExpectDialog("FileOpen", Cancel);
        frame->OnCommand(ID_FILE_OPEN);
        EXPECT_TRUE(script.AllAnswered());
        EXPECT_EQ(app.GetConfig().m_wNumGroups, groups);
        EXPECT_NE(Doc().FindObject(CGroupSpec(groups - 1, 1)), nullptr);
    }
}

class CommandLineTest : public ProgramTest {
protected:
    CommandLineTest() { startLater = true; }
    void StartWith(const QString& file) {
        ASSERT_TRUE(app.InitInstance({u"-nologo", FromQString(file)}));
        frame = dynamic_cast<CMainFrame*>(app.GetMainFrame());
        ASSERT_NE(frame, nullptr);
    }
};

TEST_F(CommandLineTest, ASetupFileNamedOnTheCommandLineOpensAsOpenWould) {
    Start();
    Rename(0, u"ALFA");
    script.ExpectDialog("FileSave", Choose(Path("A.kvd"), "Save"));
    frame->OnCommand(ID_FILE_SAVE);
    app.ExitInstance();
    QFile text(Path("Text.kvd"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("plain text");
    text.close();

    // A name given from the working folder opens under its full path.
    const QString working = QDir::currentPath();
    QDir::setCurrent(dir.path());
    StartWith("A.kvd");
    QDir::setCurrent(working);
    EXPECT_EQ(Title(), "Kelvardin - [" + Path("A.kvd") + "]");
    EXPECT_TRUE(frame->IsPathFile());
    EXPECT_EQ(Name(0), u"ALFA");
    app.ExitInstance();

    // A controller that answers at start does not replace the file the user asked to see.
    profile.WriteProfileString(u"Settings\\Communication", u"ComPort", u"NET:");
    profile.WriteProfileInt(u"Settings\\Startup and Shutdown", u"AutoConnect", 1);
    StartWith(Path("A.kvd"));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(Title(), "Kelvardin - [" + Path("A.kvd") + "]");
    app.ExitInstance();
    // So does a file cut short, which has no name to save to.
    QFile::copy(Path("A.kvd"), Path("Cut.kvd"));
    QFile(Path("Cut.kvd")).resize(QFile(Path("A.kvd")).size() - 16);
    script.ExpectMessageBox(u"The setup file is incomplete or damaged:", IDOK);
    StartWith(Path("Cut.kvd"));
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(Name(0), u"ALFA");
    app.ExitInstance();
    profile.WriteProfileString(u"Settings\\Communication", u"ComPort", u"NUL:");

    for (const QString& file : {Path("Text.kvd"), Path("None.kvd")}) {
        SCOPED_TRACE(file.toStdString());
        script.ExpectMessageBox(
            file.endsWith("Text.kvd") ? u"The file is not a setup file:" : u"Could not open file:",
            IDOK);
        StartWith(file);
        EXPECT_TRUE(script.AllAnswered());
        EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
        EXPECT_EQ(Name(0), u"");
        app.ExitInstance();
    }
}

}  // namespace
