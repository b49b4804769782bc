#pragma once

#include <QObject>

class QEvent;

// Counts every menu of the program as a nested loop while it is open. A menu of the menu bar
// runs in the main loop, not one of its own, yet what waits for the user's dialogs and menus to
// close must wait for it as well: a box shown over it would close it. One filter for the whole
// program is enough; a second counts nothing twice.
class CMenuLoopFilter : public QObject {
public:
    CMenuLoopFilter();
    ~CMenuLoopFilter() override;
    CMenuLoopFilter(const CMenuLoopFilter&) = delete;
    CMenuLoopFilter& operator=(const CMenuLoopFilter&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
