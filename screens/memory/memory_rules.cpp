#include "screens/memory/memory_rules.h"

#include <algorithm>

#include "platform/ui/win_consts.h"

namespace memory_rules {

namespace {

DWORD& Word(CContext& context, int index) {
    return context.m_params[static_cast<size_t>(index)];
}

DWORD Word(const CContext& context, int index) {
    return context.m_params[static_cast<size_t>(index)];
}

int Position(const CContext& context) {
    return static_cast<int>(Word(context, 0));
}

std::optional<BYTE> HexByte(const CString& text) {
    if (text.GetLength() != 2) return std::nullopt;
    int value = 0;
    for (char16_t ch : text.str()) {
        int digit = -1;
        if (ch >= u'0' && ch <= u'9') digit = ch - u'0';
        if (ch >= u'a' && ch <= u'f') digit = ch - u'a' + 10;
        if (ch >= u'A' && ch <= u'F') digit = ch - u'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<BYTE>(value);
}

}  // namespace

void Normalise(CContext& context) {
    const int position = Position(context);
    if (position >= 1 && position <= kEntries) return;
    // A context starts with every word 0, which would read as eleven entries of address 0.
    Word(context, 0) = 1;
    Word(context, 1) = 0;
    for (int i = 2; i <= kEntries; ++i)
        Word(context, i) = kEmpty;
}

DWORD CurrentAddress(const CContext& context) {
    const int position = Position(context);
    if (position < 1) return 0;
    if (position > kEntries) return kEmpty;
    return Word(context, position);
}

void Record(CContext& context, DWORD address) {
    Normalise(context);
    for (int i = 1; i <= kEntries; ++i) {
        if (Word(context, i) == address && address != kEmpty) {
            Word(context, 0) = static_cast<DWORD>(i);
            return;
        }
    }
    // The entries from the current one on move behind the new one; newer ones are dropped.
    const int current = Position(context);
    std::array<DWORD, kEntries> kept{};
    kept.fill(kEmpty);
    for (int from = current, to = 1; from <= kEntries && to < kEntries; ++from, ++to)
        kept[static_cast<size_t>(to)] = Word(context, from);
    kept[0] = address;
    for (int i = 1; i <= kEntries; ++i)
        Word(context, i) = kept[static_cast<size_t>(i - 1)];
    Word(context, 0) = 1;
}

std::vector<HistoryEntry> Entries(const CContext& context) {
    std::vector<HistoryEntry> entries;
    for (int i = 1; i <= kEntries; ++i) {
        if (Word(context, i) != kEmpty) entries.push_back({i - 1, Word(context, i)});
    }
    return entries;
}

std::optional<DWORD> AddressFromBytes(const std::array<CString, 4>& bytes,
                                      bool lastMostSignificant) {
    DWORD address = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const std::optional<BYTE> byte = HexByte(bytes[lastMostSignificant ? 3 - i : i]);
        if (!byte) return std::nullopt;
        address = address << 8 | *byte;
    }
    return address;
}

std::optional<int> KeyStep(UINT vk, bool alt, int focusRow) {
    switch (vk) {
        case VK_PRIOR: return -static_cast<int>(kWindowBytes);
        case VK_NEXT: return static_cast<int>(kWindowBytes);
        case VK_LEFT: return alt ? std::optional<int>(-1) : std::nullopt;
        case VK_RIGHT: return alt ? std::optional<int>(1) : std::nullopt;
        case VK_UP: return alt || focusRow == 0 ? std::optional<int>(-kRows) : std::nullopt;
        case VK_DOWN:
            return alt || focusRow == kRows - 1 ? std::optional<int>(kRows) : std::nullopt;
        default: return std::nullopt;
    }
}

}  // namespace memory_rules
