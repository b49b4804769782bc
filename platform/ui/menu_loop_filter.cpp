#include "platform/ui/menu_loop_filter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMenu>

#include "platform/ui/nested_loop.h"

namespace {

constexpr char kOpenMenuName[] = "OpenMenuLoop";

// The loop of one open menu, owned by the menu: it ends when the menu closes, or goes.
class COpenMenuLoop : public QObject {
public:
    explicit COpenMenuLoop(QMenu& menu) : QObject(&menu) {
        setObjectName(QLatin1String(kOpenMenuName));
    }

private:
    CNestedLoopScope m_loop;
};

}  // namespace

CMenuLoopFilter::CMenuLoopFilter() {
    QCoreApplication::instance()->installEventFilter(this);
}

CMenuLoopFilter::~CMenuLoopFilter() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool CMenuLoopFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide) return false;
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu) return false;
    QObject* open =
        menu->findChild<QObject*>(QLatin1String(kOpenMenuName), Qt::FindDirectChildrenOnly);
    if (type == QEvent::Show && !open) new COpenMenuLoop(*menu);
    if (type == QEvent::Hide) delete open;
    return false;
}
