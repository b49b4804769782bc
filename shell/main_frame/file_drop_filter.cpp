#include "shell/main_frame/file_drop_filter.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "platform/ui/drag_drop.h"

namespace {

bool IsDrag(QEvent::Type type) {
    return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
}

// The local file a drag carries, when it carries exactly one.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

CFileDropFilter::CFileDropFilter(QWidget& window, OpenFile open)
    : m_window(window), m_open(std::move(open)) {
    QCoreApplication::instance()->installEventFilter(this);
}

CFileDropFilter::~CFileDropFilter() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool CFileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    if (!IsDrag(event->type())) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    auto& drag = static_cast<QDropEvent&>(*event);
    if (!widget || widget->window() != &m_window || !CarriesLocalFiles(drag.mimeData()))
        return false;
    // Opened, never taken: the program that dragged it is told that it was copied.
    const QString file = DroppedFile(drag.mimeData());
    if (file.isEmpty() || !(drag.possibleActions() & Qt::CopyAction)) {
        drag.ignore();
        return true;
    }
    drag.setDropAction(Qt::CopyAction);
    drag.accept();
    // Opened once the drop has ended: its questions must not run inside the drag.
    if (event->type() == QEvent::Drop)
        QMetaObject::invokeMethod(
            this, [this, file] { m_open(file); }, Qt::QueuedConnection);
    return true;
}
