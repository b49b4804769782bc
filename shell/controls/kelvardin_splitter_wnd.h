#pragma once

#include <QSplitter>

#include <functional>

// The main window's splitters. While not resizable the bar neither moves nor shows the sizing
// cursor; a double click on it runs the double-click action when one is set (the outer
// splitter shows or hides the navigation pane), otherwise it does nothing.
class CKelvardinSplitterWnd : public QSplitter {
public:
    explicit CKelvardinSplitterWnd(Qt::Orientation orientation, QWidget* parent = nullptr);

    void SetResizable(bool resizable);
    bool IsResizable() const { return m_bResizable; }
    void SetDoubleClickAction(std::function<void()> action) { m_doubleClick = std::move(action); }

protected:
    QSplitterHandle* createHandle() override;

private:
    friend class CSplitterBar;
    bool m_bResizable = false;
    std::function<void()> m_doubleClick;
};
