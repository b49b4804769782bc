#include "grid/mem_dc.h"

#include <QPainter>
#include <QPixmap>

#include "platform/ui/qt_convert.h"

struct CKMemDCBuffer::Picture {
    QPixmap pixmap;
    QPainter painter;
};

CKMemDCBuffer::CKMemDCBuffer(CQtPainterDC& target, bool memory) : m_target(target) {
    if (!memory) return;
    m_area = target.GetClipBox();
    const qreal ratio = target.Painter().device()->devicePixelRatioF();
    m_picture = std::make_unique<Picture>();
    m_picture->pixmap =
        QPixmap(QSize(std::max(m_area.Width(), 1), std::max(m_area.Height(), 1)) * ratio);
    m_picture->pixmap.setDevicePixelRatio(ratio);
    m_picture->pixmap.fill(ToQColor(target.GetBkColor()));
    m_picture->painter.begin(&m_picture->pixmap);
}

CKMemDCBuffer::~CKMemDCBuffer() {
    if (!m_picture) return;
    m_picture->painter.end();
    QPainter& target = m_target.Painter();
    target.save();
    target.resetTransform();
    target.drawPixmap(m_area.left, m_area.top, m_picture->pixmap);
    target.restore();
}

QPainter& CKMemDCBuffer::BufferPainter() {
    return m_picture ? m_picture->painter : m_target.Painter();
}

CKMemDC::CKMemDC(CQtPainterDC& target)
    : CKMemDCBuffer(target, !target.IsPrinting()),
      CQtPainterDC(BufferPainter(),
                   target.IsPrinting() ? target.GetClipBox() : CRect(CPoint(), Area().Size()),
                   target.IsPrinting()),
      m_bMemDC(!target.IsPrinting()) {
    // Drawing uses the target's coordinates.
    if (!m_bMemDC) return;
    SetWindowOrg(Area().left, Area().top);
    SetPaintRegion(target.GetPaintRegion().translated(-Area().left, -Area().top));
}
