#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include "model/partial_save_selection.h"
#include "res/command_ids.h"
#include "shell/setup_file_drivers.h"
#include "tests/shell/program_fixture.h"

namespace {

CString Name(CKelvardinDoc& doc, int icom) {
    return doc.GetObjectText(CIcomSpec(icom, CIntercom::kFieldName4));
}

void Rename(CKelvardinDoc& doc, int icom, const CString& name) {
    doc.SetObjectField(CIcomSpec(icom, CIntercom::kFieldName4), name, TRUE);
}

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
    Rename(Doc(), 0, u"ALFA");
    script.ExpectDialog("FileSave", Choose(Path("A.kvd"), "Save"));
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(Title(), "Kelvardin - [" + Path("A.kvd") + "]");
    EXPECT_FALSE(Doc().HasModifications());

    // A named file: the name is confirmed and the file there becomes the backup.
    Rename(Doc(), 1, u"BRAV");
    script.ExpectMessageBox(
        u"Are you sure you want to save this setup as:\n" + FromQString(Path("A.kvd")).str() + u"?",
        IDYES);
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(QFile::exists(Path("A.BAK")));
    EXPECT_EQ(IntercomsIn(Path("A.kvd")).size(), 31u);
    script.ExpectDialog("FileSave", Choose(Path("B.kvd"), "Save As"));
    frame->OnCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(Title(), "Kelvardin - [" + Path("B.kvd") + "]");

    // The backup is the setup as it was: opened, it has ALFA only and nothing to undo.
    frame->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
    EXPECT_EQ(Name(Doc(), 0), u"");
    script.ExpectDialog("FileOpen", Choose(Path("A.BAK"), "Open"));
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(Name(Doc(), 0), u"ALFA");
    EXPECT_EQ(Name(Doc(), 1), u"");
    EXPECT_TRUE(frame->IsStackEmpty(IMainFrame::Stack::kUndo));

    // A merge always shows what the file holds; what it read counts as changed.
    script.ExpectDialog("FileOpen", Choose(Path("B.kvd"), "Merge"));
    script.ExpectDialog("dlg148", Ok);
    frame->OnCommand(ID_FILE_MERGE);
    EXPECT_EQ(Name(Doc(), 1), u"BRAV");
    EXPECT_TRUE(Doc().IsModified(CIcomSpec(1, CIntercom::kFieldName4)));
    EXPECT_EQ(Title(), "Kelvardin - [" + Path("A.BAK") + "]");

    // A replacing open that fails (the file is spoilt after its description was read) leaves
    // an untitled default setup, so no later Save can overwrite the file last opened.
    app.GetConfig().m_wNumGroups = 10;  // the file's configuration differs: it is described
    script.ExpectDialog("FileSave", Choose(Path("C.kvd"), "Save As"));
    frame->OnCommand(ID_FILE_SAVE_AS);
    app.GetConfig().m_wNumGroups = 20;
    script.ExpectMessageBox(u"There are changes that have not been saved to file;", IDOK);
    script.ExpectDialog("FileOpen", Choose(Path("C.kvd"), "Open"));
    script.ExpectDialog("dlg148", [&](QDialog&) {
        QFile(Path("C.kvd")).resize(5);
        return IDOK;
    });
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
    EXPECT_FALSE(frame->IsPathFile());
    EXPECT_EQ(Name(Doc(), 0), u"");
    EXPECT_EQ(app.GetConfig().m_wNumGroups, 20);
    script.ExpectDialog("FileSave", Cancel);
    frame->OnCommand(ID_FILE_SAVE);

    // A file dragged onto the window and dropped opens as Open does.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path("B.kvd"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &drop);
    ASSERT_TRUE(Until([&] { return Title().contains("B.kvd"); }));
    EXPECT_EQ(Name(Doc(), 1), u"BRAV");
}

TEST_F(FileCommandsTest, APartialSaveHoldsTheChosenItemsAndSavingItAgainAsks) {
    Rename(Doc(), 2, u"CHAR");
    // The sheet starts with the changed intercom chosen; only its OK writes.
    script.ExpectDialog("sheet2407", Cancel);
    frame->OnCommand(ID_FILE_PARTIAL_SAVE);
    script.ExpectDialog("sheet2407", [](QDialog& sheet) {
        sheet.accept();
        return IDOK;
    });
    script.ExpectDialog("FileSave", Choose(Path("P.kvd"), "Partial Save"));
    frame->OnCommand(ID_FILE_PARTIAL_SAVE);
    EXPECT_EQ(IntercomsIn(Path("P.kvd")), std::vector<UINT>{2});

    frame->OnCommand(ID_FILE_NEW);
    script.ExpectDialog("FileOpen", Choose(Path("P.kvd"), "Open"));
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(Name(Doc(), 2), u"CHAR");

    // No: a full file under a new name. Yes: the partial-save sheet, then the same file.
    script.ExpectMessageBox(u"This file was created via a Partial Save.", IDNO);
    script.ExpectDialog("FileSave", Choose(Path("F.kvd"), "Save As"));
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(IntercomsIn(Path("F.kvd")).size(), 31u);
    script.ExpectDialog("FileOpen", Choose(Path("P.kvd"), "Open"));
    frame->OnCommand(ID_FILE_OPEN);
    script.ExpectMessageBox(u"This file was created via a Partial Save.", IDYES);
    script.ExpectDialog("sheet2407", Cancel);
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(script.AllAnswered());
}

}  // namespace
