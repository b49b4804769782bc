#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <vector>

#include "platform/base/win_types.h"

class QAction;
class QMenu;

// Keeps menu items, toolbar buttons and status panes in step with the command rule. A menu's
// items are brought up to date as it opens; everything else on a short timer that any number
// of requests (user input, the link's news) arm only once.
class CCommandUpdater : public QObject {
public:
    using Rule = std::function<BOOL(UINT id)>;
    static constexpr UINT kDelayMs = 100;

    explicit CCommandUpdater(Rule isEnabled, QObject* parent = nullptr);
    ~CCommandUpdater() override;

    // The action's data holds its command id.
    void AddAction(QAction* action);
    // Brings the menu's actions up to date each time it is about to show.
    void WatchMenu(QMenu* menu);
    // Called on every update after the actions, for what is not an action (status panes).
    void AddUpdateHandler(std::function<void()> handler);

    // Arms the update timer unless it is armed already.
    void RequestUpdate();
    void UpdateNow();
    int GetUpdateCount() const { return m_updates; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Update(QAction* action) const;

    Rule m_isEnabled;
    std::vector<QPointer<QAction>> m_actions;
    std::vector<std::function<void()>> m_handlers;
    QTimer m_timer;
    int m_updates = 0;
};
