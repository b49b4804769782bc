#pragma once

// Conversions between the platform layer's values and Qt's; only code that talks to Qt
// includes this.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/ui/log_font.h"

inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}
inline CString FromQString(const QString& text) {
    return CString(std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                                  static_cast<size_t>(text.size())));
}
// QRect's right and bottom are the last pixel inside.
inline QRect ToQRect(const CRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
inline CRect FromQRect(const QRect& r) {
    return CRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}
inline QPoint ToQPoint(CPoint p) {
    return QPoint(p.x, p.y);
}
inline CPoint FromQPoint(const QPoint& p) {
    return CPoint(p.x(), p.y());
}
inline QColor ToQColor(COLORREF c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
inline COLORREF FromQColor(const QColor& c) {
    return RGB(static_cast<BYTE>(c.red()), static_cast<BYTE>(c.green()),
               static_cast<BYTE>(c.blue()));
}

// A pixel-sized font: a logical font's height is in the units of whatever it is drawn on.
QFont ToQFont(const LogFont& font);
// The logical font of a Qt font, its height the negative pixel height at the screen's
// resolution.
LogFont FromQFont(const QFont& font);
