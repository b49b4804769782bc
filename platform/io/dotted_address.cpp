#include "platform/io/dotted_address.h"

namespace {

constexpr int kParts = 4;
constexpr DWORD kPartLimit = 255;

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

}  // namespace

std::optional<DWORD> ParseDottedAddress(std::string_view text) {
    DWORD address = 0;
    size_t at = 0;
    for (int part = 0; part < kParts; ++part) {
        if (part > 0) {
            if (at >= text.size() || text[at] != '.') return std::nullopt;
            ++at;
        }
        if (at >= text.size() || !IsDigit(text[at])) return std::nullopt;
        DWORD value = 0;
        for (; at < text.size() && IsDigit(text[at]); ++at) {
            value = value * 10 + static_cast<DWORD>(text[at] - '0');
            if (value > kPartLimit) return std::nullopt;
        }
        address = address << 8 | value;
    }
    if (at != text.size()) return std::nullopt;
    return address;
}
