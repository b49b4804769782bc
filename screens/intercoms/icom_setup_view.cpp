#include "screens/intercoms/icom_setup_view.h"

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "screens/base/edit_scopes.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_messages.h"
#include "screens/cells/bool_grid_cell.h"
#include "screens/cells/cell_compare.h"
#include "screens/cells/choice_grid_cells.h"
#include "screens/cells/ip_addr_grid_cell.h"

namespace {

using Need = IcomColumnNeed;

constexpr CIcomColumn kColumns[] = {
    {2289, false, 1, nullptr, CompareCellNumbers, Need::kAlways},
    {2290, false, 66, nullptr, CompareCellText, Need::kSingleName},
    {6201, false, 67, nullptr, CompareCellText, Need::kNameLengths},
    {6202, false, 68, nullptr, CompareCellText, Need::kNameLengths},
    {6203, false, 69, nullptr, CompareCellText, Need::kNameLengths},
    {6204, false, 70, nullptr, CompareCellText, Need::kWideName},
    {6205, false, 71, &CellClassOf<CConnTypeCell>, CompareCellText, Need::kEthernet},
    {6206, false, 75, &CellClassOf<CBaudRateGridCell>, CompareCellNumbers, Need::kAlways},
    {6207, false, 74, nullptr, CompareCellNumbers, Need::kAlways},
    {6208, false, 72, &CellClassOf<CIPAddrGridCell>, CompareCellIPAddr, Need::kEthernet},
    {6209, false, 73, &CellClassOf<CIPAddrGridCell>, CompareCellIPAddr, Need::kEthernet},
    {6210, false, 76, nullptr, CompareCellNumbers, Need::kCascadeCosts},
    {6211, true, 1357, &CellClassOf<CBoolGridCell>, CompareCellText, Need::kEnhancedStatus},
    {2222, false, 1358, &CellClassOf<CBoolGridCell>, CompareCellText, Need::kEnhancedStatus},
    {6212, false, 1359, nullptr, CompareCellText, Need::kEnhancedStatus},
    {6213, false, 1360, nullptr, CompareCellNumbers, Need::kEnhancedStatus},
    {6214, false, 1361, nullptr, CompareCellNumbers, Need::kTwoCVs},
    {2208, false, 1362, nullptr, CompareCellText, Need::kEnhancedStatus},
    {2208, true, 1356, nullptr, CompareCellText, Need::kPlainStatus},
};

// The name the device search preselects is the 4-character one.
constexpr int kSearchNameLength = 4;

bool IsComPortCommand(UINT command) {
    return command >= ID_ICOM_COM_NONE &&
           command < ID_ICOM_COM_FIRST + static_cast<UINT>(icom_menu::kComPorts);
}

}  // namespace

CIcomSetupView::CIcomSetupView(IScreenHost& host)
    : CIcomGridView(host, {IcomPoll::kSetup, IcomPoll::kStatus, IcomPoll::kRemTrunking}) {
    m_strWidthsValue = u"IntercomSetupColumnWidths";
}

DWORD CIcomSetupView::GetHelpID() {
    return 0x20000 + ID_VIEW_ICOM_SETUP;
}

std::span<const CIcomColumn> CIcomSetupView::ColumnTable() const {
    return kColumns;
}

int CIcomSetupView::DefaultSortColumn() const {
    const CAppState& app = GetApp();
    const CCVConfig& config = app.GetConfig();
    if (app.m_bSortIntercomsByIntercomNumber) return 0;
    // Positions once the columns the controller lacks are gone: 1 is the only name, or the
    // 4-character one, followed by the 6-, 8- and wide 8-character names.
    if (!config.HasFlag(CCVConfig::kNewCorvane)) return 1;
    switch (config.m_nAlphaSize) {
        case 6: return 2;
        case 8: return 3;
        case 16: return config.HasFlag(CCVConfig::kUnicodeSupport) ? 4 : 0;
        default: return 1;
    }
}

void CIcomSetupView::UpdateGrid() {
    Poll(IcomPoll::kStatus);
    Poll(IcomPoll::kSetup);
    Poll(IcomPoll::kRemTrunking);
}

void CIcomSetupView::ClearAllChanges() {
    if (CKelvardinDoc* doc = GetDocument()) doc->ClearAllModified(CObjSpec::kIntercom);
}

LRESULT CIcomSetupView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SCREEN_HAS_CHANGES) {
        const CKelvardinDoc* doc = GetDocument();
        return doc && doc->FindModifiedIcom() >= 0 ? 1 : 0;
    }
    return CIcomGridView::WindowProc(message, wParam, lParam);
}

CPopupMenu CIcomSetupView::ContextMenu(const CKelvardinDoc& doc, const CIcomSelection& selection) {
    return icom_menu::ForSetup(doc, selection, IsOnline(), SelectionHasChanges() != FALSE);
}

void CIcomSetupView::OnMenuCommand(UINT command, const CIcomSelection& selection) {
    const CKelvardinDoc* doc = GetDocument();
    if (!doc) return;
    switch (command) {
        case ID_ICOM_SERIAL:
        case ID_ICOM_NETWORK:
            SetSelected(CIntercom::kFieldConnection,
                        doc->GetConnTypeText(command == ID_ICOM_NETWORK ? 1 : 0), selection);
            return;
        case ID_ICOM_BAUD_38400:
        case ID_ICOM_BAUD_9600:
            SetSelected(CIntercom::kFieldBaudRate,
                        doc->GetBaudRateText(command == ID_ICOM_BAUD_9600 ? 2 : 1), selection);
            return;
        case ID_ICOM_BROWSE_ADDRESS:
            if (selection.IsSingle()) BrowseForAddresses(selection.index);
            return;
        case ID_CANCEL_CHANGES: GetHost().PostCommand(ID_CANCEL_CHANGES); return;
        default: break;
    }
    if (IsComPortCommand(command)) {
        SetSelected(CIntercom::kFieldComPort,
                    CString::Formatted(u"%d", static_cast<int>(command - ID_ICOM_COM_NONE)),
                    selection);
        return;
    }
    RunViewCommand(command, selection);
}

void CIcomSetupView::SetSelected(DWORD fieldId, const CString& text,
                                 const CIcomSelection& selection) {
    CKelvardinDoc* doc = GetDocument();
    if (!doc) return;
    const int visible = GetApp().GetVisibleIcomCount();
    BOOL changed = FALSE;
    {
        CUndoGroupScope group;
        for (int icom : selection.icoms) {
            if (icom < visible)
                changed |= doc->SetObjectField(CIcomSpec(icom, fieldId), text, TRUE);
        }
    }
    if (!changed || !GetGrid()) return;
    GetGrid()->Invalidate();
    // The rows may be sorted by the setting.
    SortDataChanged();
}

void CIcomSetupView::BrowseForAddresses(int icom) {
    CKelvardinDoc* doc = GetDocument();
    if (!doc) return;
    CString found;
    CString primary;
    CString backup;
    if (!GetHost().SearchForIntercom(icom, doc->GetIcomText(icom, kSearchNameLength, TRUE, FALSE),
                                     found, primary, backup))
        return;
    if (!doc->SetIcomAddresses(icom, found, primary, backup) || !GetGrid()) return;
    GetGrid()->Invalidate();
    SortDataChanged();
}
