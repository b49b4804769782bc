#pragma once

#include <QIcon>

#include "platform/base/win_types.h"

// The toolbar's pictures, drawn here: a sign for each command of the toolbar, in dark lines on
// light fills so that they show on light and dark bars alike. An empty icon for any other.
QIcon ToolBarIcon(UINT command);
