#pragma once

#include <QCheckBox>
#include <QString>
#include <QWidget>

#include "platform/base/win_types.h"

// Controls carry their control id in their object name, so that help and tests find them.
inline QString ControlName(UINT id) {
    return QStringLiteral("ctl%1").arg(id);
}

template <class Control>
Control* Named(Control* control, UINT id) {
    control->setObjectName(ControlName(id));
    return control;
}

inline QCheckBox* NamedCheckBox(UINT id, const char* text, bool checked) {
    auto* box = Named(new QCheckBox(QString::fromUtf8(text)), id);
    box->setChecked(checked);
    return box;
}
