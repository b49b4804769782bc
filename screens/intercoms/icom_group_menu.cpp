// The groups screen's membership menu: what the selection names, the entries it offers and
// the pairs a command changes.
#include <utility>
#include <vector>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "screens/base/edit_scopes.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/cells/kelvardin_grid_cell.h"
#include "screens/intercoms/icom_group_view.h"

namespace {

constexpr DWORD kFieldDisplayName = 65;

// The intercom a membership field stands for; -1 for any other field.
int MemberIcom(const CObjSpec& obj) {
    if (obj.m_nType != CObjSpec::kGroup || obj.m_nFieldId < CGroup::kFieldFirstMember) return -1;
    const DWORD icom = obj.m_nFieldId - CGroup::kFieldFirstMember;
    return icom < static_cast<DWORD>(CGroup::kMaxMembers) ? static_cast<int>(icom) : -1;
}

CObjSpec SpecOf(const CGridCtrl& grid, int row, int col) {
    const auto* cell = dynamic_cast<const CKelvardinGridCell*>(grid.GetCell(row, col));
    return cell ? cell->GetObjSpec() : CObjSpec();
}

}  // namespace

std::optional<CIcomGroupView::CTargets> CIcomGroupView::MenuTargets(const CCellID& clicked) const {
    const CKelvardinGridCtrl* grid = GetGrid();
    if (!grid || grid->GetSelectedCount() == 0) return std::nullopt;
    const CObjSpec obj = SpecOf(*grid, clicked.row, clicked.col);
    const int member = MemberIcom(obj);
    CTargets targets;
    if (grid->GetSelectedCount() == 1) {
        if (obj.m_nType == CObjSpec::kGroup && obj.m_nFieldId == CObjSpec::kFieldRecord) {
            targets = {kAll, obj.GetIndex()};
        } else if (member >= 0) {
            targets = {member, obj.GetIndex()};
        } else if (obj.m_nType == CObjSpec::kIntercom &&
                   (obj.m_nFieldId == CObjSpec::kFieldRecord ||
                    obj.m_nFieldId == kFieldDisplayName)) {
            targets = {obj.GetIndex(), kAll};
        } else {
            return std::nullopt;
        }
        return targets;
    }
    // Several cells: a single row names the clicked cell's intercom, a single column its group.
    const CCellRange range = grid->GetSelectedCellRange();
    if (range.GetMinRow() == range.GetMaxRow()) {
        if (member < 0) return std::nullopt;
        targets.icom = member;
    } else {
        targets.icom = kSelected;
    }
    if (range.GetMinCol() == range.GetMaxCol()) {
        if (obj.m_nType != CObjSpec::kGroup) return std::nullopt;
        targets.group = obj.GetIndex();
    } else {
        targets.group = kSelected;
    }
    return targets;
}

CString CIcomGroupView::IcomText(int icom) const {
    if (icom == kAll) return u"ALL intercoms";
    if (icom < 0) return u"the selected intercoms";
    const CKelvardinDoc* doc = GetDocument();
    CString name =
        doc ? doc->GetIcomText(icom, GetApp().GetConfig().m_nAlphaSize, TRUE, FALSE) : CString();
    return name.IsEmpty() ? CString::Formatted(u"intercom #%d", icom + 1) : name;
}

CString CIcomGroupView::GroupText(int group) const {
    if (group == kAll) return u"ALL groups";
    if (group < 0) return u"the selected groups";
    const CKelvardinDoc* doc = GetDocument();
    CString name = doc ? doc->GetGroupName(group, TRUE) : CString();
    return name.IsEmpty() ? CString::Formatted(u"group #%d", group + 1) : name;
}

CPopupMenu CIcomGroupView::BuildMenu(const CTargets& targets, bool clearChanges) const {
    const CString icom = IcomText(targets.icom);
    const CString group = GroupText(targets.group);
    const auto add = [&](CPopupMenu& menu, UINT id, std::u16string_view text) {
        menu.AppendItem(id, SubstituteArgs(text, {icom, group}));
    };
    CPopupMenu menu;
    const bool onePair = targets.icom >= 0 && targets.group >= 0;
    // One pair offers the one change it can take.
    const CKelvardinDoc* doc = GetDocument();
    const bool member = onePair && doc && doc->IsGroupMember(targets.group, targets.icom);
    if (!member) {
        add(menu, kMakeMember,
            targets.icom >= 0 ? u"&Make %1 a member of %2" : u"&Make %1 members of %2");
    }
    if (!onePair || member) add(menu, kRemoveMember, u"&Remove %1 from %2");
    if (!onePair) add(menu, kToggleMember, u"&Toggle the membership state of %1 for %2");
    if (clearChanges) {
        menu.AppendSeparator();
        menu.AppendItem(ID_CANCEL_CHANGES, u"&Clear changes");
    }
    return menu;
}

LRESULT CIcomGroupView::OnGridRClick(NM_GRIDVIEW* record) {
    if (!GetGrid() || !record) return 0;
    const std::optional<CTargets> targets = MenuTargets(CCellID(record->iRow, record->iColumn));
    if (!targets) return 0;
    const bool online = GetApp().GetMode() == CAppState::kModeOnline;
    const CPopupMenu menu = BuildMenu(*targets, online && SelectionHasChanges());
    const UINT chosen = TrackPopupMenu(menu, GetContextMenuPoint(record), GetHost().GetWindow());
    if (chosen == ID_CANCEL_CHANGES) {
        GetHost().PostCommand(ID_CANCEL_CHANGES);
    } else if (chosen >= kMakeMember && chosen <= kToggleMember && ApplyCommand(chosen, *targets)) {
        // The menu ran the event loop: the grid is found again.
        if (CKelvardinGridCtrl* grid = GetGrid()) grid->Invalidate();
        // The rows may be sorted by a group's members.
        SortDataChanged();
    }
    return 0;
}

BOOL CIcomGroupView::ApplyToPair(UINT command, int group, int icom) {
    CKelvardinDoc* doc = GetDocument();
    if (!doc) return FALSE;
    const bool member = doc->IsGroupMember(group, icom);
    if (member ? command == kMakeMember : command == kRemoveMember) return FALSE;
    const CGroupSpec obj(group, CGroup::kFieldFirstMember + static_cast<DWORD>(icom));
    return doc->SetObjectField(obj, member ? u"0" : u"1", TRUE);
}

BOOL CIcomGroupView::ApplyCommand(UINT command, const CTargets& targets) {
    const CKelvardinGridCtrl* grid = GetGrid();
    if (!grid || !GetDocument()) return FALSE;
    const CUndoGroupScope group;
    BOOL changed = FALSE;
    if (targets.icom == kSelected || targets.group == kSelected) {
        // Taken first: a refusal's message box runs the event loop between the writes.
        std::vector<std::pair<int, int>> pairs;
        const CCellRange range = grid->GetSelectedCellRange();
        for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row) {
            for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) {
                if (!grid->IsCellSelected(row, col)) continue;
                const CObjSpec obj = SpecOf(*grid, row, col);
                if (const int icom = MemberIcom(obj); icom >= 0)
                    pairs.emplace_back(obj.GetIndex(), icom);
            }
        }
        for (const auto& [groupIndex, icom] : pairs)
            changed = ApplyToPair(command, groupIndex, icom) || changed;
        return changed;
    }
    const int groups = GetApp().GetConfig().m_wNumGroups;
    const int icoms = GetApp().GetVisibleIcomCount();
    const int firstGroup = targets.group == kAll ? 0 : targets.group;
    const int lastGroup = targets.group == kAll ? groups - 1 : targets.group;
    const int firstIcom = targets.icom == kAll ? 0 : targets.icom;
    const int lastIcom = targets.icom == kAll ? icoms - 1 : targets.icom;
    for (int group = firstGroup; group <= lastGroup; ++group) {
        for (int icom = firstIcom; icom <= lastIcom; ++icom)
            changed = ApplyToPair(command, group, icom) || changed;
    }
    return changed;
}
