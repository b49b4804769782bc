#include "shell/main_frame/dialog_parent.h"

#include <QApplication>

QWidget* DialogParent(QWidget& window) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : &window;
}
