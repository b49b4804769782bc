#include "shell/controls/dialog_controls.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "platform/ui/qt_convert.h"

namespace {

constexpr int kIconSize = 32;

}  // namespace

QString ControlName(UINT id) {
    if (id == 0 || id == UINT(-1)) return {};
    return QStringLiteral("ctl%1").arg(id);
}

QPushButton* MakeDlgButton(UINT id, const CString& text) {
    auto* button = new QPushButton(ToQString(text));
    button->setObjectName(ControlName(id));
    return button;
}

QLabel* MakeDlgStatic(UINT id, const CString& text) {
    auto* label = new QLabel(ToQString(text));
    label->setObjectName(ControlName(id));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* MakeDlgIcon(UINT id, QStyle::StandardPixmap icon) {
    auto* label = new QLabel;
    label->setObjectName(ControlName(id));
    label->setFixedSize(kIconSize, kIconSize);
    SetDlgIcon(*label, icon);
    return label;
}

void SetDlgIcon(QLabel& label, QStyle::StandardPixmap icon) {
    label.setPixmap(QApplication::style()->standardIcon(icon).pixmap(kIconSize, kIconSize));
}

QHBoxLayout* MakeButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}
