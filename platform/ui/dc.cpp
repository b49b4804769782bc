#include "platform/ui/dc.h"

#include "platform/ui/sys_info.h"

LogFont CDC::SelectFont(const LogFont& font) {
    LogFont old = Exchange(m_state.font, font);
    OnFontChanged();
    return old;
}

int CDC::SaveDC() {
    m_saved.push_back(m_state);
    OnSave();
    return static_cast<int>(m_saved.size());
}

BOOL CDC::RestoreDC(int saved) {
    if (saved < 0) saved = static_cast<int>(m_saved.size()) + saved + 1;
    if (saved <= 0 || saved > static_cast<int>(m_saved.size())) return FALSE;
    while (static_cast<int>(m_saved.size()) >= saved) {
        m_state = m_saved.back();
        m_saved.pop_back();
        OnRestore();
    }
    OnMappingChanged();
    OnFontChanged();
    return TRUE;
}

BOOL CDC::LineTo(int x, int y) {
    CPoint from = m_state.pos;
    m_state.pos = CPoint(x, y);
    if (m_state.pen.style != PS_NULL && from != m_state.pos) DrawLine(from, m_state.pos);
    return TRUE;
}

std::vector<CRect> FrameStrips(const CRect& r) {
    if (r.IsRectEmpty()) return {};
    return {
        CRect(r.left, r.top, r.right, r.top + 1), CRect(r.left, r.bottom - 1, r.right, r.bottom),
        CRect(r.left, r.top, r.left + 1, r.bottom), CRect(r.right - 1, r.top, r.right, r.bottom)};
}

void CDC::FrameRect(const CRect& rect, COLORREF brush) {
    for (const CRect& strip : FrameStrips(rect))
        FillSolidRect(strip, brush);
}

void CDC::Draw3dRect(const CRect& r, COLORREF topLeft, COLORREF bottomRight) {
    if (r.IsRectEmpty()) return;
    FillSolidRect(CRect(r.left, r.top, r.right - 1, r.top + 1), topLeft);
    FillSolidRect(CRect(r.left, r.top, r.left + 1, r.bottom - 1), topLeft);
    FillSolidRect(CRect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
    FillSolidRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
}

namespace {

// One ring of an edge: the colours of its top-left and bottom-right sides.
struct EdgeRing {
    int topLeft;
    int bottomRight;
};

void DrawRing(CDC& dc, const CRect& r, EdgeRing ring, UINT flags) {
    const COLORREF tl = GetSysColor(ring.topLeft);
    const COLORREF br = GetSysColor(ring.bottomRight);
    if (flags & BF_TOP) dc.FillSolidRect(CRect(r.left, r.top, r.right - 1, r.top + 1), tl);
    if (flags & BF_LEFT) dc.FillSolidRect(CRect(r.left, r.top, r.left + 1, r.bottom - 1), tl);
    if (flags & BF_RIGHT) dc.FillSolidRect(CRect(r.right - 1, r.top, r.right, r.bottom), br);
    if (flags & BF_BOTTOM) dc.FillSolidRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), br);
}

}  // namespace

void CDC::DrawEdge(const CRect& rect, UINT edge, UINT flags) {
    CRect r = rect;
    if (r.IsRectEmpty()) return;
    if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) {
        const bool raised = (edge & BDR_RAISEDOUTER) != 0;
        DrawRing(*this, r,
                 raised ? EdgeRing{COLOR_3DLIGHT, COLOR_3DDKSHADOW}
                        : EdgeRing{COLOR_3DSHADOW, COLOR_3DHIGHLIGHT},
                 flags);
        r.DeflateRect(1, 1);
    }
    if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)) {
        const bool raised = (edge & BDR_RAISEDINNER) != 0;
        DrawRing(*this, r,
                 raised ? EdgeRing{COLOR_3DHIGHLIGHT, COLOR_3DSHADOW}
                        : EdgeRing{COLOR_3DDKSHADOW, COLOR_3DLIGHT},
                 flags);
    }
}

int CDC::DrawText(std::u16string_view text, CRect& rect, UINT format) {
    if (!(format & DT_CALCRECT)) return DoDrawText(text, rect, format);
    const bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    CSize size = MeasureText(text, wrap ? rect.Width() : 0, format);
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    return size.cy;
}

BOOL CDC::TextOut(int x, int y, std::u16string_view text) {
    CSize size = GetTextExtent(text);
    CRect rect(x, y, x + size.cx, y + size.cy);
    if (m_state.bkMode == OPAQUE) FillSolidRect(rect, m_state.bkColor);
    DoDrawText(text, rect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    return TRUE;
}

int CDC::SetMapMode(int mode) {
    int old = Exchange(m_state.mapMode, mode);
    OnMappingChanged();
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    CPoint old = Exchange(m_state.windowOrg, CPoint(x, y));
    OnMappingChanged();
    return old;
}

CPoint CDC::OffsetWindowOrg(int dx, int dy) {
    return SetWindowOrg(m_state.windowOrg.x + dx, m_state.windowOrg.y + dy);
}

CSize CDC::SetWindowExt(int cx, int cy) {
    if (m_state.mapMode != MM_ANISOTROPIC || cx == 0 || cy == 0) return m_state.windowExt;
    CSize old = Exchange(m_state.windowExt, CSize(cx, cy));
    OnMappingChanged();
    return old;
}

CSize CDC::SetViewportExt(int cx, int cy) {
    if (m_state.mapMode != MM_ANISOTROPIC || cx == 0 || cy == 0) return m_state.viewportExt;
    CSize old = Exchange(m_state.viewportExt, CSize(cx, cy));
    OnMappingChanged();
    return old;
}

CDC::Reach CDC::ReachOf(const CRect& rect) {
    const CRect clip = GetClipBox();
    CRect inside;
    if (!inside.IntersectRect(clip, rect)) return Reach::kNone;
    return inside == rect ? Reach::kAll : Reach::kPart;
}

namespace {

int Scale(int value, int numerator, int denominator) {
    return static_cast<int>(static_cast<long long>(value) * numerator / denominator);
}

}  // namespace

CPoint CDC::LPtoDP(CPoint p) const {
    const State& s = m_state;
    if (s.mapMode != MM_ANISOTROPIC) {
        return {p.x - s.windowOrg.x + s.viewportOrg.x, p.y - s.windowOrg.y + s.viewportOrg.y};
    }
    return {Scale(p.x - s.windowOrg.x, s.viewportExt.cx, s.windowExt.cx) + s.viewportOrg.x,
            Scale(p.y - s.windowOrg.y, s.viewportExt.cy, s.windowExt.cy) + s.viewportOrg.y};
}

CPoint CDC::DPtoLP(CPoint p) const {
    const State& s = m_state;
    if (s.mapMode != MM_ANISOTROPIC) {
        return {p.x - s.viewportOrg.x + s.windowOrg.x, p.y - s.viewportOrg.y + s.windowOrg.y};
    }
    return {Scale(p.x - s.viewportOrg.x, s.windowExt.cx, s.viewportExt.cx) + s.windowOrg.x,
            Scale(p.y - s.viewportOrg.y, s.windowExt.cy, s.viewportExt.cy) + s.windowOrg.y};
}
