#pragma once

#include <QFontMetrics>
#include <QRegion>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/ui/dc.h"

class QPainter;
class QPaintDevice;

// Draws through a QPainter that is already active on a widget, a pixmap or a printer.
class CQtPainterDC : public CDC {
public:
    // clipBox: the device area being painted (a paint event's rectangle).
    CQtPainterDC(QPainter& painter, const CRect& clipBox, bool printing = false);
    ~CQtPainterDC() override;

    void FillSolidRect(const CRect& rect, COLORREF color) override;
    void InvertRect(const CRect& rect) override;
    void DrawImage(const CImageList& images, int index, CPoint point) override;
    CSize GetTextExtent(std::u16string_view text) override;
    TextMetrics GetTextMetrics() override;
    CRect GetClipBox() override;
    Reach ReachOf(const CRect& rect) override;
    void IntersectClipRect(const CRect& rect) override;
    BOOL IsPrinting() const override { return m_printing; }
    int GetDeviceCaps(int index) override;

    QPainter& Painter() { return m_painter; }
    // The device area a paint puts on screen (a paint event's region); empty for all of the
    // clip box.
    void SetPaintRegion(const QRegion& region) { m_paintRegion = region; }
    const QRegion& GetPaintRegion() const { return m_paintRegion; }

protected:
    void DrawLine(CPoint from, CPoint to) override;
    int DoDrawText(std::u16string_view text, const CRect& rect, UINT format) override;
    CSize MeasureText(std::u16string_view text, int width, UINT format) override;
    void OnSave() override;
    void OnRestore() override;
    void OnMappingChanged() override;
    void OnFontChanged() override;

private:
    QPainter& m_painter;
    CRect m_deviceClip;
    QRegion m_paintRegion;
    bool m_printing;
    int m_savedDepth = 0;
};

// A device context outside painting: it measures text with the window's font, and what is
// drawn on it becomes an update of the drawn area, painted by the window's next paint.
class CMeasureDC : public CDC {
public:
    using Invalidate = std::function<void(const CRect& deviceRect)>;

    CMeasureDC(CRect clientRect, Invalidate invalidate);
    ~CMeasureDC() override;

    void FillSolidRect(const CRect& rect, COLORREF color) override;
    void InvertRect(const CRect& rect) override;
    CSize GetTextExtent(std::u16string_view text) override;
    TextMetrics GetTextMetrics() override;
    CRect GetClipBox() override;
    void IntersectClipRect(const CRect& rect) override;
    int GetDeviceCaps(int index) override;

protected:
    void DrawLine(CPoint from, CPoint to) override;
    int DoDrawText(std::u16string_view text, const CRect& rect, UINT format) override;
    CSize MeasureText(std::u16string_view text, int width, UINT format) override;

private:
    void Touch(const CRect& logical);
    // The metrics of the font selected, made again only when another font is.
    const QFontMetrics& Metrics();

    CRect m_client;
    CRect m_clip;
    Invalidate m_invalidate;
    std::optional<QFontMetrics> m_metrics;
    LogFont m_metricsFont;
    // Widths of the texts measured in that font: fitting a column meets the same texts often.
    std::unordered_map<std::u16string, int> m_advances;
};
