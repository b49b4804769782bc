#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "tests/shell/program_fixture.h"

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

    // A replacing open that fails (the file is spoilt after it was described) says why and
    // leaves an untitled default setup: no later Save can write over the file last opened.
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
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
    EXPECT_FALSE(frame->IsPathFile());
    EXPECT_EQ(Name(0), u"");
    EXPECT_EQ(app.GetConfig().m_wNumGroups, 20);

    // A file dragged onto the window and dropped opens as Open does.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path("B.kvd"))});
    QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    QCoreApplication::sendEvent(frame, &drop);
    ASSERT_TRUE(Until([&] { return Title().contains("B.kvd"); }));
    EXPECT_EQ(Name(1), u"BRAV");
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

}  // namespace
