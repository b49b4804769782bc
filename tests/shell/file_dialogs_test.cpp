#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>

#include "model/partial_save_selection.h"
#include "platform/ui/win_consts.h"
#include "res/string_table.h"
#include "shell/controls/kelvardin_list_ctrl.h"
#include "shell/dialogs/dlg_send_all_list.h"
#include "shell/files/dlg_file_description.h"
#include "shell/files/dlg_file_picker.h"
#include "tests/shell/shell_fixture.h"

namespace {

using Rows = std::vector<std::vector<QString>>;

Rows ListRows(QDialog& dialog, UINT id) {
    auto* list = Ctl<CKelvardinListCtrl>(dialog, id);
    Rows rows;
    for (int row = 0; row < list->GetItemCount(); ++row) {
        rows.emplace_back();
        for (int column = 0; column < list->GetColumnCount(); ++column)
            rows.back().push_back(ToQString(list->GetItemText(row, column)));
    }
    return rows;
}

// Chooses the path in a picker, as typed, and presses its OK button.
void Choose(QDialog& dialog, const QString& path, bool tickSaveDirectory) {
    static_cast<QFileDialog&>(dialog).selectFile(path);
    if (tickSaveDirectory) Ctl<QCheckBox>(dialog, 4096)->setChecked(true);
    dialog.accept();
}

}  // namespace

TEST_F(ShellTest, PickersAskThroughTheSeamAndGiveTheChosenFolder) {
    EXPECT_EQ(FileDialogNameFilters(LoadResString(2176)),
              (QStringList{"Kelvardin files (*.kvd)", "All Files (*)"}));
    CModalScript script(env);
    const QString folder = dir.path();
    QFile(folder + "/A.kvd").open(QIODevice::WriteOnly);

    // Replacing a file is asked; No keeps the picker open.
    script.ExpectDialog("FileSave", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Save");
        Choose(dialog, folder + "/A", true);
        EXPECT_TRUE(dialog.isVisible());
        dialog.accept();
        return 0;
    });
    script.ExpectMessageBox(u"A.kvd already exists.\nDo you want to replace it?", IDNO);
    script.ExpectMessageBox(u"A.kvd already exists.", IDYES);
    CDlgSaveFile save(106, 2160, {}, u"kvd", 2177);
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName(), FromQString(folder + "/A.kvd"));
    CString chosen;
    EXPECT_TRUE(save.GetSaveDirectory(chosen));
    EXPECT_EQ(chosen, FromQString(folder));

    // A folder deeper than the old 260-character limit is given too.
    const QString deep = folder + "/" + QString(120, 'd') + "/" + QString(120, 'e');
    ASSERT_TRUE(QDir().mkpath(deep));
    QFile(deep + "/B.kvd").open(QIODevice::WriteOnly);
    script.ExpectDialog("FileOpen", [&](QDialog& dialog) {
        EXPECT_EQ(static_cast<QFileDialog&>(dialog).labelText(QFileDialog::Accept), "Open");
        Choose(dialog, deep + "/none.kvd", false);
        Choose(dialog, deep + "/B.kvd", true);
        return 0;
    });
    script.ExpectMessageBox(u"none.kvd\nFile not found.", IDOK);
    CDlgOpenFile open(108, 2166, 2166, {}, 2176, OFN_FILEMUSTEXIST, u"kvd");
    ASSERT_EQ(open.DoModal(), IDOK);
    EXPECT_TRUE(open.GetSaveDirectory(chosen));
    EXPECT_EQ(chosen, FromQString(deep));

    // A folder not made yet opens at its nearest existing parent, not the working folder.
    EXPECT_EQ(NearestExistingFolder(folder + "/not/yet"), folder);
    EXPECT_EQ(NearestExistingFolder(deep), deep);
    EXPECT_EQ(NearestExistingFolder({}), QDir::homePath());
}

TEST_F(ShellTest, ThePickersSizeAndDateColumnsFitTheirTexts) {
    CModalScript script(env);
    QFile file(dir.path() + "/Large setup.kvd");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(35 * 1024 + 700, 'x'));
    file.close();
    script.ExpectDialog("FileOpen", [&](QDialog& dialog) {
        // The picker opens in the view the last one used, which another program may have left
        // at the list.
        static_cast<QFileDialog&>(dialog).setViewMode(QFileDialog::Detail);
        auto* tree = dialog.findChild<QTreeView*>("treeView");
        EXPECT_TRUE(PumpWaitingMessages(
            [&] {
                const QModelIndex root = tree->rootIndex();
                return tree->model()->rowCount(root) == 1 &&
                       !tree->model()->index(0, 3, root).data().toString().isEmpty();
            },
            10000));
        QCoreApplication::processEvents();
        // Size, type and date: no text cut short, with the margins a cell keeps either side.
        const int margins =
            2 * (tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1);
        for (int column = 1; column <= 3; ++column) {
            const QString text =
                tree->model()->index(0, column, tree->rootIndex()).data().toString();
            EXPECT_GE(tree->header()->sectionSize(column),
                      tree->fontMetrics().horizontalAdvance(text) + margins)
                << text.toStdString();
        }
        return IDCANCEL;
    });
    CDlgOpenFile open(108, 2166, 2166, {}, 2176, OFN_FILEMUSTEXIST, u"kvd");
    open.SetInitialDir(FromQString(dir.path()));
    open.DoModal();
}

TEST_F(ShellTest, TheFileDescriptionShowsWhenAskedOrWarnedAndElseNever) {
    CPartialSaveSelection file;
    CBitArray& trunks = *file.GetSectionSet(CObjSpec::kTrunk);
    trunks.SetSize(999);
    for (UINT trunk : {0u, 1u, 2u, 4u})
        trunks.SetBit(trunk, TRUE);
    file.GetSectionSet(CObjSpec::kOptions)->SetSize(1);
    file.GetSectionSet(CObjSpec::kOptions)->SetBit(0, TRUE);
    file.GetSectionSet(CObjSpec::kIntercom)->SetSize(31);
    file.GetSectionSet(CObjSpec::kIntercom)->SetAll(TRUE);
    file.GetSectionSet(CObjSpec::kGroup)->SetSize(20);

    const CCVConfig current = GetApp().GetConfig();
    CModalScript script(env);
    EXPECT_EQ(CDlgFileDescription(&file, current, FALSE, u"A.kvd").DoModal(), IDOK);
    script.ExpectDialog("dlg148", [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "File Description - A.kvd");
        // No row for the groups, of which the file holds none.
        EXPECT_EQ(ListRows(dialog, 1007), (Rows{{"Trunks", "999", "1-3, 5"},
                                                {"Options", "1", "1"},
                                                {"Intercoms", "31", "1-31"}}));
        EXPECT_TRUE(Ctl(dialog, 1000)->isHidden() && Ctl(dialog, 1008)->isHidden());
        Ctl<QPushButton>(dialog, IDCANCEL)->click();
        return 0;
    });
    EXPECT_EQ(CDlgFileDescription(&file, current, TRUE, u"A.kvd").DoModal(), IDCANCEL);

    file.GetConfig().m_wNumTrunks = 500;
    script.ExpectDialog("dlg148", [](QDialog& dialog) {
        EXPECT_TRUE(
            Ctl<QLabel>(dialog, 1000)
                ->text()
                .startsWith("Warning:  The Corvane configuration in the file does not match"));
        EXPECT_FALSE(Ctl(dialog, 1000)->isHidden());
        EXPECT_FALSE(Ctl<QLabel>(dialog, 1008)->pixmap().isNull());
        Ctl<QPushButton>(dialog, IDOK)->click();
        return 0;
    });
    EXPECT_EQ(CDlgFileDescription(&file, current, FALSE, u"A.kvd").DoModal(), IDOK);
}

TEST_F(ShellTest, TheSendListShowsEachKindOfChangeAsRanges) {
    GetApp().GetConfig().m_wFlags = CCVConfig::kTksupvSupport | CCVConfig::kNewCorvane;
    CKelvardinDoc doc;
    ASSERT_TRUE(doc.ResetToDefaultSetup());
    for (int trunk : {0, 1, 2, 4, 6, 7, 8})
        doc.SetModified(CTrunkSpec(trunk, 3), TRUE);
    doc.SetModified(COptionSpec(1620), TRUE);
    for (int icom = 0; icom < 30; icom += 2)
        doc.SetModified(CIcomSpec(icom, 74), TRUE);
    // 40 characters still take one row.
    for (int icom : {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 21, 22})
        doc.SetModified(CIcomSpec(icom, 75), TRUE);

    CModalScript script(env);
    script.ExpectDialog("dlg160", [](QDialog& dialog) {
        EXPECT_EQ(ListRows(dialog, 1019),
                  (Rows{{"Trunk Definitions", "1-3, 5, 7-9"},
                        {"Auto Clear Allocations", "1"},
                        {"Intercom Ports", "1, 3, 5, 7, 9, 11, 13, 15"},
                        {"Intercom Ports", "17, 19, 21, 23, 25, 27"},
                        {"Intercom Ports", "29"},
                        {"Intercom Baud Rates", "1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21-23"}}));
        Ctl<QPushButton>(dialog, IDOK)->click();
        return 0;
    });
    EXPECT_EQ(CDlgSendAllList(doc).DoModal(), IDOK);
}

TEST_F(ShellTest, ControllerLogLinesReachTheirDayFileAndOneFailureIsShown) {
    const QString logs = dir.filePath("Logs");
    app.SetLogDirectory(FromQString(logs));
    const CString line = u"240305 09:16" + CString(u'.', 58) + u"\r\n";
    EXPECT_TRUE(app.GetDataMgr().AppendControllerLog(line));
    const QString day = logs + "/20240305.CVL";
    EXPECT_EQ(QFile(day).size(), 144);
    EXPECT_EQ(app.m_strLastLogFile, FromQString(day));

    // A log directory that cannot be made: the first line is reported, the next is not.
    QFile(dir.filePath("file")).open(QIODevice::WriteOnly);
    app.SetLogDirectory(FromQString(dir.filePath("file/Logs")));
    CModalScript script(env);
    const CString path = FromQString(dir.filePath("file/Logs/20240305.CVL"));
    script.ExpectMessageBox((u"Could not write to log file:\n" + path).str(), IDOK);
    EXPECT_TRUE(app.AppendControllerLog(line));
    EXPECT_TRUE(app.AppendControllerLog(line));
}
