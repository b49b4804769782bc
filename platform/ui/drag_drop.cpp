#include "platform/ui/drag_drop.h"

#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <algorithm>

#include "platform/ui/qt_convert.h"
#include "platform/ui/wnd.h"

namespace {

Qt::DropActions ToDropActions(DROPEFFECT effects) {
    Qt::DropActions actions;
    if (effects & DROPEFFECT_COPY) actions |= Qt::CopyAction;
    if (effects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
    return actions;
}

DROPEFFECT FromDropAction(Qt::DropAction action) {
    switch (action) {
        case Qt::CopyAction: return DROPEFFECT_COPY;
        case Qt::MoveAction:
        case Qt::TargetMoveAction: return DROPEFFECT_MOVE;
        default: return DROPEFFECT_NONE;
    }
}

}  // namespace

COleDataObject COleDataObject::FromClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return COleDataObject();
    return COleDataObject(FromQString(data->text()));
}

void COleDataSource::SetClipboard() const {
    QGuiApplication::clipboard()->setText(ToQString(m_text));
}

DROPEFFECT COleDataSource::DoDragDrop(CWnd& source, DROPEFFECT allowed) const {
    if (!source.IsWindow()) return DROPEFFECT_NONE;
    auto* drag = new QDrag(static_cast<QObject*>(source.GetWidget()));
    auto* mime = new QMimeData;
    mime->setText(ToQString(m_text));
    drag->setMimeData(mime);
    const Qt::DropAction preferred = (allowed & DROPEFFECT_MOVE) ? Qt::MoveAction : Qt::CopyAction;
    const DROPEFFECT effect = FromDropAction(drag->exec(ToDropActions(allowed), preferred));
    // A drop in another program answers with what its pointer last showed, before the drop was
    // taken or refused: what left is kept here, as a copy.
    if (effect == DROPEFFECT_MOVE && !drag->target()) return DROPEFFECT_COPY;
    return effect;
}

BOOL IsClipboardTextAvailable() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

bool CarriesLocalFiles(const QMimeData* data) {
    if (!data || !data->hasUrls()) return false;
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}
