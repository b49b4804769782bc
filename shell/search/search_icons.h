#pragma once

#include <QIcon>

#include <array>

// The device search's pictures, active first and standby second: intercom frames, or
// controllers.
std::array<QIcon, 2> SearchIcons(bool intercoms);
