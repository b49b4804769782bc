// The console's printed history: its own pages, each with a header, lines wrapped to the
// page's width.
#include <algorithm>

#include "link/cv_data_mgr.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "screens/base/print_command.h"
#include "screens/base/screen_host.h"
#include "screens/console/cmd_line_rules.h"
#include "screens/console/cmd_line_view.h"

namespace {

constexpr UINT kLineFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_LEFT;
// The header sits two lines down, the text starts five lines down and two lines stay free
// at the foot.
constexpr int kHeaderLine = 2;
constexpr int kBodyLine = 5;
constexpr int kReservedLines = 7;

}  // namespace

void CCmdLineView::RunPrint(UINT command) {
    RunPrintCommand(*this, command, m_host.GetWindow());
}

BOOL CCmdLineView::OnPreparePrinting(CPrintInfo& info) {
    if (Data().GetClpHistoryCount() == 0) return FALSE;
    info.m_bOfferSelection = FALSE;
    info.m_bOfferPrintToFile = FALSE;
    info.SetMinPage(1);
    return TRUE;
}

void CCmdLineView::OnBeginPrinting(CDC& dc, CPrintInfo& info) {
    // The screen's font, scaled from the screen's resolution to the printer's.
    const LogFont screenFont = GetFixedFont();
    const std::unique_ptr<CDC> screen = GetDC();
    m_printFont = screenFont;
    m_printFont.lfHeight = screenFont.lfHeight * dc.GetDeviceCaps(LOGPIXELSY) /
                           std::max(screen->GetDeviceCaps(LOGPIXELSY), 1);
    m_printFont.lfWidth = screenFont.lfWidth * dc.GetDeviceCaps(LOGPIXELSX) /
                          std::max(screen->GetDeviceCaps(LOGPIXELSX), 1);
    const LogFont old = dc.SelectFont(m_printFont);
    const TextMetrics metrics = dc.GetTextMetrics();
    m_nLineHeight = std::max(metrics.tmHeight + metrics.tmExternalLeading, 1);
    m_nLeftMargin = dc.GetDeviceCaps(LOGPIXELSX) / 4;
    m_nPrintWidth = std::max(dc.GetDeviceCaps(HORZRES) - 2 * m_nLeftMargin, 1);
    m_nPageHeight =
        std::max(dc.GetDeviceCaps(VERTRES) - kReservedLines * m_nLineHeight, m_nLineHeight);

    const CCVDataMgr& data = Data();
    m_lineHeights.clear();
    for (int i = 0; i < data.GetClpHistoryCount(); ++i) {
        CRect rect(0, 0, m_nPrintWidth, 0);
        dc.DrawText(data.GetClpHistoryLine(i), rect, kLineFormat | DT_CALCRECT);
        m_lineHeights.push_back(std::max(rect.Height(), m_nLineHeight));
    }
    m_pageStarts = cmd_line_rules::PageStarts(m_lineHeights, m_nPageHeight);
    info.SetMaxPage(static_cast<UINT>(m_pageStarts.size()));
    dc.SelectFont(old);
}

void CCmdLineView::OnPrint(CDC& dc, CPrintInfo& info) {
    const size_t page = info.m_nCurPage - 1;
    if (page >= m_pageStarts.size()) return;
    const LogFont old = dc.SelectFont(m_printFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(0);
    const int lh = m_nLineHeight;
    const int right = m_nLeftMargin + m_nPrintWidth;
    const CRect header(m_nLeftMargin, kHeaderLine * lh, right, (kHeaderLine + 1) * lh);
    dc.DrawText(u"Command Line Protocol History", header, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    dc.DrawText(CString::Formatted(u"Page %d of %d", info.m_nCurPage,
                                   static_cast<int>(m_pageStarts.size())),
                header, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    const int rule = kHeaderLine * lh + lh * 3 / 2;
    dc.MoveTo(m_nLeftMargin, rule);
    dc.LineTo(right, rule);

    const int first = m_pageStarts[page];
    const int last = page + 1 < m_pageStarts.size() ? m_pageStarts[page + 1]
                                                    : static_cast<int>(m_lineHeights.size());
    const int top = kBodyLine * lh;
    const int bottom = top + m_nPageHeight;
    int y = top;
    for (int line = first; line < last && y < bottom; ++line) {
        const int height = m_lineHeights[static_cast<size_t>(line)];
        // A line taller than the page shows as much of it as the page holds.
        dc.DrawText(Data().GetClpHistoryLine(line),
                    CRect(m_nLeftMargin, y, right, std::min(y + height, bottom)), kLineFormat);
        y += height;
    }
    dc.SelectFont(old);
}

void CCmdLineView::OnEndPrinting(CDC& /*dc*/, CPrintInfo& /*info*/) {
    m_lineHeights.clear();
    m_pageStarts.clear();
    m_printFont = LogFont();
}
