#include "shell/app/command_updater.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>

#include <algorithm>

#include "platform/ui/ui_environment.h"

CCommandUpdater::CCommandUpdater(Rule isEnabled, QObject* parent)
    : QObject(parent), m_isEnabled(std::move(isEnabled)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CCommandUpdater::UpdateNow);
    // What the user does may change what is available.
    QCoreApplication::instance()->installEventFilter(this);
}

CCommandUpdater::~CCommandUpdater() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void CCommandUpdater::AddAction(QAction* action) {
    m_actions.emplace_back(action);
    Update(action);
}

void CCommandUpdater::WatchMenu(QMenu* menu) {
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* action : menu->actions())
            Update(action);
    });
}

void CCommandUpdater::AddUpdateHandler(std::function<void()> handler) {
    m_handlers.push_back(std::move(handler));
}

void CCommandUpdater::RequestUpdate() {
    if (!m_timer.isActive()) m_timer.start(static_cast<int>(ScaledInterval(kDelayMs)));
}

void CCommandUpdater::UpdateNow() {
    m_timer.stop();
    std::erase_if(m_actions, [](const QPointer<QAction>& action) { return action.isNull(); });
    for (const QPointer<QAction>& action : m_actions)
        Update(action);
    for (const auto& handler : m_handlers)
        handler();
    ++m_updates;
}

void CCommandUpdater::Update(QAction* action) const {
    if (!action || action->isSeparator() || action->menu()) return;
    bool ok = false;
    const UINT id = action->data().toUInt(&ok);
    if (ok && id != 0) action->setEnabled(m_isEnabled(id) != FALSE);
}

bool CCommandUpdater::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonRelease:
        case QEvent::KeyRelease:
        case QEvent::WindowActivate: RequestUpdate(); break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}
