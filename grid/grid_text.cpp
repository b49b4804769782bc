#include "grid/grid_text.h"

namespace {

bool IsTrailingSpace(char16_t ch) {
    return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n' || ch == u'\v' || ch == u'\f';
}

}  // namespace

CString BuildCopyText(const CopyBlock& block) {
    CString text;
    for (size_t row = 0; row < block.size(); ++row) {
        if (row > 0) text += u'\n';
        const auto& fields = block[row];
        // Tabs go between the columns shown only: none trails a row whose last column is hidden.
        for (size_t col = 0; col < fields.size(); ++col) {
            if (col > 0) text += u'\t';
            if (fields[col]) text += fields[col]->IsEmpty() ? CString(u" ") : *fields[col];
        }
    }
    return text;
}

std::vector<std::vector<CString>> SplitPasteText(const CString& text) {
    std::u16string_view rest = text.str();
    rest = rest.substr(0, rest.find(u'\0'));
    std::vector<std::vector<CString>> lines;
    for (;;) {
        const size_t end = rest.find(u'\n');
        const std::u16string_view line = rest.substr(0, end);
        std::vector<CString> fields;
        if (!line.empty()) {
            std::u16string_view fieldsLeft = line;
            for (;;) {
                const size_t tab = fieldsLeft.find(u'\t');
                std::u16string_view field = fieldsLeft.substr(0, tab);
                while (!field.empty() && IsTrailingSpace(field.back()))
                    field.remove_suffix(1);
                fields.emplace_back(field);
                if (tab == std::u16string_view::npos) break;
                fieldsLeft.remove_prefix(tab + 1);
            }
        }
        lines.push_back(std::move(fields));
        if (end == std::u16string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return lines;
}

size_t FieldCount(const std::vector<std::vector<CString>>& lines) {
    size_t count = 0;
    for (const std::vector<CString>& line : lines)
        count += line.size();
    return count;
}
