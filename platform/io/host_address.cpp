#include "platform/io/host_address.h"

#include <netdb.h>
#include <netinet/in.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/io/dotted_address.h"

namespace {

std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> Lookup(const std::string& host, int flags) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = flags;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) found = nullptr;
    return {found, freeaddrinfo};
}

// No host name is all digits and dots, and the resolver reads numbers in octal and
// hexadecimal: such text is never looked up.
bool IsNumberText(const std::string& host) {
    const bool digitsAndDots = std::all_of(
        host.begin(), host.end(), [](char ch) { return ch == '.' || (ch >= '0' && ch <= '9'); });
    return digitsAndDots || Lookup(host, AI_NUMERICHOST) != nullptr;
}

}  // namespace

bool ResolveHostAddress(const CString& text, DWORD& address) {
    std::string host;
    for (char16_t ch : text.str()) {
        if (ch == 0 || ch > 0x7F) return false;
        host += static_cast<char>(ch);
    }
    if (host.empty()) return false;
    if (const std::optional<DWORD> dotted = ParseDottedAddress(host)) {
        address = *dotted;
        return true;
    }
    if (IsNumberText(host)) return false;
    const auto found = Lookup(host, 0);
    if (!found) return false;
    address = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    return true;
}
