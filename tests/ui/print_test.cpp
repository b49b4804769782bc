#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/dc.h"
#include "platform/ui/print.h"
#include "platform/ui/print_progress.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/ui_environment.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/modal_script.h"

namespace {

// Two pages, each with a black square; like the console, it asks for a dialog without
// print-to-file.
class CSquaresView : public IPrintView {
public:
    BOOL OnPreparePrinting(CPrintInfo& info) override {
        info.m_bOfferPrintToFile = FALSE;
        info.SetMaxPage(2);
        return TRUE;
    }
    void OnBeginPrinting(CDC&, CPrintInfo&) override {}
    void OnPrint(CDC& dc, CPrintInfo&) override {
        dc.FillSolidRect(CRect(10, 10, 200, 200), RGB(0, 0, 0));
        ++pages;
    }
    void OnEndPrinting(CDC&, CPrintInfo&) override {}
    int pages = 0;
};

TEST(Printing, WithoutAPrinterTheDialogPrintsToAPdfFileAndDirectPrintingSaysItCannot) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    CUiEnvironment env;
    CModalScript script(env);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("history.pdf");
    CSquaresView view;

    script.ExpectDialog("printDialog", [&](QDialog& dialog) {
        EXPECT_TRUE(static_cast<QPrintDialog&>(dialog).testOption(QPrintDialog::PrintToFile));
        auto* file = dialog.findChild<QLineEdit*>("filename");
        EXPECT_NE(file, nullptr);
        if (file) file->setText(pdf);
        dialog.accept();
        return 0;
    });
    EXPECT_TRUE(PrintView(view, PrintMode::Dialog, nullptr));
    EXPECT_EQ(view.pages, 2);
    EXPECT_GT(QFileInfo(pdf).size(), 0);

    view.pages = 0;
    script.ExpectMessageBox(u"No printer is installed", IDOK);
    EXPECT_FALSE(PrintView(view, PrintMode::Direct, nullptr));
    EXPECT_EQ(view.pages, 0);
    EXPECT_TRUE(script.AllAnswered());
}

// Pages that say what the printing box showed while each printed, and may cancel it.
class CWatchedPagesView : public IPrintView {
public:
    explicit CWatchedPagesView(int pages) : m_pages(pages) {}
    BOOL OnPreparePrinting(CPrintInfo& info) override {
        info.SetMaxPage(static_cast<UINT>(m_pages));
        return TRUE;
    }
    void OnBeginPrinting(CDC&, CPrintInfo&) override {}
    void OnPrint(CDC& dc, CPrintInfo& info) override {
        dc.FillSolidRect(CRect(10, 10, 200, 200), RGB(0, 0, 0));
        QDialog* box = ProgressBox();
        auto* text = box ? box->findChild<QLabel*>("printPage") : nullptr;
        shown.push_back(box && box->isVisible() && text ? text->text() : QString());
        if (onPage) onPage(static_cast<int>(info.m_nCurPage), box);
    }
    void OnEndPrinting(CDC&, CPrintInfo&) override {}

    static QDialog* ProgressBox() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "printProgress") return qobject_cast<QDialog*>(widget);
        }
        return nullptr;
    }

    QStringList shown;
    std::function<void(int, QDialog*)> onPage;

private:
    int m_pages;
};

class CPaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// The print dialog, answered with a PDF file as the printer; it notes the file its Output file
// field offered.
CModalScript::DialogAction ToPdf(const QString& file, QString* offered = nullptr) {
    return [file, offered](QDialog& dialog) {
        QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
        auto* field = dialog.findChild<QLineEdit*>("filename");
        if (offered) *offered = field ? field->text() : QString();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
        return static_cast<int>(QDialog::Accepted);
    };
}

TEST(Printing, TheBoxNamesThePageTheWindowRepaintsAndCancelLeavesNoFile) {
    CUiEnvironment env;
    CModalScript script(env);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("trunks.pdf");
    CPaintCounter window;
    window.resize(200, 100);
    window.show();
    CWatchedPagesView view(4);
    int paintsBefore = 0;
    view.onPage = [&](int page, QDialog* box) {
        if (page == 1) {
            paintsBefore = window.paints;
            window.update();
        }
        if (page == 2) {
            EXPECT_GT(window.paints, paintsBefore) << "the window did not repaint between pages";
            if (box) box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        }
    };
    script.ExpectDialog("printDialog", ToPdf(pdf));
    EXPECT_FALSE(PrintView(view, PrintMode::Dialog, nullptr));
    EXPECT_EQ(view.shown, QStringList({"Printing page 1 of 4", "Printing page 2 of 4"}));
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_TRUE(script.MessageBoxes().empty());

    // The next print offers the file of the last one, and runs to its end.
    view.shown.clear();
    view.onPage = nullptr;
    QString offered;
    script.ExpectDialog("printDialog", ToPdf(pdf, &offered));
    EXPECT_TRUE(PrintView(view, PrintMode::Dialog, nullptr));
    EXPECT_EQ(offered, pdf);
    EXPECT_EQ(view.shown.size(), 4);
    EXPECT_EQ(view.shown.last(), "Printing page 4 of 4");
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_TRUE(!CWatchedPagesView::ProgressBox() ||
                !CWatchedPagesView::ProgressBox()->isVisible());
    EXPECT_TRUE(script.AllAnswered());
}

TEST(Printing, AJobThatPrintsNoPageLeavesNoFile) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("empty.pdf");
    CWatchedPagesView view(0);
    EXPECT_EQ(PrintViewToPdf(view, FromQString(pdf)), 0);
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_EQ(CPrintProgress::PageText(3, 150), CString(u"Printing page 3 of 150"));
    EXPECT_EQ(CPrintProgress::PageText(3, 0), CString(u"Printing page 3"));
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(Printing, AnExistingFileIsReplacedOnlyByAPrintThatCompleted) {
    CUiEnvironment env;
    CModalScript script(env);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("trunks.pdf");
    const QByteArray old("the user's own file");
    WriteFile(pdf, old);
    QFile::setPermissions(pdf, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                   QFileDevice::ReadGroup | QFileDevice::ReadOther);

    CWatchedPagesView view(3);
    view.onPage = [](int page, QDialog* box) {
        if (page == 2 && box)
            box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    };
    script.ExpectDialog("printDialog", ToPdf(pdf));
    EXPECT_FALSE(PrintView(view, PrintMode::Dialog, nullptr));
    EXPECT_EQ(Contents(pdf), old);

    CWatchedPagesView empty(0);
    EXPECT_EQ(PrintViewToPdf(empty, FromQString(pdf)), 0);
    EXPECT_EQ(Contents(pdf), old);

    view.onPage = nullptr;
    script.ExpectDialog("printDialog", ToPdf(pdf));
    EXPECT_TRUE(PrintView(view, PrintMode::Dialog, nullptr));
    EXPECT_TRUE(Contents(pdf).startsWith("%PDF"));
    EXPECT_EQ(QFile::permissions(pdf) & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ReadGroup |
                                                    QFileDevice::ReadOther);
    // A print that cannot take the place of what is there says so.
    const QString folder = dir.filePath("folder.pdf");
    ASSERT_TRUE(QDir().mkdir(folder));
    script.ExpectMessageBox(u"Printing failed", IDOK);
    EXPECT_EQ(PrintViewToPdf(view, FromQString(folder)), 0);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    // Nothing of the unfinished prints stays beside them.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"folder.pdf", "trunks.pdf"}));
    EXPECT_TRUE(script.AllAnswered());
}

TEST(Printing, APrintTheDiskHasNoRoomForSaysSoAndChangesNoFile) {
    CUiEnvironment env;
    CModalScript script(env);
    QTemporaryDir dir;
    const QString existing = dir.filePath("trunks.pdf");
    const QString fresh = dir.filePath("new.pdf");
    const QByteArray old("the user's own file");
    WriteFile(existing, old);
    CWatchedPagesView view(3);
    ASSERT_EQ(PrintViewToPdf(view, FromQString(fresh)), 3);
    const qint64 whole = QFileInfo(fresh).size();
    ASSERT_TRUE(QFile::remove(fresh));
    {
        const CFileSizeLimit full(static_cast<rlim_t>(whole / 2));
        for (const QString& pdf : {existing, fresh}) {
            script.ExpectMessageBox(
                (u"Printing failed: " + FromQString(pdf) + u" could not be written in full").str(),
                IDOK);
            EXPECT_EQ(PrintViewToPdf(view, FromQString(pdf)), 0);
        }
    }
    EXPECT_EQ(Contents(existing), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"trunks.pdf"}));

    // With room again the print takes the old file's place, whole.
    EXPECT_EQ(PrintViewToPdf(view, FromQString(existing)), 3);
    EXPECT_EQ(QFileInfo(existing).size(), whole);
    EXPECT_TRUE(Contents(existing).trimmed().endsWith("%%EOF"));
    EXPECT_TRUE(script.AllAnswered());
}

TEST(Printing, ThePreviewOffersTheLastFileRemembersItsOwnAndLeavesAnExistingFileAlone) {
    CUiEnvironment env;
    CModalScript script(env);
    QTemporaryDir dir;
    const QString last = dir.filePath("last.pdf");
    const QString existing = dir.filePath("trunks.pdf");
    const QByteArray old("the user's own file");
    WriteFile(existing, old);
    env.GetPageChoice().outputFile = FromQString(last);

    // The Print button of the preview prints a job with no page over the existing file.
    CWatchedPagesView empty(0);
    QString offered;
    script.ExpectDialog("printPreview", [&](QDialog& dialog) {
        QPrinter* printer = static_cast<QPrintPreviewDialog&>(dialog).printer();
        offered = printer->outputFileName();
        printer->setOutputFileName(existing);
        dialog.findChild<QPrintPreviewWidget*>()->print();
        return static_cast<int>(QDialog::Accepted);
    });
    EXPECT_TRUE(PrintView(empty, PrintMode::Preview, nullptr));
    EXPECT_EQ(offered, last);
    EXPECT_EQ(Contents(existing), old);
    EXPECT_EQ(env.GetPageChoice().outputFile, FromQString(existing));
    EXPECT_TRUE(script.AllAnswered());
}

}  // namespace
