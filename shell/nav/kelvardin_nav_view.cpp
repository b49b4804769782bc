#include "shell/nav/kelvardin_nav_view.h"

#include <algorithm>
#include <span>

#include "link/command_codes.h"
#include "model/doc_views.h"
#include "platform/base/profile.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "screens/base/pane_frame.h"
#include "shell/app/kelvardin_app.h"
#include "shell/nav/nav_group.h"
#include "shell/nav/nav_images.h"
#include "shell/nav/nav_layout.h"
#include "shell/nav/nav_list.h"
#include "shell/nav/nav_palette_group.h"

namespace {

constexpr char16_t kBarSection[] = u"Windows\\NavBars";
constexpr char16_t kPaletteSection[] = u"Windows\\NavBars\\AlphaPalette";
constexpr char16_t kWidthEntry[] = u"Width";
constexpr char16_t kHeightEntry[] = u"Height";
// The names reply's hint object that names intercom names among the alpha lists.
constexpr LPARAM kAlphaListNames = 7;

struct NavItem {
    UINT text;
    UINT command;
    int image;
};

constexpr NavItem kTrunkItems[] = {
    {2203, ID_VIEW_TRUNK_DEFS, 2},
    {2204, ID_VIEW_TRUNK_SUMMARY, 3},
    {2205, ID_VIEW_TRUNK_INSPECT, 4},
    {2206, ID_VIEW_TRUNK_OPTIONS, 5},
};
constexpr NavItem kIntercomItems[] = {
    {2207, ID_VIEW_ICOM_SETUP, 6},
    {2208, ID_VIEW_ICOM_STATUS, 7},
    {2136, ID_VIEW_ICOM_ALPHAS, 8},
    {2209, ID_VIEW_ICOM_GROUPS, 9},
};

struct ListGroup {
    UINT title;
    UINT id;
    UINT listId;
    const char16_t* section;
    std::span<const NavItem> items;
};

// A stored height, kept to what a window can be, whatever the settings file says.
int StoredHeight(const char16_t* section) {
    constexpr int kTallest = 0x7FFF;
    const int header = NavHeaderHeight();
    const auto stored = static_cast<int>(GetApp().GetProfile().GetProfileInt(
        section, kHeightEntry, static_cast<std::uint32_t>(header)));
    return std::clamp(stored, 0, kTallest);
}

}  // namespace

CKelvardinNavView::CKelvardinNavView() = default;

CKelvardinNavView::~CKelvardinNavView() {
    SaveWidth();
}

BOOL CKelvardinNavView::Create(IPaneFrame* frame, const CKelvardinDoc* doc, const CRect& rect,
                               QWidget* parent, UINT id) {
    m_pFrame = frame;
    if (!CWnd::Create(WS_CHILD | WS_VISIBLE, rect, parent, id)) return FALSE;
    m_nWidth = rect.Width();
    for (auto [list, size] :
         {std::pair{&m_small, kNavSmallImageSize}, {&m_large, kNavLargeImageSize}}) {
        list->Create(size, size);
        list->Add(MakeNavImages(size));
        list->SetBkColor(GetSysColor(COLOR_BTNSHADOW));
        list->SetOverlayImage(0, 1);
        list->SetOverlayImage(1, 2);
    }
    m_font = GetMenuFont();

    const ListGroup groups[] = {
        {2201, kTrunkGroupId, kTrunkListId, u"Windows\\NavBars\\Trunk", kTrunkItems},
        {2202, kIntercomGroupId, kIntercomListId, u"Windows\\NavBars\\Intercom", kIntercomItems},
        {2228, kDiagnosticsGroupId, kDiagnosticsListId, u"Windows\\NavBars\\Diagnostic", {}},
    };
    const int header = NavHeaderHeight();
    int top = 0;
    for (const ListGroup& g : groups) {
        const int height = StoredHeight(g.section);
        auto group = std::make_unique<CNavGroup>();
        if (!group->Create(LoadResString(g.title), CRect(0, top, m_nWidth, top + height), this,
                           g.id, g.section))
            return FALSE;
        auto list = std::make_unique<CNavList>();
        const int listHeight = std::max(height - header, 0);
        if (!list->Create(CRect(0, header, m_nWidth, header + listHeight), group.get(), g.listId,
                          g.section))
            return FALSE;
        list->SetImageLists(&m_large, &m_small);
        list->SetFrame(m_pFrame);
        for (const NavItem& item : g.items)
            list->AddItem(item.text, item.command, item.image);
        list->ArrangeItems();
        if (g.id == kDiagnosticsGroupId) m_pDiagnostics = list.get();
        group->AddChild(std::move(list), TRUE);
        group->SetFont(m_font);
        top += group->GetHeight();
        AddGroup(std::move(group));
    }
    RebuildDiagnostics();

    if (GetKelvardinApp().m_bEnableAlphaPalette) {
        const int height = StoredHeight(kPaletteSection);
        auto palette = std::make_unique<CNavPaletteGroup>(doc);
        if (!palette->Create(LoadResString(kIdsPaletteTitle), CRect(0, top, m_nWidth, top + height),
                             this, kPaletteGroupId, kPaletteSection))
            return FALSE;
        palette->SetFont(m_font);
        m_pPalette = palette.get();
        AddGroup(std::move(palette));
    }
    return TRUE;
}

void CKelvardinNavView::AddGroup(std::unique_ptr<CNavGroup> group) {
    if (!m_groups.empty()) {
        group->SetPrev(m_groups.back().get());
        m_groups.back()->SetNext(group.get());
    }
    m_groups.push_back(std::move(group));
}

CNavGroup* CKelvardinNavView::GetGroup(int index) const {
    if (index < 0 || index >= GetGroupCount()) return nullptr;
    return m_groups[static_cast<size_t>(index)].get();
}

void CKelvardinNavView::RecalcLayout() {
    if (m_groups.empty()) return;
    const CRect client = GetClientRect();
    std::vector<CNavSpan> spans;
    for (const auto& group : m_groups)
        spans.push_back({group->GetTop(), group->GetHeight(), group->GetFixedHeight()});
    FitNavSpans(spans, client.top, client.bottom);
    for (size_t i = 0; i < m_groups.size(); ++i) {
        const CNavSpan& span = spans[i];
        m_groups[i]->Place(CRect(client.left, span.top, client.right, span.top + span.height));
    }
}

void CKelvardinNavView::RebuildDiagnostics() {
    if (!m_pDiagnostics) return;
    const CKelvardinApp& app = GetKelvardinApp();
    CNavList& list = *m_pDiagnostics;
    list.DeleteAllItems();
    list.AddItem(kIdsCVStatus, ID_VIEW_CV_STATUS, 10);
    if (app.m_bAllowCommandLineProtocol) list.AddItem(u"Command Line", ID_VIEW_CLP, 11);
    if (app.m_bAllowMemoryPeek) list.AddItem(u"Examine Memory", ID_VIEW_MEMORY, 12);
    list.AddItem(u"View Log File", ID_VIEW_LOG_FILE, 13);
    list.ArrangeItems();
}

DWORD CKelvardinNavView::OnHelpHitTest(CPoint point) const {
    const int width = GetClientRect().Width();
    for (const auto& group : m_groups) {
        const CRect rect(0, group->GetTop(), width, group->GetTop() + group->GetHeight());
        if (rect.PtInRect(point)) return 0x20000 + group->GetDlgCtrlID();
    }
    return 0;
}

void CKelvardinNavView::OnUpdate(CView*, LPARAM lHint, void* hintObject) {
    const auto hint = CUpdateHint::FromParam(lHint);
    const auto object = reinterpret_cast<LPARAM>(hintObject);
    if (hint == CUpdateHint::kRebuild) RebuildDiagnostics();
    if (!m_pPalette) return;
    if (hint == CUpdateHint::kRebuild || hint == CUpdateHint::kFileRead) {
        m_pPalette->FillIntercoms();
        m_pPalette->FillTypes();
        m_pPalette->Refill();
    } else if (hint == CUpdateHint::kAlphaStored || hint == CUpdateHint::kAlphaRemoved) {
        m_pPalette->OnDocumentHint(hint, static_cast<DWORD>(object));
    } else if (hint.IsReply(kCmdNames) && object == kAlphaListNames) {
        m_pPalette->FillIntercoms();
        m_pPalette->Refill();
    }
}

void CKelvardinNavView::OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    m_nWidth = cx;
    if (m_bLayoutReady && cx >= 1) RecalcLayout();
}

void CKelvardinNavView::OnSetFocus(CWnd*) {
    if (!m_pFrame) return;
    if (CView* view = m_pFrame->GetCurrentMainView()) view->SetFocus();
}

void CKelvardinNavView::OnDestroy() {
    SaveWidth();
    CView::OnDestroy();
}

void CKelvardinNavView::SaveWidth() {
    if (m_widthSaved || m_nWidth <= 0) return;
    m_widthSaved = true;
    GetApp().GetProfile().WriteProfileInt(
        kBarSection, kWidthEntry, static_cast<std::uint32_t>(std::max(m_nWidth, kMinStoredWidth)));
}
