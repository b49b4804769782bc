// Arbitrary bytes as a display mask and a request log record: the first byte tells how many
// UTF-16 units of the rest make the mask. Rendering reads nothing beyond the record (which sits
// in a buffer of exactly its size), shows no more than the mask asks for, and a mask of 'x'
// alone shows the record's start as it is.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "screens/log_viewer/log_mask.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::u16string units;
    for (std::size_t i = 1; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    const std::size_t maskLength = std::min<std::size_t>(data[0], units.size());
    const std::u16string mask = units.substr(0, maskLength);
    const std::vector<char16_t> record(units.begin() + static_cast<std::ptrdiff_t>(maskLength),
                                       units.end());
    const std::u16string_view view(record.data(), record.size());
    const CString line = log_mask::Render(view, mask);
    if (static_cast<std::size_t>(line.GetLength()) > mask.size()) std::abort();
    const std::u16string copies(maskLength, u'x');
    const CString start = log_mask::Render(view, copies);
    if (start.str() != view.substr(0, std::min(maskLength, view.size()))) std::abort();
    return 0;
}
