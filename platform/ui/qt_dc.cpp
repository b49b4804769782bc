#include "platform/ui/qt_dc.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QTransform>

#include <cstdlib>

#include "platform/ui/image_list.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/text_layout.h"

namespace {

QPen ToQPen(const CPen& pen) {
    QPen qpen(ToQColor(pen.color));
    qpen.setWidth(pen.width <= 1 ? 0 : pen.width);
    qpen.setCapStyle(Qt::FlatCap);
    if (pen.style == PS_DOT) qpen.setStyle(Qt::DotLine);
    return qpen;
}

}  // namespace

CQtPainterDC::CQtPainterDC(QPainter& painter, const CRect& clipBox, bool printing)
    : m_painter(painter), m_deviceClip(clipBox), m_printing(printing) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    OnFontChanged();
}

CQtPainterDC::~CQtPainterDC() {
    while (m_savedDepth-- > 0)
        m_painter.restore();
}

void CQtPainterDC::FillSolidRect(const CRect& rect, COLORREF color) {
    if (rect.IsRectEmpty()) return;
    m_painter.fillRect(ToQRect(rect), ToQColor(color));
}

void CQtPainterDC::InvertRect(const CRect& rect) {
    if (rect.IsRectEmpty()) return;
    m_painter.save();
    m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_painter.fillRect(ToQRect(rect), Qt::white);
    m_painter.restore();
}

void CQtPainterDC::DrawImage(const CImageList& images, int index, CPoint point) {
    if (const QPixmap* image = images.GetImage(index))
        m_painter.drawPixmap(ToQPoint(point), *image);
}

CSize CQtPainterDC::GetTextExtent(std::u16string_view text) {
    return CSize(m_painter.fontMetrics().horizontalAdvance(ToQString(text)),
                 m_painter.fontMetrics().height());
}

TextMetrics CQtPainterDC::GetTextMetrics() {
    const QFontMetrics fm = m_painter.fontMetrics();
    return {fm.height(),
            fm.ascent(),
            fm.descent(),
            fm.averageCharWidth(),
            fm.maxWidth(),
            fm.leading(),
            0};
}

CRect CQtPainterDC::GetClipBox() {
    CRect box(DPtoLP(m_deviceClip.TopLeft()), CSize());
    CPoint bottomRight = DPtoLP(m_deviceClip.BottomRight());
    box.right = bottomRight.x;
    box.bottom = bottomRight.y;
    box.NormalizeRect();
    if (m_painter.hasClipping()) {
        CRect clip = FromQRect(m_painter.clipBoundingRect().toAlignedRect());
        box.IntersectRect(box, clip);
    }
    return box;
}

CDC::Reach CQtPainterDC::ReachOf(const CRect& rect) {
    const Reach inBox = CDC::ReachOf(rect);
    if (inBox == Reach::kNone || m_paintRegion.isEmpty()) return inBox;
    CRect device(LPtoDP(rect.TopLeft()), CSize());
    const CPoint bottomRight = LPtoDP(rect.BottomRight());
    device.right = bottomRight.x;
    device.bottom = bottomRight.y;
    device.NormalizeRect();
    const QRegion area(ToQRect(device));
    if (!m_paintRegion.intersects(area)) return Reach::kNone;
    return inBox == Reach::kAll && area.subtracted(m_paintRegion).isEmpty() ? Reach::kAll
                                                                            : Reach::kPart;
}

void CQtPainterDC::IntersectClipRect(const CRect& rect) {
    m_painter.setClipRect(ToQRect(rect),
                          m_painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

int CQtPainterDC::GetDeviceCaps(int index) {
    const QPaintDevice* device = m_painter.device();
    switch (index) {
        case HORZRES: return device->width();
        case VERTRES: return device->height();
        case LOGPIXELSX: return device->logicalDpiX();
        case LOGPIXELSY: return device->logicalDpiY();
        case NUMCOLORS: {
            auto* printer = dynamic_cast<const QPrinter*>(device);
            return printer && printer->colorMode() == QPrinter::GrayScale ? 2 : -1;
        }
        default: return 0;
    }
}

void CQtPainterDC::DrawLine(CPoint from, CPoint to) {
    // A flat cap leaves the end point out, as the original's lines do.
    m_painter.setPen(ToQPen(CurrentState().pen));
    m_painter.drawLine(ToQPoint(from), ToQPoint(to));
}

int CQtPainterDC::DoDrawText(std::u16string_view text, const CRect& rect, UINT format) {
    const QFontMetrics fm = m_painter.fontMetrics();
    const QString laidOut = LaidOutText(fm, ToQString(text), rect.Width(), format);
    const int flags = ToQtTextFlags(format);
    QRect bounds;
    if (CurrentState().bkMode == OPAQUE) {
        bounds = fm.boundingRect(ToQRect(rect), flags, laidOut);
        m_painter.fillRect(bounds.intersected(ToQRect(rect)), ToQColor(CurrentState().bkColor));
    }
    m_painter.setPen(ToQColor(CurrentState().textColor));
    m_painter.drawText(ToQRect(rect), flags, laidOut, &bounds);
    return bounds.height();
}

CSize CQtPainterDC::MeasureText(std::u16string_view text, int width, UINT format) {
    return MeasureLaidOutText(m_painter.fontMetrics(), ToQString(text), width, format);
}

void CQtPainterDC::OnSave() {
    m_painter.save();
    ++m_savedDepth;
}

void CQtPainterDC::OnRestore() {
    if (m_savedDepth == 0) return;
    m_painter.restore();
    --m_savedDepth;
}

void CQtPainterDC::OnMappingChanged() {
    double sx = 1.0;
    double sy = 1.0;
    if (GetMapMode() == MM_ANISOTROPIC) {
        sx = static_cast<double>(GetViewportExt().cx) / GetWindowExt().cx;
        sy = static_cast<double>(GetViewportExt().cy) / GetWindowExt().cy;
    }
    const double dx = GetViewportOrg().x - GetWindowOrg().x * sx;
    const double dy = GetViewportOrg().y - GetWindowOrg().y * sy;
    m_painter.setWorldTransform(QTransform(sx, 0, 0, sy, dx, dy));
}

void CQtPainterDC::OnFontChanged() {
    m_painter.setFont(ToQFont(GetCurrentFont()));
}

CMeasureDC::CMeasureDC(CRect clientRect, Invalidate invalidate)
    : m_client(clientRect), m_clip(clientRect), m_invalidate(std::move(invalidate)) {}

CMeasureDC::~CMeasureDC() = default;

void CMeasureDC::Touch(const CRect& logical) {
    if (!m_invalidate) return;
    CRect device(LPtoDP(logical.TopLeft()), CSize());
    const CPoint br = LPtoDP(logical.BottomRight());
    device.right = br.x;
    device.bottom = br.y;
    device.NormalizeRect();
    CRect visible;
    if (visible.IntersectRect(device, m_client)) m_invalidate(visible);
}

void CMeasureDC::FillSolidRect(const CRect& rect, COLORREF) {
    Touch(rect);
}
void CMeasureDC::InvertRect(const CRect& rect) {
    Touch(rect);
}

const QFontMetrics& CMeasureDC::Metrics() {
    if (!m_metrics || !(m_metricsFont == GetCurrentFont())) {
        m_metricsFont = GetCurrentFont();
        m_metrics.emplace(ToQFont(m_metricsFont));
        m_advances.clear();
    }
    return *m_metrics;
}

CSize CMeasureDC::GetTextExtent(std::u16string_view text) {
    const QFontMetrics& fm = Metrics();
    auto [at, added] = m_advances.try_emplace(std::u16string(text), 0);
    if (added) at->second = fm.horizontalAdvance(ToQString(text));
    return CSize(at->second, fm.height());
}

TextMetrics CMeasureDC::GetTextMetrics() {
    const QFontMetrics& fm = Metrics();
    return {fm.height(),
            fm.ascent(),
            fm.descent(),
            fm.averageCharWidth(),
            fm.maxWidth(),
            fm.leading(),
            0};
}

CRect CMeasureDC::GetClipBox() {
    CRect box(DPtoLP(m_clip.TopLeft()), CSize());
    const CPoint br = DPtoLP(m_clip.BottomRight());
    box.right = br.x;
    box.bottom = br.y;
    return box;
}

void CMeasureDC::IntersectClipRect(const CRect& rect) {
    CRect device(LPtoDP(rect.TopLeft()), CSize());
    const CPoint br = LPtoDP(rect.BottomRight());
    device.right = br.x;
    device.bottom = br.y;
    m_clip.IntersectRect(m_clip, device);
}

int CMeasureDC::GetDeviceCaps(int index) {
    switch (index) {
        case HORZRES: return m_client.Width();
        case VERTRES: return m_client.Height();
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case NUMCOLORS: return -1;
        default: return 0;
    }
}

void CMeasureDC::DrawLine(CPoint from, CPoint to) {
    CRect r(std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
            std::max(from.y, to.y) + 1);
    Touch(r);
}

int CMeasureDC::DoDrawText(std::u16string_view text, const CRect& rect, UINT format) {
    Touch(rect);
    return MeasureText(text, rect.Width(), format).cy;
}

CSize CMeasureDC::MeasureText(std::u16string_view text, int width, UINT format) {
    return MeasureLaidOutText(Metrics(), ToQString(text), width, format);
}
