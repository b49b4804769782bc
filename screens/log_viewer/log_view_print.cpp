// The request log viewer's output: the selected lines as text, and printed pages of the day's
// records or of the selection.
#include <algorithm>

#include "platform/ui/drag_drop.h"
#include "res/command_ids.h"
#include "screens/base/print_command.h"
#include "screens/base/screen_host.h"
#include "screens/log_viewer/log_view.h"

namespace {

constexpr UINT kMaxPrintPage = 65535;
// The header sits two lines down, the records start five lines down and seven lines of the
// page hold no record.
constexpr int kHeaderLine = 2;
constexpr int kBodyLine = 5;
constexpr int kReservedLines = 7;

}  // namespace

CString CLogView::GetSelectedText() {
    CString text;
    if (!HasSelection()) return text;
    // As long as the lines are: no line is cut to the longest one seen so far.
    m_cache.ForEachLine(m_nSelStart, m_nSelEnd - m_nSelStart + 1,
                        [&text](std::int64_t, const CString& line) {
                            text += line;
                            text += u"\r\n";
                        });
    return text;
}

void CLogView::CopySelection() {
    if (!HasSelection()) return;
    COleDataSource source;
    source.SetText(GetSelectedText());
    source.SetClipboard();
}

void CLogView::RunPrint(UINT command) {
    if (GetRecordCount() == 0) return;
    RunPrintCommand(*this, command, m_host.GetWindow());
}

BOOL CLogView::OnPreparePrinting(CPrintInfo& info) {
    if (GetRecordCount() == 0) return FALSE;
    info.SetMinPage(1);
    info.SetMaxPage(kMaxPrintPage);
    info.m_bOfferSelection = HasSelection() ? TRUE : FALSE;
    return TRUE;
}

void CLogView::OnBeginPrinting(CDC& dc, CPrintInfo& info) {
    const std::unique_ptr<CDC> screen = GetDC();
    m_printFont = m_font;
    m_printFont.lfHeight = m_font.lfHeight * dc.GetDeviceCaps(LOGPIXELSY) /
                           std::max(screen->GetDeviceCaps(LOGPIXELSY), 1);
    m_printFont.lfWidth = m_font.lfWidth * dc.GetDeviceCaps(LOGPIXELSY) /
                          std::max(screen->GetDeviceCaps(LOGPIXELSY), 1);
    const LogFont old = dc.SelectFont(m_printFont);
    const TextMetrics metrics = dc.GetTextMetrics();
    dc.SelectFont(old);
    m_nPrintLineHeight = std::max(metrics.tmHeight + metrics.tmExternalLeading, 1);
    m_nPrintMargin = dc.GetDeviceCaps(LOGPIXELSX) / 4;
    m_nPrintWidth = std::max(dc.GetDeviceCaps(HORZRES) - 2 * m_nPrintMargin, 1);
    m_nPrintLinesPerPage = std::max(
        (dc.GetDeviceCaps(VERTRES) - kReservedLines * m_nPrintLineHeight) / m_nPrintLineHeight, 1);
    const bool selection = info.m_bPrintSelection && HasSelection();
    m_nPrintFirst = selection ? m_nSelStart : 0;
    m_nPrintLast = selection ? m_nSelEnd : LastRecord();
    const std::int64_t lines = m_nPrintLast - m_nPrintFirst + 1;
    const std::int64_t pages = (lines + m_nPrintLinesPerPage - 1) / m_nPrintLinesPerPage;
    info.SetMaxPage(static_cast<UINT>(std::clamp<std::int64_t>(pages, 1, kMaxPrintPage)));
}

void CLogView::OnPrint(CDC& dc, CPrintInfo& info) {
    const LogFont old = dc.SelectFont(m_printFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(0);
    const int lh = m_nPrintLineHeight;
    const int right = m_nPrintMargin + m_nPrintWidth;
    const CRect header(m_nPrintMargin, kHeaderLine * lh, right, (kHeaderLine + 1) * lh);
    dc.DrawText(GetPath(), header, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    dc.DrawText(CString::Formatted(u"Page %d", info.m_nCurPage), header,
                DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    const int rule = kHeaderLine * lh + lh * 3 / 2;
    dc.MoveTo(m_nPrintMargin, rule);
    dc.LineTo(right, rule);

    const std::int64_t first =
        m_nPrintFirst + static_cast<std::int64_t>(info.m_nCurPage - 1) * m_nPrintLinesPerPage;
    const std::int64_t count =
        std::min<std::int64_t>(m_nPrintLinesPerPage, m_nPrintLast - first + 1);
    m_cache.ForEachLine(first, count, [&](std::int64_t record, const CString& line) {
        dc.TextOut(m_nPrintMargin, (kBodyLine + static_cast<int>(record - first)) * lh, line);
    });
    dc.SelectFont(old);
}

void CLogView::OnEndPrinting(CDC& /*dc*/, CPrintInfo& /*info*/) {
    m_printFont = LogFont();
    m_nPrintLast = -1;
}
