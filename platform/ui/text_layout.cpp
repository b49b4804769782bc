#include "platform/ui/text_layout.h"

#include "platform/ui/win_consts.h"

namespace {

bool SingleLine(UINT format) {
    return (format & DT_SINGLELINE) != 0;
}
bool WordBreak(UINT format) {
    return (format & DT_WORDBREAK) && !SingleLine(format);
}
bool Prefixed(UINT format) {
    return (format & DT_NOPREFIX) == 0;
}

// The characters a prefixed text shows: "&&" is one "&", a single "&" only marks the next.
QString WithoutPrefixes(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && ++i == text.size()) break;
        shown += text[i];
    }
    return shown;
}

}  // namespace

int ToQtTextFlags(UINT format) {
    // Only a prefixed text gives "&" a meaning; with DT_NOPREFIX it is drawn as it stands.
    int flags = Prefixed(format) ? Qt::TextShowMnemonic : 0;
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
        return metrics.elidedText(text, Qt::ElideRight, std::max(width, 0),
                                  Prefixed(format) ? Qt::TextShowMnemonic : 0);
    }
    return text;
}

CSize MeasureLaidOutText(const QFontMetrics& metrics, const QString& text, int width, UINT format) {
    if (SingleLine(format)) {
        const QString shown = Prefixed(format) ? WithoutPrefixes(text) : text;
        return CSize(metrics.horizontalAdvance(shown), metrics.height());
    }
    const int limit = WordBreak(format) && width > 0 ? width : 1 << 24;
    QRect bounds =
        metrics.boundingRect(QRect(0, 0, limit, 1 << 24), ToQtTextFlags(format) & ~Qt::AlignVCenter,
                             text.isEmpty() ? QStringLiteral(" ") : text);
    int cx = text.isEmpty() ? 0 : bounds.width();
    return CSize(cx, std::max(bounds.height(), metrics.height()));
}
