#include "shell/controls/kelvardin_splitter_wnd.h"

#include <QMouseEvent>
#include <QSplitterHandle>

// The bar between two panes of a CKelvardinSplitterWnd.
class CSplitterBar : public QSplitterHandle {
public:
    CSplitterBar(Qt::Orientation orientation, CKelvardinSplitterWnd* splitter)
        : QSplitterHandle(orientation, splitter), m_splitter(*splitter) {}

    void Follow() {
        setCursor(m_splitter.m_bResizable
                      ? (orientation() == Qt::Horizontal ? Qt::SplitHCursor : Qt::SplitVCursor)
                      : Qt::ArrowCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (m_splitter.m_bResizable) QSplitterHandle::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (m_splitter.m_bResizable) QSplitterHandle::mouseMoveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (m_splitter.m_bResizable) QSplitterHandle::mouseReleaseEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (m_splitter.m_doubleClick) {
            m_splitter.m_doubleClick();
            event->accept();
        }
    }

private:
    CKelvardinSplitterWnd& m_splitter;
};

CKelvardinSplitterWnd::CKelvardinSplitterWnd(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    setChildrenCollapsible(true);
}

void CKelvardinSplitterWnd::SetResizable(bool resizable) {
    m_bResizable = resizable;
    for (int i = 0; i < count(); ++i) {
        if (auto* bar = dynamic_cast<CSplitterBar*>(handle(i))) bar->Follow();
    }
}

QSplitterHandle* CKelvardinSplitterWnd::createHandle() {
    auto* bar = new CSplitterBar(orientation(), this);
    bar->Follow();
    return bar;
}
