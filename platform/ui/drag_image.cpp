#include "platform/ui/drag_image.h"

#include <QApplication>
#include <QLabel>

CDragImage::CDragImage() = default;

CDragImage::~CDragImage() {
    End();
}

bool CDragImage::Begin(const QPixmap& image, QPoint hotSpot, QPoint screenPos) {
    End();
    if (image.isNull()) return false;
    // A window of its own, so that the picture may leave the window the drag started in.
    m_window = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    m_window->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_window->setAttribute(Qt::WA_ShowWithoutActivating);
    m_window->setWindowOpacity(0.7);
    m_window->setPixmap(image);
    m_window->resize(image.size());
    m_hotSpot = hotSpot;
    m_allowed = false;
    QApplication::setOverrideCursor(Qt::ForbiddenCursor);
    Move(screenPos);
    m_window->show();
    return true;
}

void CDragImage::Move(QPoint screenPos) {
    if (m_window) m_window->move(screenPos - m_hotSpot);
}

void CDragImage::SetDropAllowed(bool allowed) {
    if (!m_window || allowed == m_allowed) return;
    m_allowed = allowed;
    QApplication::changeOverrideCursor(allowed ? Qt::ArrowCursor : Qt::ForbiddenCursor);
}

void CDragImage::End() {
    if (!m_window) return;
    m_window.reset();
    QApplication::restoreOverrideCursor();
}
