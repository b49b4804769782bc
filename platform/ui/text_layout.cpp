#include "platform/ui/text_layout.h"

#include "platform/ui/win_consts.h"

namespace {

bool SingleLine(UINT format) {
    return (format & DT_SINGLELINE) != 0;
}
bool WordBreak(UINT format) {
    return (format & DT_WORDBREAK) && !SingleLine(format);
}

}  // namespace

int ToQtTextFlags(UINT format) {
    int flags = Qt::TextHideMnemonic;
    if (format & DT_RIGHT) {
        flags |= Qt::AlignRight;
    } else if (format & DT_CENTER) {
        flags |= Qt::AlignHCenter;
    } else {
        flags |= Qt::AlignLeft;
    }
    if (SingleLine(format)) {
        flags |= Qt::TextSingleLine;
        if (format & DT_VCENTER) {
            flags |= Qt::AlignVCenter;
        } else if (format & DT_BOTTOM) {
            flags |= Qt::AlignBottom;
        } else {
            flags |= Qt::AlignTop;
        }
    } else {
        flags |= Qt::AlignTop;
    }
    if (WordBreak(format)) flags |= Qt::TextWordWrap;
    if (format & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
    if (format & DT_NOCLIP) flags |= Qt::TextDontClip;
    return flags;
}

QString LaidOutText(const QFontMetrics& metrics, const QString& text, int width, UINT format) {
    if ((format & DT_END_ELLIPSIS) && SingleLine(format)) {
        return metrics.elidedText(text, Qt::ElideRight, std::max(width, 0));
    }
    return text;
}

CSize MeasureLaidOutText(const QFontMetrics& metrics, const QString& text, int width, UINT format) {
    if (SingleLine(format)) return CSize(metrics.horizontalAdvance(text), metrics.height());
    const int limit = WordBreak(format) && width > 0 ? width : 1 << 24;
    QRect bounds =
        metrics.boundingRect(QRect(0, 0, limit, 1 << 24), ToQtTextFlags(format) & ~Qt::AlignVCenter,
                             text.isEmpty() ? QStringLiteral(" ") : text);
    int cx = text.isEmpty() ? 0 : bounds.width();
    return CSize(cx, std::max(bounds.height(), metrics.height()));
}
