#pragma once

#include <memory>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/ui/wnd.h"

class CNavButton;
class IProfile;

// WM_APP+0x516: the height that shows every row of a child (lParam -1: all of them).
constexpr UINT WM_NAV_NEEDED_HEIGHT = WM_APP + 0x516;

// One collapsible group of the navigation bar: a draggable header and a body of children
// stacked under it. One child stretches to fill what the others leave; the others keep their
// heights. The groups of a bar are linked in order, and a drag or click on a header moves room
// between them.
class CNavGroup : public CWnd {
public:
    CNavGroup();
    ~CNavGroup() override;

    // A visible child of the bar with its header; the height is kept in the section.
    virtual BOOL Create(const CString& title, const CRect& rect, CWnd* parent, UINT id,
                        const CString& section);

    // The group takes the child; a stretching one fills the room the others leave, any other
    // adds its height to the fixed height. The group grows by the child's height.
    void AddChild(std::unique_ptr<CWnd> child, BOOL stretch);
    int GetChildCount() const { return static_cast<int>(m_children.size()); }
    CWnd* GetChild(int index) const;
    CNavButton* GetHeader() const;
    CWnd* GetStretchChild() const;

    // Moves the group (in the bar's coordinates) and lays its children out.
    void Place(const CRect& rect);
    // Stores the size, writes the height to the section and stacks the children: those before
    // the stretching child from the top, those after it from the bottom.
    virtual void RecalcLayout();

    int GetTop() const { return m_nTop; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetFixedHeight() const { return m_nFixedHeight; }
    // The height that shows all of the group: the fixed height and what the stretching child
    // needs for all of its rows.
    int GetPreferredHeight();
    const CString& GetSection() const { return m_section; }

    CNavGroup* GetPrev() const { return m_pPrev; }
    CNavGroup* GetNext() const { return m_pNext; }
    void SetPrev(CNavGroup* group) { m_pPrev = group; }
    void SetNext(CNavGroup* group) { m_pNext = group; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSetFont(const LogFont& font, BOOL redraw) override;
    void OnSetFocus(CWnd* oldWnd) override;

protected:
    static IProfile& Profile();

private:
    void OnHeaderDrag(int dy);
    void OnHeaderClick();

    std::vector<std::unique_ptr<CWnd>> m_children;
    int m_nTop = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nFixedHeight = 0;
    int m_nStretch = -1;  // -1: the last child
    CNavGroup* m_pPrev = nullptr;
    CNavGroup* m_pNext = nullptr;
    CString m_section;
};

// The header's height: the system's menu bar and a border.
int NavHeaderHeight();
