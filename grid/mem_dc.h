#pragma once

#include <memory>

#include "platform/ui/qt_dc.h"

// Holds the picture of a CKMemDC; it must exist before the device context draws on it and go
// after it.
class CKMemDCBuffer {
protected:
    CKMemDCBuffer(CQtPainterDC& target, bool memory);
    ~CKMemDCBuffer();
    QPainter& BufferPainter();
    const CRect& Area() const { return m_area; }

private:
    struct Picture;
    std::unique_ptr<Picture> m_picture;
    CQtPainterDC& m_target;
    CRect m_area;
};

// Draws a paint off screen, onto a picture of the area being painted, and puts the picture on
// the target in one piece when it goes, so that nothing flickers. On a printer it draws
// straight onto the printer.
class CKMemDC : private CKMemDCBuffer, public CQtPainterDC {
public:
    explicit CKMemDC(CQtPainterDC& target);
    ~CKMemDC() override = default;
    BOOL IsMemory() const { return m_bMemDC; }

private:
    BOOL m_bMemDC;
};
