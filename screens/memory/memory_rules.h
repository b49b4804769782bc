#pragma once

#include <array>
#include <optional>
#include <vector>

#include "model/view_context.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// The rules of the memory screen that need no window: the address history kept in the
// screen's navigation context, the address a selection of four bytes spells, and the moves of
// the keys. Addresses are 32 bits and wrap.
namespace memory_rules {

// Word 0 of the context is the current position (1 to kEntries), words 1 to kEntries the
// addresses, newest first; kEmpty marks an unused entry.
constexpr int kEntries = 11;
constexpr DWORD kEmpty = 0xFFFFFFFF;
constexpr DWORD kWindowBytes = 256;
constexpr int kRows = 16;

// A history that was never used, or whose position lies outside it, starts afresh at
// address 0.
void Normalise(CContext& context);
// The address at the current position: 0 before any position, kEmpty beyond the history.
DWORD CurrentAddress(const CContext& context);
// Makes the address the current one: an address in the history only moves the position; a
// new one goes first, dropping the entries newer than the current one (when the user had gone
// back) or the oldest when the history is full.
void Record(CContext& context, DWORD address);

struct HistoryEntry {
    int index;  // counted from 0, as the menu numbers it
    DWORD address;
};
// The used entries, newest first.
std::vector<HistoryEntry> Entries(const CContext& context);

// The address four byte texts spell ("%2.2x" each): the first most significant, or the last
// when the controller orders them so. None when a text is not one byte in hexadecimal.
std::optional<DWORD> AddressFromBytes(const std::array<CString, 4>& bytes,
                                      bool lastMostSignificant);

// How far a key moves the window: Page Up and Page Down a window, Alt with Left or Right one
// byte, Up and Down a row when Alt is held or the focus is on the first or last row. None for
// a key the grid keeps.
std::optional<int> KeyStep(UINT vk, bool alt, int focusRow);

}  // namespace memory_rules
