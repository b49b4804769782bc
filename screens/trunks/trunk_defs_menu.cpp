#include "screens/trunks/trunk_defs_menu.h"

#include <vector>

#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace trunk_menu {

UINT CommandSentFor(UINT item) {
    switch (item) {
        case kViewSummary: return ID_VIEW_TRUNK_SUMMARY;
        case kViewSetup: return ID_VIEW_ICOM_SETUP;
        case kViewStatus: return ID_VIEW_ICOM_STATUS;
        case kViewAlphas: return ID_VIEW_ICOM_ALPHAS;
        case kClearChanges: return ID_CANCEL_CHANGES;
        case kInspect: return ID_VIEW_TRUNK_INSPECT;
        case kMaintenance: return ID_MAINT_MODE;
        case kNormal: return ID_NORMAL_MODE;
        default: return 0;
    }
}

}  // namespace trunk_menu

namespace {

using namespace trunk_menu;

CPopupMenu FullMenu() {
    CPopupMenu menu(kMenuId);
    menu.AppendItem(kTrunkCaption, u"Selected Trunk:");
    menu.AppendSeparator();
    menu.AppendItem(kMaintenance, u"Set &maintenance mode...");
    menu.AppendItem(kNormal, u"Clear maintenance mo&de...");
    menu.AppendSeparator();
    menu.AppendItem(kInspect, u"&Inspect trunk");
    menu.AppendSeparator();
    menu.AppendItem(kIcomCaption, u"Selected intercom:");
    menu.AppendSeparator();
    menu.AppendItem(kClearAllocations, u"&Clear trunk allocations");
    menu.AppendSeparator();
    menu.AppendItem(kViewSummary, u"View trunk &summary");
    menu.AppendItem(kViewDefinitions, u"View trunk &definitions");
    menu.AppendItem(kViewSetup, u"View intercom s&etup");
    menu.AppendItem(kViewStatus, u"View intercom s&tatus");
    menu.AppendItem(kViewAlphas, u"View &alphas");
    menu.AppendSeparator();
    menu.AppendItem(kSetFixed, u"Set &fixed flag");
    menu.AppendItem(kClearFixed, u"&Clear fixed flag");
    menu.AppendSeparator();
    menu.AppendItem(kSetCascade, u"Set cascade fla&g");
    menu.AppendItem(kClearCascade, u"&Clear cascade flag");
    menu.AppendSeparator();
    menu.AppendItem(kClearChanges, u"&Clear changes");
    menu.AppendSeparator();
    menu.AppendItem(kChooseAssignment, u"Choose &new assignment...");
    return menu;
}

void Grey(CPopupMenu& menu, std::initializer_list<UINT> ids) {
    for (UINT id : ids)
        menu.Enable(id, false);
}

void Remove(CPopupMenu& menu, std::initializer_list<UINT> ids) {
    for (UINT id : ids)
        menu.Remove(id);
}

void SetCaption(CPopupMenu& menu, UINT id, UINT format, const CString& text) {
    menu.Modify(id, SubstituteArgs(LoadResString(format).str(), {text}), false);
}

void ApplyFlagItems(CPopupMenu& menu, const CTrunkMenuState& s) {
    switch (s.field) {
        case 8:
            if (s.single && !s.fixed) {
                Grey(menu, {kClearFixed});
                if (!s.fixedAssignValid) Grey(menu, {kSetFixed});
            } else {
                Grey(menu, {kSetFixed});
            }
            Remove(menu, {kSetCascade, kClearCascade});
            break;
        case 7:
            Remove(menu, {kSetFixed, kClearFixed});
            if (s.single) Grey(menu, {s.cascadable ? kSetCascade : kClearCascade});
            break;
        default: Remove(menu, {kSetFixed, kClearFixed, kSetCascade, kClearCascade}); break;
    }
}

void ApplyTrunkItems(CPopupMenu& menu, const CTrunkMenuState& s) {
    if (s.trunk < 0) {
        Remove(menu, {kTrunkCaption, kMaintenance, kNormal, kInspect});
        return;
    }
    SetCaption(menu, kTrunkCaption, kIdsTrunkCaption, CString::Formatted(u"#%d", s.trunk + 1));
    if (!s.maintenanceAllowed) {
        Remove(menu, {kMaintenance, kNormal});
    } else if (s.online) {
        Grey(menu, {s.inMaintenance ? kMaintenance : kNormal});
    } else {
        Grey(menu, {kMaintenance, kNormal, kInspect});
    }
}

}  // namespace

CPopupMenu BuildTrunkDefsMenu(const CTrunkMenuState& s,
                              const std::function<bool(UINT command)>& available) {
    CPopupMenu menu = FullMenu();
    if (!s.hasAssign) menu.Remove(kChooseAssignment);
    if (!s.selectionHasChanges || !s.online) menu.Remove(kClearChanges);
    if (s.icom >= 0) {
        const CString name =
            s.icomName.IsEmpty() ? CString::Formatted(u"#%d", s.icom + 1) : s.icomName;
        SetCaption(menu, kIcomCaption, kIdsIcomCaptionOne, name);
        if (!s.online) Grey(menu, {kClearAllocations, kViewStatus, kViewSummary});
    } else {
        Remove(menu, {kIcomCaption, kClearAllocations, kViewSummary, kViewDefinitions, kViewSetup,
                      kViewStatus, kViewAlphas});
    }
    ApplyFlagItems(menu, s);
    ApplyTrunkItems(menu, s);
    std::vector<UINT> passedOn;
    for (const CPopupMenu::Item& item : menu.GetItems()) {
        if (CommandSentFor(item.id)) passedOn.push_back(item.id);
    }
    for (UINT id : passedOn) {
        if (!(available && available(CommandSentFor(id)))) menu.Enable(id, false);
    }
    menu.TidySeparators();
    return menu;
}
