#pragma once

#include <string_view>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/ui/log_font.h"
#include "platform/ui/win_consts.h"

class CImageList;

struct CPen {
    int style = PS_SOLID;
    int width = 0;  // 0 is one device pixel whatever the mapping
    COLORREF color = 0;
    bool operator==(const CPen&) const = default;
};

struct TextMetrics {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmExternalLeading = 0;
    int tmOverhang = 0;
};

// A drawing surface in the original platform's conventions: rectangles exclude their right
// and bottom edges, a line excludes its end point, text is transparent or opaque by the
// background mode, and logical units map to the device through the window and viewport
// (origin and extent) of the mapping mode. The state (colours, font, pen, position, mapping)
// lives here; implementations draw with it.
class CDC {
public:
    virtual ~CDC() = default;

    COLORREF SetTextColor(COLORREF color) { return Exchange(m_state.textColor, color); }
    COLORREF GetTextColor() const { return m_state.textColor; }
    COLORREF SetBkColor(COLORREF color) { return Exchange(m_state.bkColor, color); }
    COLORREF GetBkColor() const { return m_state.bkColor; }
    int SetBkMode(int mode) { return Exchange(m_state.bkMode, mode); }
    int GetBkMode() const { return m_state.bkMode; }
    // Each answers the one selected before, to be selected again.
    LogFont SelectFont(const LogFont& font);
    const LogFont& GetCurrentFont() const { return m_state.font; }
    CPen SelectPen(const CPen& pen) { return Exchange(m_state.pen, pen); }
    const CPen& GetCurrentPen() const { return m_state.pen; }

    // SaveDC answers the depth saved; RestoreDC takes that depth, or -1 for the last one.
    int SaveDC();
    BOOL RestoreDC(int saved);

    CPoint MoveTo(int x, int y) { return Exchange(m_state.pos, CPoint(x, y)); }
    CPoint MoveTo(CPoint p) { return MoveTo(p.x, p.y); }
    CPoint GetCurrentPosition() const { return m_state.pos; }
    // Draws with the selected pen from the current position up to the point, which becomes
    // the current position and is not drawn.
    BOOL LineTo(int x, int y);
    BOOL LineTo(CPoint p) { return LineTo(p.x, p.y); }

    virtual void FillSolidRect(const CRect& rect, COLORREF color) = 0;
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
        FillSolidRect(CRect(x, y, x + cx, y + cy), color);
    }
    void FillRect(const CRect& rect, COLORREF brush) { FillSolidRect(rect, brush); }
    // A one-pixel frame inside the rectangle.
    void FrameRect(const CRect& rect, COLORREF brush);
    void Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight);
    // The BDR_* edges drawn inside the rectangle on the BF_* sides, in system colours.
    void DrawEdge(const CRect& rect, UINT edge, UINT flags);
    virtual void InvertRect(const CRect& rect) = 0;
    // One picture of the list with its top-left at the point, as it is (CImageList::Draw adds
    // the background and the overlays); a surface that shows no pictures ignores it.
    virtual void DrawImage(const CImageList& images, int index, CPoint point) {
        (void)images;
        (void)index;
        (void)point;
    }

    // Draws the text in the rectangle with DT_* flags and answers the height drawn. With
    // DT_CALCRECT nothing is drawn: the rectangle's right and bottom are set to fit the text.
    int DrawText(std::u16string_view text, CRect& rect, UINT format);
    int DrawText(std::u16string_view text, const CRect& rect, UINT format) {
        CRect r = rect;
        return DrawText(text, r, format & ~DT_CALCRECT);
    }
    // Draws a single line at a point in the text colour, with the background when opaque.
    BOOL TextOut(int x, int y, std::u16string_view text);
    virtual CSize GetTextExtent(std::u16string_view text) = 0;
    virtual TextMetrics GetTextMetrics() = 0;

    // The logical rectangle that drawing can reach.
    virtual CRect GetClipBox() = 0;
    // How much of a logical rectangle drawing reaches: a paint puts on screen only the area it
    // was asked for, which may be less than its clip box.
    enum class Reach { kNone, kPart, kAll };
    virtual Reach ReachOf(const CRect& rect);
    virtual void IntersectClipRect(const CRect& rect) = 0;
    virtual BOOL IsPrinting() const { return FALSE; }
    virtual int GetDeviceCaps(int index) = 0;

    int SetMapMode(int mode);
    int GetMapMode() const { return m_state.mapMode; }
    CPoint SetWindowOrg(int x, int y);
    CPoint OffsetWindowOrg(int dx, int dy);
    CPoint GetWindowOrg() const { return m_state.windowOrg; }
    CSize SetWindowExt(int cx, int cy);
    CSize GetWindowExt() const { return m_state.windowExt; }
    CSize SetViewportExt(int cx, int cy);
    CPoint GetViewportOrg() const { return m_state.viewportOrg; }
    CSize GetViewportExt() const { return m_state.viewportExt; }
    // Logical to device and back, through the mapping.
    CPoint LPtoDP(CPoint p) const;
    CPoint DPtoLP(CPoint p) const;

protected:
    struct State {
        COLORREF textColor = 0;
        COLORREF bkColor = 0x00FFFFFF;
        int bkMode = OPAQUE;
        LogFont font;
        CPen pen;
        CPoint pos;
        int mapMode = MM_TEXT;
        CPoint windowOrg;
        CSize windowExt{1, 1};
        CPoint viewportOrg;
        CSize viewportExt{1, 1};
    };

    const State& CurrentState() const { return m_state; }
    // A straight line from one point to the other, the end point excluded.
    virtual void DrawLine(CPoint from, CPoint to) = 0;
    // Text laid out in the rectangle; only called without DT_CALCRECT.
    virtual int DoDrawText(std::u16string_view text, const CRect& rect, UINT format) = 0;
    // The size the text needs under the format, within the width for DT_WORDBREAK.
    virtual CSize MeasureText(std::u16string_view text, int width, UINT format) = 0;
    // Told when the saved state stack or the mapping changed, to follow in the device.
    virtual void OnSave() {}
    virtual void OnRestore() {}
    virtual void OnMappingChanged() {}
    virtual void OnFontChanged() {}

private:
    template <class T>
    static T Exchange(T& slot, const T& value) {
        T old = slot;
        slot = value;
        return old;
    }

    State m_state;
    std::vector<State> m_saved;
};

// The parts of the rectangle drawn by a one-pixel frame: top, bottom, left and right strips.
std::vector<CRect> FrameStrips(const CRect& rect);
