#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/ui/dc.h"
#include "platform/ui/print.h"
#include "platform/ui/ui_environment.h"
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

}  // namespace
