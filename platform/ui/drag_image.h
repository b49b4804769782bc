#pragma once

#include <QPixmap>
#include <QPoint>

#include <memory>

class QLabel;

// The picture that follows the pointer over the screen while a window runs a drag of its own
// between its controls, and the cursor that says whether a drop would be taken there. The
// picture and the cursor go when the drag ends or the object dies.
class CDragImage {
public:
    CDragImage();
    ~CDragImage();
    CDragImage(const CDragImage&) = delete;
    CDragImage& operator=(const CDragImage&) = delete;

    // Shows the picture with its hot spot under the screen point; a null picture shows
    // nothing and begins nothing.
    bool Begin(const QPixmap& image, QPoint hotSpot, QPoint screenPos);
    void Move(QPoint screenPos);
    // The arrow where a drop would be taken, the "no" cursor elsewhere.
    void SetDropAllowed(bool allowed);
    void End();

    bool IsDragging() const { return m_window != nullptr; }
    bool IsDropAllowed() const { return m_allowed; }
    // The window that shows the picture; null while no drag runs.
    const QLabel* GetWindow() const { return m_window.get(); }

private:
    std::unique_ptr<QLabel> m_window;
    QPoint m_hotSpot;
    bool m_allowed = false;
};
