#pragma once

#include <vector>

#include "platform/base/cstring.h"
#include "platform/ui/wnd.h"
#include "res/command_ids.h"

class CImageList;
class IPaneFrame;

// The icon list of a navigation group: one item per screen command, with large or small icons
// as the user chooses (kept in the group's section). A click on an item gives its command to
// the main window, as the menu would; the list draws every item itself, marked while the
// pointer is over it or the button is down on it.
class CNavList : public CWnd {
public:
    static constexpr int kLargeTop = 16;
    static constexpr int kLargeStep = 72;
    static constexpr int kSmallLeft = 9;
    static constexpr int kSmallTop = 12;
    static constexpr int kSmallStep = 32;
    static constexpr int kMaxText = 127;

    struct Item {
        CString text;
        UINT command = 0;
        int image = -1;
        CPoint position;  // in the list's content, before scrolling
        CRect bounds;     // the picture and the text, in the list's content
    };

    CNavList();
    ~CNavList() override;

    BOOL Create(const CRect& rect, CWnd* parent, UINT id, const CString& section);
    // The pictures of both sizes (not owned) and where the commands go.
    void SetImageLists(const CImageList* large, const CImageList* small);
    void SetFrame(IPaneFrame* frame) { m_pFrame = frame; }

    // Appends an item; answers its index.
    int AddItem(const CString& text, UINT command, int image);
    int AddItem(UINT stringId, UINT command, int image);
    int InsertItem(int index, const CString& text, UINT command, int image);
    void DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    const Item& GetItem(int index) const { return m_items.at(static_cast<size_t>(index)); }

    // Puts the items in a column: large icons centred, small icons at the left.
    void ArrangeItems();
    BOOL IsLargeIcons() const { return m_bLargeIcons; }
    // Switches the icon size and arranges the items again; the user's switch is also stored.
    void SetLargeIcons(BOOL large, BOOL store);
    // The height that shows every item.
    int GetNeededHeight() const;
    // The item under a client point; -1 for none.
    int HitTest(CPoint point) const;
    int GetHotItem() const { return m_nHot; }
    // The item's command with 0x10000, for the help; 0 over no item.
    DWORD OnHelpHitTest(CPoint point) const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(CDC& dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFont(const LogFont& font, BOOL redraw) override;
    void OnVScroll(UINT code, UINT pos) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    BOOL OnSetCursor() override;
    void OnContextMenu(CWnd* wnd, CPoint point) override;

private:
    void PlaceItems(int width);
    void UpdateScrollBar();
    void ScrollTo(int pos);
    void RedrawItem(int index);
    // The item's bounds in client coordinates.
    CRect ClientBounds(int index) const;

    BOOL m_bLButtonDown = FALSE;
    BOOL m_bArranging = FALSE;
    BOOL m_bLargeIcons = TRUE;
    CString m_section;
    std::vector<Item> m_items;
    const CImageList* m_pLarge = nullptr;
    const CImageList* m_pSmall = nullptr;
    IPaneFrame* m_pFrame = nullptr;
    int m_nHot = -1;
    int m_nScroll = 0;
};
