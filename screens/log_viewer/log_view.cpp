#include "screens/log_viewer/log_view.h"

#include <algorithm>

#include "grid/mem_dc.h"
#include "link/command_codes.h"
#include "model/app_state.h"
#include "model/doc_views.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_ids.h"
#include "screens/base/screen_services.h"
#include "screens/log_viewer/log_mask.h"
#include "screens/log_viewer/log_view_rules.h"

namespace {

// Space beside the longest line, and the characters a horizontal page moves.
constexpr int kExtentPadding = 8;
constexpr int kPageChars = 10;
constexpr UINT kHelpContext = 1;

}  // namespace

CLogView::CLogView(IScreenHost& host, IScreenServices& services)
    : m_host(host), m_services(services), m_font(GetFixedFont()) {}

CLogView::~CLogView() {
    DestroyWindow();
}

BOOL CLogView::Create(DWORD style, const CRect& rect, QWidget* parent, UINT id) {
    return CView::Create(style | WS_VSCROLL | WS_HSCROLL, rect, parent, id);
}

BOOL CLogView::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CView::Create(style | WS_VSCROLL | WS_HSCROLL, rect, parent, id);
}

DWORD CLogView::GetHelpID() const {
    return 0x20000 + ID_VIEW_LOG_FILE;
}

void CLogView::OnCommandHelp() {
    m_host.WinHelp(GetHelpID(), kHelpContext);
}

LRESULT CLogView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMANDHELP) return CView::WindowProc(message, wParam, lParam);
    OnCommandHelp();
    return 1;
}

void CLogView::OnInitialUpdate() {
    SetFont(m_font, FALSE);
    SetOpaquePaint(TRUE);
    const TextMetrics metrics = GetDC()->GetTextMetrics();
    m_nLineHeight = std::max(metrics.tmHeight + metrics.tmExternalLeading, 1);
    m_nCharWidth = std::max(metrics.tmAveCharWidth, 1);
    if (!m_bMaskChosen) {
        m_mask = log_mask::Choose(GetApp().GetProfile(), GetApp().GetConfig().m_wNumIntercoms);
        m_bMaskChosen = true;
    }
    Reload();
}

void CLogView::OnUpdate(CView* /*sender*/, LPARAM lHint, void* /*hintObject*/) {
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint == CUpdateHint::kRefresh) {
        // Coming back to the day shown, the user finds the place and the lines left there,
        // with the records written meanwhile at the end; another day starts at its top.
        if (DayFilePath() == GetPath()) {
            OnGrowth();
        } else {
            Reload();
        }
    } else if (hint.IsReply(kCmdLogRecord)) {
        // A line was stored and the file may have grown.
        OnGrowth();
    }
}

void CLogView::Reload() {
    m_nTop = 0;
    m_nAnchor = 0;
    m_nSelStart = m_nSelEnd = -1;
    m_nCaret = 0;
    m_nHOffset = 0;
    m_cache.Reset(DayFilePath(), m_mask);
    m_cache.GetLine(0);
    m_cache.TakeCountChanged();
    UpdateScrollBars();
    Invalidate();
}

CString CLogView::DayFilePath() const {
    DWORD day = m_host.GetViewContext(kScreenLog).m_params[0];
    if (day == 0) day = log_rules::EncodeDay(LocalToday());
    return LogFolderPath(m_services.GetLogDirectory(), LogDayFileName(log_rules::DecodeDay(day)));
}

void CLogView::OnGrowth() {
    const std::int64_t before = GetRecordCount();
    if (!m_cache.Recount()) return;
    // A view that showed the last record keeps showing the end.
    if (before <= m_nTop + GetLinesPerPage())
        m_nTop = std::max(m_nTop, log_rules::LastTop(GetRecordCount(), GetLinesPerPage()));
    FollowCount();
}

void CLogView::FollowCount() {
    const std::int64_t last = LastRecord();
    m_nTop = std::clamp<std::int64_t>(m_nTop, 0,
                                      log_rules::LastTop(GetRecordCount(), GetLinesPerPage()));
    m_nCaret = std::clamp<std::int64_t>(m_nCaret, 0, std::max<std::int64_t>(last, 0));
    m_nAnchor = std::clamp<std::int64_t>(m_nAnchor, 0, std::max<std::int64_t>(last, 0));
    if (m_nSelStart > last) {
        m_nSelStart = m_nSelEnd = -1;
    } else if (m_nSelEnd > last) {
        m_nSelEnd = last;
    }
    UpdateScrollBars();
    Invalidate();
}

int CLogView::GetLinesPerPage() const {
    return std::max((GetClientRect().Height() - 2 * kTopMargin) / m_nLineHeight, 1);
}

std::int64_t CLogView::LineAt(int y) const {
    const std::int64_t line = m_nTop + std::max(y, 0) / m_nLineHeight;
    return std::clamp<std::int64_t>(line, 0, std::max<std::int64_t>(LastRecord(), 0));
}

int CLogView::HorizontalExtent() const {
    return m_cache.GetLongestLine() * m_nCharWidth + kExtentPadding;
}

void CLogView::UpdateScrollBars() {
    if (!IsWindow()) return;
    const log_rules::VerticalBar bar =
        log_rules::MakeVerticalBar(GetRecordCount(), GetLinesPerPage(), m_nTop);
    SCROLLINFO vert;
    vert.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    vert.nMax = bar.max;
    vert.nPage = bar.page;
    vert.nPos = bar.pos;
    SetScrollInfo(SB_VERT, vert);
    EnableScrollBarCtrl(SB_VERT, bar.enabled);

    const int width = GetClientRect().Width();
    const int extent = HorizontalExtent();
    m_nHOffset = std::clamp(m_nHOffset, 0, std::max(extent - width, 0));
    SCROLLINFO horz;
    horz.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    horz.nMax = std::max(extent - 1, 0);
    horz.nPage = static_cast<UINT>(std::max(width, 1));
    horz.nPos = m_nHOffset;
    SetScrollInfo(SB_HORZ, horz);
    ShowScrollBar(SB_HORZ, extent > width);
}

void CLogView::SetTop(std::int64_t top) {
    top = std::clamp<std::int64_t>(top, 0, log_rules::LastTop(GetRecordCount(), GetLinesPerPage()));
    if (top == m_nTop) return;
    m_nTop = top;
    UpdateScrollBars();
    Invalidate();
}

void CLogView::ScrollLines(std::int64_t lines) {
    SetTop(m_nTop + lines);
}

void CLogView::SetHorizontalOffset(int offset) {
    const int limit = std::max(HorizontalExtent() - GetClientRect().Width(), 0);
    offset = std::clamp(offset, 0, limit);
    if (offset == m_nHOffset) return;
    m_nHOffset = offset;
    UpdateScrollBars();
    Invalidate();
}

void CLogView::OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    SetTop(m_nTop);
    UpdateScrollBars();
}

void CLogView::OnVScroll(UINT code, UINT pos) {
    const int page = GetLinesPerPage();
    switch (code) {
        case SB_LINEUP: ScrollLines(-1); break;
        case SB_LINEDOWN: ScrollLines(1); break;
        case SB_PAGEUP: ScrollLines(-page + 1); break;
        case SB_PAGEDOWN: ScrollLines(page - 1); break;
        case SB_TOP: SetTop(0); break;
        case SB_BOTTOM: SetTop(log_rules::LastTop(GetRecordCount(), page)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            SetTop(log_rules::TopFromThumb(GetRecordCount(), page, static_cast<int>(pos)));
            break;
        default: break;
    }
}

void CLogView::OnHScroll(UINT code, UINT pos) {
    switch (code) {
        case SB_LINELEFT: SetHorizontalOffset(m_nHOffset - m_nCharWidth); break;
        case SB_LINERIGHT: SetHorizontalOffset(m_nHOffset + m_nCharWidth); break;
        case SB_PAGELEFT: SetHorizontalOffset(m_nHOffset - kPageChars * m_nCharWidth); break;
        case SB_PAGERIGHT: SetHorizontalOffset(m_nHOffset + kPageChars * m_nCharWidth); break;
        case SB_LEFT: SetHorizontalOffset(0); break;
        case SB_RIGHT: SetHorizontalOffset(HorizontalExtent()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetHorizontalOffset(static_cast<int>(pos)); break;
        default: break;
    }
}

BOOL CLogView::OnMouseWheel(UINT /*flags*/, short delta, CPoint /*point*/) {
    ScrollLines(-delta / WHEEL_DELTA * std::max(GetWheelScrollLines(), 1));
    return TRUE;
}

void CLogView::OnPaint(CDC& dc) {
    if (auto* painter = dynamic_cast<CQtPainterDC*>(&dc)) {
        CKMemDC buffer(*painter);
        OnDraw(buffer);
    } else {
        OnDraw(dc);
    }
    // The file turned out to hold another number of records than counted.
    if (m_cache.TakeCountChanged()) FollowCount();
}

void CLogView::OnDraw(CDC& dc) {
    const CRect client = GetClientRect();
    dc.FillSolidRect(client, GetSysColor(COLOR_WINDOW));
    const LogFont old = dc.SelectFont(m_font);
    dc.SetBkMode(TRANSPARENT);
    const std::int64_t pageEnd = m_nTop + GetLinesPerPage();
    // A read may find the file shorter than counted: the lines stop where it now ends.
    for (std::int64_t line = m_nTop; line <= std::min(pageEnd, LastRecord()); ++line) {
        const int y = kTopMargin + m_nLineHeight * static_cast<int>(line - m_nTop);
        const CRect rect(kLeftMargin, y, client.right, y + m_nLineHeight);
        const bool selected = HasSelection() && line >= m_nSelStart && line <= m_nSelEnd;
        if (selected) dc.FillSolidRect(rect, GetSysColor(COLOR_HIGHLIGHT));
        dc.SetTextColor(GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        dc.TextOut(kLeftMargin - m_nHOffset, y, m_cache.GetLine(line));
        if (line == m_nCaret) dc.FrameRect(rect, GetSysColor(COLOR_WINDOWTEXT));
    }
    dc.SelectFont(old);
}

void CLogView::InvalidateLine(std::int64_t line) {
    if (line < m_nTop || line > m_nTop + GetLinesPerPage()) return;
    const int y = kTopMargin + m_nLineHeight * static_cast<int>(line - m_nTop);
    const CRect rect(kLeftMargin, y, GetClientRect().right, y + m_nLineHeight);
    InvalidateRect(&rect, FALSE);
}
