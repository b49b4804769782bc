#include "platform/ui/text_layout.h"

#include <QTextBoundaryFinder>

#include "platform/ui/win_consts.h"

namespace {

bool SingleLine(UINT format) {
    return (format & DT_SINGLELINE) != 0;
}
bool WordBreak(UINT format) {
    return (format & DT_WORDBREAK) && !SingleLine(format);
}
bool BreaksLongWords(UINT format) {
    return WordBreak(format) && (format & DT_EDITCONTROL);
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

// A word cut into pieces of whole characters, each as wide as the line at most, a line break
// between them. A pixel is kept spare: the layout places characters at fractional positions.
QString BrokenWord(const QFontMetrics& metrics, const QString& word, int width) {
    QString broken;
    QString piece;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, word);
    qsizetype from = 0;
    for (qsizetype to = characters.toNextBoundary(); to > 0; to = characters.toNextBoundary()) {
        const QString character = word.mid(from, to - from);
        from = to;
        if (!piece.isEmpty() && metrics.horizontalAdvance(piece + character) > width - 1) {
            broken += piece + u'\n';
            piece.clear();
        }
        piece += character;
    }
    return broken + piece;
}

// The words too wide for the line broken, the rest as it stands.
QString WithLongWordsBroken(const QFontMetrics& metrics, const QString& text, int width) {
    QString shown;
    shown.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i].isSpace()) {
            shown += text[i++];
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        const QString word = text.mid(i, end - i);
        shown +=
            metrics.horizontalAdvance(word) > width - 1 ? BrokenWord(metrics, word, width) : word;
        i = end;
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
    if (BreaksLongWords(format) && width > 0) return WithLongWordsBroken(metrics, text, width);
    return text;
}

CSize MeasureLaidOutText(const QFontMetrics& metrics, const QString& text, int width, UINT format) {
    if (SingleLine(format)) {
        const QString shown = Prefixed(format) ? WithoutPrefixes(text) : text;
        return CSize(metrics.horizontalAdvance(shown), metrics.height());
    }
    const int limit = WordBreak(format) && width > 0 ? width : 1 << 24;
    const QString shown = LaidOutText(metrics, text, width, format);
    QRect bounds =
        metrics.boundingRect(QRect(0, 0, limit, 1 << 24), ToQtTextFlags(format) & ~Qt::AlignVCenter,
                             shown.isEmpty() ? QStringLiteral(" ") : shown);
    int cx = text.isEmpty() ? 0 : bounds.width();
    return CSize(cx, std::max(bounds.height(), metrics.height()));
}
