#include "screens/trunk_inspect_menus.h"

#include <QAction>
#include <QMenu>

#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "res/command_ids.h"
#include "res/string_table.h"

namespace inspect_menu {
namespace {

constexpr UINT kSelectedTrunk = 2383;

CEntry Separator() {
    return {kSeparator, CString()};
}

}  // namespace

std::vector<CEntry> IcomMenu(const CString& caption, bool online) {
    return {
        {kIcomCaption, caption, false},
        Separator(),
        {ID_CLEAR_ALLOCATIONS, u"&Clear trunk allocations", online},
        Separator(),
        {kViewSummary, u"View trunk &summary", online},
        {kViewDefinitions, u"View trunk &definitions"},
        {kViewSetup, u"View intercom s&etup"},
        {kViewStatus, u"View intercom s&tatus", online},
        {kViewAlphas, u"View &alphas"},
    };
}

std::vector<CEntry> TrunkMenu(const CTrunkMenuState& state) {
    const CString number = CString::Formatted(u"#%d", state.trunk + 1);
    std::vector<CEntry> entries = {
        {kTrunkCaption, SubstituteArgs(LoadResString(kSelectedTrunk).str(), {number}), false}};
    if (state.maintenance) {
        entries.push_back(Separator());
        entries.push_back(
            {ID_MAINT_MODE, u"Set &maintenance mode", state.online && !state.inMaintenance});
        entries.push_back(
            {ID_NORMAL_MODE, u"&Clear maintenance mode", state.online && state.inMaintenance});
    }
    if (!state.inspected) {
        entries.push_back(Separator());
        entries.push_back(
            {ID_VIEW_TRUNK_INSPECT, u"&Inspect trunk", !state.maintenance || state.online});
    }
    return entries;
}

UINT Track(const std::vector<CEntry>& entries, CPoint screenPoint) {
    if (entries.size() < 2) return 0;
    QMenu menu;
    for (const CEntry& entry : entries) {
        if (entry.id == kSeparator) {
            menu.addSeparator();
            continue;
        }
        QString text = ToQString(entry.text);
        // A caption names an intercom or trunk as it is, never with a mnemonic.
        if (entry.id == kIcomCaption || entry.id == kTrunkCaption)
            text.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* action = menu.addAction(text);
        action->setData(entry.id);
        action->setEnabled(entry.enabled);
    }
    return static_cast<UINT>(ExecPopupMenu(menu, screenPoint));
}

}  // namespace inspect_menu
