#include "screens/console/cmd_line_rules.h"

#include <algorithm>
#include <array>

#include "platform/base/codepage.h"
#include "platform/io/file.h"

namespace cmd_line_rules {

bool WantsNext(const CString& reply) {
    return !reply.IsEmpty() && reply[reply.GetLength() - 1] == u'&';
}

CString NextBlockCommand(const std::string& lastCommand, int alphaSize) {
    const std::size_t colon = lastCommand.find(':');
    // The command is kept as the 8-bit text that went out.
    std::string prefix;
    if (colon != std::string::npos && colon >= 1 && colon <= static_cast<std::size_t>(alphaSize))
        prefix = lastCommand.substr(0, colon + 1);
    return CString(FromAnsi(prefix)) + u"NXT";
}

std::vector<int> PageStarts(const std::vector<int>& lineHeights, int pageHeight) {
    std::vector<int> starts{0};
    int y = 0;
    for (std::size_t i = 0; i < lineHeights.size(); ++i) {
        const int height = std::min(lineHeights[i], pageHeight);
        // The first line of a page always stays on it, however tall.
        if (y > 0 && y + height > pageHeight) {
            starts.push_back(static_cast<int>(i));
            y = 0;
        }
        y += height;
    }
    return starts;
}

void WriteLines(CFile& file, int count, const std::function<CString(int)>& line) {
    std::array<BYTE, kWriteBuffer> buffer;
    std::size_t used = 0;
    auto put = [&](std::string_view bytes) {
        while (!bytes.empty()) {
            const std::size_t n = std::min(bytes.size(), buffer.size() - used);
            std::copy_n(bytes.begin(), n, buffer.begin() + static_cast<std::ptrdiff_t>(used));
            used += n;
            bytes.remove_prefix(n);
            if (used == buffer.size()) {
                file.Write(buffer.data(), static_cast<UINT>(used));
                used = 0;
            }
        }
    };
    for (int i = 0; i < count; ++i) {
        put(ToUtf8(line(i)));
        put("\r\n");
    }
    if (used > 0) file.Write(buffer.data(), static_cast<UINT>(used));
}

}  // namespace cmd_line_rules
