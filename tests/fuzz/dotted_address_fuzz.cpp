// Arbitrary bytes as typed address text, once as they are and once spelled with digits, dots
// and a blank only. An address is taken exactly when the text, with the leading zeros of its
// numbers dropped, is one that the strict sockets parse takes, and it is the same address.
#include <arpa/inet.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/io/dotted_address.h"

namespace {

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// Each run of digits without its leading zeros ("0" stays).
std::string WithoutLeadingZeros(const std::string& text) {
    std::string out;
    bool runStart = true;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsDigit(text[i])) {
            out += text[i];
            runStart = true;
            continue;
        }
        if (runStart && text[i] == '0' && i + 1 < text.size() && IsDigit(text[i + 1])) continue;
        out += text[i];
        runStart = false;
    }
    return out;
}

void Check(const std::string& text) {
    const std::optional<DWORD> address = ParseDottedAddress(text);
    if (text.find('\0') != std::string::npos) {
        if (address) std::abort();
        return;
    }
    in_addr strict{};
    const bool taken = inet_pton(AF_INET, WithoutLeadingZeros(text).c_str(), &strict) == 1;
    if (taken != address.has_value()) std::abort();
    if (address && *address != ntohl(strict.s_addr)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    Check(raw);
    static constexpr char kSpelling[] = "0123456789..0 ";
    std::string spelled;
    for (char ch : raw)
        spelled += kSpelling[static_cast<std::uint8_t>(ch) % (sizeof kSpelling - 1)];
    Check(spelled);
    return 0;
}
