#pragma once

#include <optional>
#include <string_view>

#include "platform/base/win_types.h"

// Four decimal numbers of 0 to 255 joined by dots, as an IPv4 address in host byte order.
// Leading zeros never make a number octal. Nothing for any other text, blanks included.
std::optional<DWORD> ParseDottedAddress(std::string_view text);
