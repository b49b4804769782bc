#include "platform/ui/print.h"

#include <QPageSetupDialog>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <optional>

#include "platform/ui/modal.h"
#include "platform/ui/nested_loop.h"
#include "platform/ui/print_output_file.h"
#include "platform/ui/print_progress.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/qt_dc.h"
#include "platform/ui/ui_environment.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace {

constexpr char16_t kNoPrinterText[] =
    u"No printer is installed. To print to a PDF file, use Print and choose "
    u"\"Print to File (PDF)\".";
constexpr char16_t kCannotStartText[] =
    u"Printing is not possible: the printer or the file could not be opened.";
constexpr char16_t kFailedText[] =
    u"Printing failed: the printer or the file could not be written. Nothing was printed.";

bool HasPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

// The job's page count when the view has told it; 0 when it prints until it says stop.
int KnownPageCount(UINT first, UINT last) {
    if (last == 0xFFFF || last < first) return 0;
    return static_cast<int>(last - first + 1);
}

// A preview draws its pages into pictures of its own, whatever file the printer names.
bool IsPreview(QPrinter& printer) {
    const QPaintEngine* engine = printer.paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}

// The pages of one pass: begin, each page of the range while the view wants more and the
// user has not cancelled, end. With a progress parent the printing box shows meanwhile.
int RunPrintJob(IPrintView& view, QPrinter& printer, CPrintInfo info,
                std::optional<QWidget*> progressParent) {
    std::optional<CPrintOutputFile> file;
    if (!IsPreview(printer)) file.emplace(printer);
    QPainter painter;
    // A file that could not be opened was not written: it stays as it was.
    if ((file && !file->IsReady()) || !painter.begin(&printer)) {
        ModalMessageBox(kCannotStartText, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    const CRect page(0, 0, painter.device()->width(), painter.device()->height());
    CQtPainterDC dc(painter, page, true);
    info.m_rectDraw = page;
    view.OnBeginPrinting(dc, info);
    const UINT first = std::max(info.GetFromPage(), info.GetMinPage());
    const UINT last = std::min(info.GetToPage(), info.GetMaxPage());
    std::optional<CPrintProgress> progress;
    if (progressParent) progress.emplace(*progressParent, KnownPageCount(first, last));
    int printed = 0;
    bool failed = false;
    for (UINT n = first; n <= last && info.m_bContinuePrinting; ++n) {
        if (progress && !progress->Step(printed + 1)) break;
        if (printed > 0 && !printer.newPage()) {
            failed = true;
            break;
        }
        info.m_nCurPage = n;
        info.m_rectDraw = page;
        const int saved = dc.SaveDC();
        view.OnPrepareDC(dc, &info);
        view.OnPrint(dc, info);
        dc.RestoreDC(saved);
        ++printed;
    }
    view.OnEndPrinting(dc, info);
    // A job that printed nothing, was cancelled or failed changes no file, and a printer is
    // asked to drop it where it can (a preview's pages are the preview's own).
    const bool cancelled = progress && progress->IsCancelled();
    const bool keep = printed > 0 && !cancelled && !failed;
    if (!keep && progress && printer.outputFormat() == QPrinter::NativeFormat) printer.abort();
    failed = (!painter.end() && keep) || failed;
    const CPrintOutputFile::Result result =
        keep && !failed && file ? file->Commit() : CPrintOutputFile::Result::kDone;
    if (keep && !failed && result == CPrintOutputFile::Result::kDone) return printed;
    if (result == CPrintOutputFile::Result::kNotWritten) {
        ModalMessageBox(
            SubstituteArgs(LoadResString(kIdsPrintNotWritten), {FromQString(file->GetRequested())}),
            MB_OK | MB_ICONEXCLAMATION);
    } else if (failed || result != CPrintOutputFile::Result::kDone) {
        ModalMessageBox(kFailedText, MB_OK | MB_ICONEXCLAMATION);
    }
    return 0;
}

void ApplyPageChoice(QPrinter& printer) {
    CUiEnvironment* env = CUiEnvironment::Current();
    if (!env) return;
    const CPageChoice& choice = env->GetPageChoice();
    if (choice.pageSizeId >= 0 && choice.pageSizeId < QPageSize::LastPageSize)
        printer.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(choice.pageSizeId)));
    printer.setPageOrientation(choice.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (choice.hasMargins) {
        const double* m = choice.marginsMm;
        printer.setPageMargins(QMarginsF(m[0], m[1], m[2], m[3]), QPageLayout::Millimeter);
    }
}

// The print dialog fills its Output file field from the printer as it is built: the printer
// names the file printed to last.
void OfferLastFile(QPrinter& printer) {
    CUiEnvironment* env = CUiEnvironment::Current();
    if (env && !env->GetPageChoice().outputFile.IsEmpty())
        printer.setOutputFileName(ToQString(env->GetPageChoice().outputFile));
}

// A print on a printer keeps the file used last for the next print to a file.
void RememberFile(const QPrinter& printer) {
    CUiEnvironment* env = CUiEnvironment::Current();
    if (env && !printer.outputFileName().isEmpty())
        env->GetPageChoice().outputFile = FromQString(printer.outputFileName());
}

}  // namespace

BOOL RunPrintSetup(QWidget* parent) {
    CUiEnvironment* env = CUiEnvironment::Current();
    if (!env) return FALSE;
    QPrinter printer(QPrinter::HighResolution);
    ApplyPageChoice(printer);
    QPageSetupDialog dialog(&printer, parent);
    dialog.setObjectName("pageSetup");
    if (ExecModalDialog(dialog) != QDialog::Accepted) return FALSE;
    CPageChoice& choice = env->GetPageChoice();
    choice.pageSizeId = static_cast<int>(printer.pageLayout().pageSize().id());
    choice.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    choice.hasMargins = true;
    choice.marginsMm[0] = margins.left();
    choice.marginsMm[1] = margins.top();
    choice.marginsMm[2] = margins.right();
    choice.marginsMm[3] = margins.bottom();
    return TRUE;
}

BOOL PrintView(IPrintView& view, PrintMode mode, QWidget* parent) {
    // The printing box turns the event loop between pages: the job is one loop from its
    // dialog to its last page.
    const CNestedLoopScope loop;
    CPrintInfo info;
    info.m_bDirect = mode == PrintMode::Direct;
    info.m_bPreview = mode == PrintMode::Preview;
    if (!view.OnPreparePrinting(info)) return FALSE;
    QPrinter printer(QPrinter::HighResolution);
    ApplyPageChoice(printer);
    if (mode == PrintMode::Preview) {
        // The preview's Print button asks with a print dialog over this printer.
        OfferLastFile(printer);
        QPrintPreviewDialog preview(&printer, parent);
        preview.setObjectName("printPreview");
        QObject::connect(
            &preview, &QPrintPreviewDialog::paintRequested, &preview,
            [&view, info](QPrinter* target) { RunPrintJob(view, *target, info, std::nullopt); });
        if (ExecModalDialog(preview) == QDialog::Accepted) RememberFile(printer);
        return TRUE;
    }
    const bool printerExists = HasPrinter();
    if (mode == PrintMode::Direct && !printerExists) {
        ModalMessageBox(kNoPrinterText, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (mode == PrintMode::Dialog) {
        // Without a printer a PDF file is the only way to print.
        const bool toFile = info.m_bOfferPrintToFile != FALSE || !printerExists;
        if (toFile) OfferLastFile(printer);
        QPrintDialog dialog(&printer, parent);
        dialog.setObjectName("printDialog");
        dialog.setMinMax(static_cast<int>(info.GetMinPage()),
                         static_cast<int>(std::min<UINT>(info.GetMaxPage(), 0xFFFF)));
        dialog.setOption(QAbstractPrintDialog::PrintSelection, info.m_bOfferSelection != FALSE);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, toFile);
        if (ExecModalDialog(dialog) != QDialog::Accepted) return FALSE;
        RememberFile(printer);
        if (printer.printRange() == QPrinter::PageRange) {
            info.SetPageRange(static_cast<UINT>(printer.fromPage()),
                              static_cast<UINT>(printer.toPage()));
        }
        info.m_bPrintSelection = printer.printRange() == QPrinter::Selection ? TRUE : FALSE;
    }
    return RunPrintJob(view, printer, info, parent) > 0;
}

int PrintViewToPdf(IPrintView& view, const CString& path) {
    CPrintInfo info;
    info.m_bDirect = TRUE;
    if (!view.OnPreparePrinting(info)) return 0;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(ToQString(path));
    ApplyPageChoice(printer);
    return RunPrintJob(view, printer, info, std::nullopt);
}
