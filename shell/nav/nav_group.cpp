#include "shell/nav/nav_group.h"

#include <algorithm>

#include "model/app_state.h"
#include "platform/base/profile.h"
#include "platform/ui/sys_info.h"
#include "shell/nav/nav_button.h"
#include "shell/nav/nav_layout.h"

namespace {

constexpr char16_t kHeightEntry[] = u"Height";

// The child's whole height, scroll bars and frame included.
int WindowHeight(const CWnd& wnd) {
    CRect rect;
    wnd.GetWindowRect(&rect);
    return std::max(rect.Height(), 0);
}

}  // namespace

int NavHeaderHeight() {
    return GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYBORDER);
}

CNavGroup::CNavGroup() = default;
CNavGroup::~CNavGroup() = default;

IProfile& CNavGroup::Profile() {
    return GetApp().GetProfile();
}

BOOL CNavGroup::Create(const CString& title, const CRect& rect, CWnd* parent, UINT id,
                       const CString& section) {
    if (!CWnd::Create(WS_CHILD | WS_VISIBLE, rect, parent, id)) return FALSE;
    m_section = section;
    m_nTop = rect.top;
    m_nWidth = rect.Width();
    auto header = std::make_unique<CNavButton>(TRUE);
    if (!header->Create(title, CRect(0, 0, m_nWidth, NavHeaderHeight()), this, id)) return FALSE;
    AddChild(std::move(header), FALSE);
    return TRUE;
}

void CNavGroup::AddChild(std::unique_ptr<CWnd> child, BOOL stretch) {
    const int height = WindowHeight(*child);
    m_children.push_back(std::move(child));
    if (stretch) {
        m_nStretch = GetChildCount() - 1;
    } else {
        m_nFixedHeight += height;
    }
    m_nHeight += height;
    Place(CRect(0, m_nTop, m_nWidth, m_nTop + m_nHeight));
}

CWnd* CNavGroup::GetChild(int index) const {
    if (index < 0 || index >= GetChildCount()) return nullptr;
    return m_children[static_cast<size_t>(index)].get();
}

CNavButton* CNavGroup::GetHeader() const {
    return dynamic_cast<CNavButton*>(GetChild(0));
}

CWnd* CNavGroup::GetStretchChild() const {
    return GetChild(m_nStretch >= 0 ? m_nStretch : GetChildCount() - 1);
}

void CNavGroup::Place(const CRect& rect) {
    m_nTop = rect.top;
    MoveWindow(rect);
    RecalcLayout();
}

void CNavGroup::RecalcLayout() {
    const CRect client = GetClientRect();
    m_nWidth = client.Width();
    m_nHeight = client.Height();
    if (!m_section.IsEmpty())
        Profile().WriteProfileInt(m_section, kHeightEntry, static_cast<std::uint32_t>(m_nHeight));
    const int stretch = m_nStretch >= 0 ? m_nStretch : GetChildCount() - 1;
    int top = 0;
    for (int i = 0; i < stretch; ++i) {
        CWnd* child = GetChild(i);
        const int height = WindowHeight(*child);
        child->MoveWindow(CRect(0, top, m_nWidth, top + height));
        top += height;
    }
    int bottom = m_nHeight;
    for (int i = GetChildCount() - 1; i > stretch; --i) {
        CWnd* child = GetChild(i);
        const int height = WindowHeight(*child);
        child->MoveWindow(CRect(0, bottom - height, m_nWidth, bottom));
        bottom -= height;
    }
    if (CWnd* child = GetChild(stretch))
        child->MoveWindow(CRect(0, top, m_nWidth, std::max(top, bottom)));
}

int CNavGroup::GetPreferredHeight() {
    CWnd* stretch = GetStretchChild();
    if (!stretch || stretch == GetChild(0)) return m_nFixedHeight;
    return m_nFixedHeight + static_cast<int>(stretch->SendMessage(WM_NAV_NEEDED_HEIGHT, 0, -1));
}

LRESULT CNavGroup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NAV_HEADER_DRAG: {
            const auto pointerY = static_cast<short>(HIWORD(wParam));
            const auto anchorY = static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)));
            OnHeaderDrag(pointerY - anchorY);
            return 0;
        }
        case WM_NAV_HEADER_CLICK: OnHeaderClick(); return 0;
        default: return CWnd::WindowProc(message, wParam, lParam);
    }
}

namespace {

// The groups linked with this one, first to last.
std::vector<CNavGroup*> Chain(CNavGroup* group) {
    while (group->GetPrev())
        group = group->GetPrev();
    std::vector<CNavGroup*> chain;
    for (; group; group = group->GetNext())
        chain.push_back(group);
    return chain;
}

std::vector<CNavSpan> Spans(const std::vector<CNavGroup*>& groups) {
    std::vector<CNavSpan> spans;
    for (const CNavGroup* group : groups)
        spans.push_back({group->GetTop(), group->GetHeight(), group->GetFixedHeight()});
    return spans;
}

void Apply(const std::vector<CNavGroup*>& groups, const std::vector<CNavSpan>& spans) {
    for (size_t i = 0; i < groups.size(); ++i) {
        CNavGroup* group = groups[i];
        const CNavSpan& span = spans[i];
        if (span.top == group->GetTop() && span.height == group->GetHeight()) continue;
        group->Place(CRect(0, span.top, group->GetWidth(), span.top + span.height));
    }
}

size_t IndexOf(const std::vector<CNavGroup*>& groups, const CNavGroup* group) {
    return static_cast<size_t>(std::find(groups.begin(), groups.end(), group) - groups.begin());
}

}  // namespace

void CNavGroup::OnHeaderDrag(int dy) {
    const std::vector<CNavGroup*> groups = Chain(this);
    std::vector<CNavSpan> spans = Spans(groups);
    DragNavSpan(spans, IndexOf(groups, this), dy);
    Apply(groups, spans);
}

void CNavGroup::OnHeaderClick() {
    const std::vector<CNavGroup*> groups = Chain(this);
    std::vector<CNavSpan> spans = Spans(groups);
    ClickNavSpan(spans, IndexOf(groups, this), GetPreferredHeight());
    Apply(groups, spans);
}

void CNavGroup::OnSetFont(const LogFont& font, BOOL redraw) {
    for (const auto& child : m_children)
        child->SetFont(font, redraw);
}

void CNavGroup::OnSetFocus(CWnd*) {
    if (CWnd* bar = GetParent()) bar->SetFocus();
}
