#include "screens/trunk_defs_menu.h"

#include "res/command_ids.h"
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

constexpr UINT kIcomCaptionText = 2376;   // "Selected intercom: %1"
constexpr UINT kTrunkCaptionText = 2383;  // "Selected Trunk: %1"

CMenuModel FullMenu() {
    CMenuModel menu;
    menu.Add(kTrunkCaption, u"Selected Trunk:");
    menu.AddSeparator();
    menu.Add(kMaintenance, u"Set &maintenance mode...");
    menu.Add(kNormal, u"Clear maintenance mo&de...");
    menu.AddSeparator();
    menu.Add(kInspect, u"&Inspect trunk");
    menu.AddSeparator();
    menu.Add(kIcomCaption, u"Selected intercom:");
    menu.AddSeparator();
    menu.Add(kClearAllocations, u"&Clear trunk allocations");
    menu.AddSeparator();
    menu.Add(kViewSummary, u"View trunk &summary");
    menu.Add(kViewDefinitions, u"View trunk &definitions");
    menu.Add(kViewSetup, u"View intercom s&etup");
    menu.Add(kViewStatus, u"View intercom s&tatus");
    menu.Add(kViewAlphas, u"View &alphas");
    menu.AddSeparator();
    menu.Add(kSetFixed, u"Set &fixed flag");
    menu.Add(kClearFixed, u"&Clear fixed flag");
    menu.AddSeparator();
    menu.Add(kSetCascade, u"Set cascade fla&g");
    menu.Add(kClearCascade, u"&Clear cascade flag");
    menu.AddSeparator();
    menu.Add(kClearChanges, u"&Clear changes");
    menu.AddSeparator();
    menu.Add(kChooseAssignment, u"Choose &new assignment...");
    return menu;
}

void Grey(CMenuModel& menu, std::initializer_list<UINT> ids) {
    for (UINT id : ids)
        menu.Enable(id, false);
}

void Remove(CMenuModel& menu, std::initializer_list<UINT> ids) {
    for (UINT id : ids)
        menu.Remove(id);
}

void SetCaption(CMenuModel& menu, UINT id, UINT format, const CString& text) {
    menu.SetText(id, SubstituteArgs(LoadResString(format).str(), {text}));
    menu.Enable(id, false);
}

void ApplyFlagItems(CMenuModel& menu, const CTrunkMenuState& s) {
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

void ApplyTrunkItems(CMenuModel& menu, const CTrunkMenuState& s) {
    if (s.trunk < 0) {
        Remove(menu, {kTrunkCaption, kMaintenance, kNormal, kInspect});
        return;
    }
    SetCaption(menu, kTrunkCaption, kTrunkCaptionText, CString::Formatted(u"#%d", s.trunk + 1));
    if (!s.maintenanceAllowed) {
        Remove(menu, {kMaintenance, kNormal});
    } else if (s.online) {
        Grey(menu, {s.inMaintenance ? kMaintenance : kNormal});
    } else {
        Grey(menu, {kMaintenance, kNormal, kInspect});
    }
}

}  // namespace

CMenuModel BuildTrunkDefsMenu(const CTrunkMenuState& s,
                              const std::function<bool(UINT command)>& available) {
    CMenuModel menu = FullMenu();
    if (!s.hasAssign) menu.Remove(kChooseAssignment);
    if (!s.selectionHasChanges || !s.online) menu.Remove(kClearChanges);
    if (s.icom >= 0) {
        const CString name =
            s.icomName.IsEmpty() ? CString::Formatted(u"#%d", s.icom + 1) : s.icomName;
        SetCaption(menu, kIcomCaption, kIcomCaptionText, name);
        if (!s.online) Grey(menu, {kClearAllocations, kViewStatus, kViewSummary});
    } else {
        Remove(menu, {kIcomCaption, kClearAllocations, kViewSummary, kViewDefinitions, kViewSetup,
                      kViewStatus, kViewAlphas});
    }
    ApplyFlagItems(menu, s);
    ApplyTrunkItems(menu, s);
    for (UINT id : menu.Commands()) {
        const UINT sent = CommandSentFor(id);
        if (sent && !(available && available(sent))) menu.Enable(id, false);
    }
    return menu;
}
