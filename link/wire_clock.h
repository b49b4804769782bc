#pragma once

#include <ctime>
#include <optional>

#include "link/payload_io.h"

// The controller's clock on the wire, in local time: year - 1900, month 1-12, day, hour,
// minute and second, one byte each.
constexpr DWORD kWireClockSize = 6;

void WriteWireClock(CPayloadWriter& out, std::time_t time);
// None when the bytes name no time.
std::optional<std::time_t> ReadWireClock(CPayloadReader& in);
