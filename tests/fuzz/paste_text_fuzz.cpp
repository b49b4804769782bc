// Arbitrary clipboard text into the paste splitter: every field is free of line feeds and tabs
// and of trailing white space, and the fields of each line, joined again, give the line back
// up to that trailing white space.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "grid/grid_text.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsTrailingSpace(char16_t ch) {
    return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n' || ch == u'\v' || ch == u'\f';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    const auto lines = SplitPasteText(CString(text));
    const std::u16string_view whole = std::u16string_view(text).substr(0, text.find(u'\0'));

    std::size_t at = 0;
    for (const auto& fields : lines) {
        const std::size_t end = std::min(whole.find(u'\n', at), whole.size());
        const std::u16string_view line = whole.substr(at, end - at);
        Check(fields.empty() == line.empty());
        std::size_t fieldAt = 0;
        for (const CString& field : fields) {
            const std::u16string& f = field.str();
            Check(f.find(u'\n') == std::u16string::npos && f.find(u'\t') == std::u16string::npos);
            Check(f.empty() || !IsTrailingSpace(f.back()));
            Check(line.substr(fieldAt, f.size()) == f);
            fieldAt = std::min(line.find(u'\t', fieldAt), line.size()) + 1;
        }
        at = end + 1;
    }
    Check(at >= whole.size());
    return 0;
}
