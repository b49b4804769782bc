#pragma once

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"

class CDC;
class QWidget;

// What a print job tells a view, page by page.
struct CPrintInfo {
    BOOL m_bPreview = FALSE;
    BOOL m_bDirect = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    // What the print dialog offers beside the page range: printing the view's selection
    // alone, and printing to a file.
    BOOL m_bOfferSelection = FALSE;
    BOOL m_bOfferPrintToFile = TRUE;
    // The user chose to print the selection.
    BOOL m_bPrintSelection = FALSE;
    UINT m_nCurPage = 1;
    // The printable area of the page, in device units.
    CRect m_rectDraw;

    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }
    void SetMinPage(UINT page) { m_nMinPage = page; }
    void SetMaxPage(UINT page) { m_nMaxPage = page; }
    // The range the user asked for; 0 to 0xFFFF when all.
    UINT GetFromPage() const { return m_nFromPage; }
    UINT GetToPage() const { return m_nToPage; }
    void SetPageRange(UINT from, UINT to) {
        m_nFromPage = from;
        m_nToPage = to;
    }

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
    UINT m_nFromPage = 1;
    UINT m_nToPage = 0xFFFF;
};

// A view that prints: the job calls these on its printer's device context.
class IPrintView {
public:
    virtual ~IPrintView() = default;
    // Before the print dialog: may set the page range; FALSE cancels.
    virtual BOOL OnPreparePrinting(CPrintInfo& /*info*/) { return TRUE; }
    virtual void OnBeginPrinting(CDC& dc, CPrintInfo& info) = 0;
    virtual void OnPrepareDC(CDC& /*dc*/, CPrintInfo* /*info*/) {}
    virtual void OnPrint(CDC& dc, CPrintInfo& info) = 0;
    virtual void OnEndPrinting(CDC& dc, CPrintInfo& info) = 0;
};

enum class PrintMode { Dialog, Direct, Preview };

// Prints the view: after the print dialog (through the modal seam), straight to the default
// printer, or in a preview window. FALSE when cancelled or nothing was printed.
BOOL PrintView(IPrintView& view, PrintMode mode, QWidget* parent);
// Print Setup: the page setup dialog (through the modal seam) over the page choice of the
// user interface's environment; FALSE when cancelled or there is no environment.
BOOL RunPrintSetup(QWidget* parent);
// Prints every page to a PDF file; answers the number of pages printed.
int PrintViewToPdf(IPrintView& view, const CString& path);
