#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QEvent;
class QWidget;

// A file dragged onto any part of the main window is opened there, whatever control lies under
// the mouse: a control that takes text would otherwise take the file's name, answered as a
// move, and the program that dragged it could then delete its own file.
class CFileDropFilter : public QObject {
public:
    using OpenFile = std::function<void(const QString& path)>;

    CFileDropFilter(QWidget& window, OpenFile open);
    ~CFileDropFilter() override;
    CFileDropFilter(const CFileDropFilter&) = delete;
    CFileDropFilter& operator=(const CFileDropFilter&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    OpenFile m_open;
};
