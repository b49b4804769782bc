#include "platform/ui/key_map.h"

#include <Qt>

#include "platform/ui/win_consts.h"

namespace {

struct KeyEntry {
    int qtKey;
    UINT vk;
    char16_t ch;  // the character the key types, 0 for none
};

constexpr KeyEntry kKeys[] = {
    {Qt::Key_Backspace, VK_BACK, u'\b'},
    {Qt::Key_Tab, VK_TAB, u'\t'},
    {Qt::Key_Backtab, VK_TAB, u'\t'},
    {Qt::Key_Return, VK_RETURN, u'\r'},
    {Qt::Key_Enter, VK_RETURN, u'\r'},
    {Qt::Key_Escape, VK_ESCAPE, 27},
    {Qt::Key_Space, VK_SPACE, u' '},
    {Qt::Key_PageUp, VK_PRIOR, 0},
    {Qt::Key_PageDown, VK_NEXT, 0},
    {Qt::Key_End, VK_END, 0},
    {Qt::Key_Home, VK_HOME, 0},
    {Qt::Key_Left, VK_LEFT, 0},
    {Qt::Key_Up, VK_UP, 0},
    {Qt::Key_Right, VK_RIGHT, 0},
    {Qt::Key_Down, VK_DOWN, 0},
    {Qt::Key_Insert, VK_INSERT, 0},
    {Qt::Key_Delete, VK_DELETE, 0},
    {Qt::Key_Shift, VK_SHIFT, 0},
    {Qt::Key_Control, VK_CONTROL, 0},
    {Qt::Key_Alt, VK_MENU, 0},
    {Qt::Key_Plus, VK_ADD, 0},
    {Qt::Key_Minus, VK_SUBTRACT, 0},
};

UINT ModifierFlags(unsigned modifiers, int qtKey) {
    UINT flags = 0;
    if ((modifiers & Qt::ShiftModifier) || qtKey == Qt::Key_Backtab) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    if (modifiers & Qt::AltModifier) flags |= MK_ALT;
    return flags;
}

}  // namespace

KeyStroke TranslateKey(int qtKey, unsigned qtModifiers, std::u16string_view text) {
    KeyStroke stroke;
    stroke.mkFlags = ModifierFlags(qtModifiers, qtKey);
    const bool control = (stroke.mkFlags & MK_CONTROL) != 0;
    const bool alt = (stroke.mkFlags & MK_ALT) != 0;

    for (const KeyEntry& entry : kKeys) {
        if (entry.qtKey != qtKey) continue;
        stroke.vk = entry.vk;
        // Plus and minus type their characters like any other printable key.
        if (entry.vk == VK_ADD || entry.vk == VK_SUBTRACT) break;
        if (entry.ch != 0 && !alt && !(control && entry.ch == u' ')) stroke.chars = entry.ch;
        return stroke;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        stroke.vk = VK_F1 + static_cast<UINT>(qtKey - Qt::Key_F1);
        return stroke;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        stroke.vk = static_cast<UINT>(qtKey);
        // Control with a letter types its control code.
        if (control && !alt) {
            stroke.chars = static_cast<char16_t>(qtKey - Qt::Key_A + 1);
            return stroke;
        }
    } else if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        stroke.vk = static_cast<UINT>(qtKey);
    }
    if (control || alt) return stroke;
    for (char16_t ch : text) {
        if (ch >= 0x20 && ch != 0x7F) stroke.chars += ch;
    }
    return stroke;
}
