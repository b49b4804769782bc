#include "link/wire_clock.h"

void WriteWireClock(CPayloadWriter& out, std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    out.U8(static_cast<UINT>(local.tm_year))
        .U8(static_cast<UINT>(local.tm_mon + 1))
        .U8(static_cast<UINT>(local.tm_mday))
        .U8(static_cast<UINT>(local.tm_hour))
        .U8(static_cast<UINT>(local.tm_min))
        .U8(static_cast<UINT>(local.tm_sec));
}

std::optional<std::time_t> ReadWireClock(CPayloadReader& in) {
    std::tm local{};
    local.tm_year = in.U8();
    local.tm_mon = in.U8() - 1;
    local.tm_mday = in.U8();
    local.tm_hour = in.U8();
    local.tm_min = in.U8();
    local.tm_sec = in.U8();
    local.tm_isdst = -1;
    const std::time_t time = std::mktime(&local);
    if (!in.Ok() || time == static_cast<std::time_t>(-1)) return std::nullopt;
    return time;
}
