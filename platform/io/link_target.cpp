#include "platform/io/link_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "platform/base/codepage.h"

namespace {

// As many links in a row as the system itself follows.
constexpr int kMaxLinks = 40;

}  // namespace

bool FollowLinks(const CString& path, CString& target) {
    std::string current = ToUtf8(path);
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            target = CString::FromUtf8(current);
            return true;
        }
        std::string named(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.c_str(), named.data(), named.size());
        if (length < 0) return false;
        if (static_cast<size_t>(length) >= named.size()) {
            errno = ENAMETOOLONG;
            return false;
        }
        named.resize(static_cast<size_t>(length));
        if (!named.starts_with('/')) {
            const size_t slash = current.rfind('/');
            if (slash != std::string::npos) named.insert(0, current, 0, slash + 1);
        }
        current = named;
    }
    errno = ELOOP;
    return false;
}
