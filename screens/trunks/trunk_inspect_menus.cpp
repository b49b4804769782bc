#include "screens/trunks/trunk_inspect_menus.h"

#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "screens/intercoms/icom_menu.h"

namespace inspect_menu {

CPopupMenu ForIntercom(const CKelvardinDoc& doc, int icom, bool online) {
    CIcomSelection selection;
    selection.index = icom;
    selection.icoms = {icom};
    CPopupMenu menu = icom_menu::Load();
    menu.Modify(ID_ICOM_CAPTION, icom_menu::Caption(doc, selection), false);
    for (UINT id : {icom_menu::kConnectionMenu, icom_menu::kBaudMenu, icom_menu::kComMenu,
                    ID_ICOM_BROWSE_ADDRESS, ID_CLEAR_ICOM_ERRORS, ID_CANCEL_CHANGES})
        menu.Remove(id);
    if (!online) {
        for (UINT id : {ID_ICOM_VIEW_SUMMARY, ID_ICOM_VIEW_STATUS, ID_CLEAR_ALLOCATIONS})
            menu.Enable(id, false);
    }
    menu.TidySeparators();
    return menu;
}

CPopupMenu ForTrunk(const CTrunkMenuState& state) {
    CString caption = LoadResString(kIdsTrunkCaption);
    caption.Replace(u"%1", CString::Formatted(u"#%d", state.trunk + 1).str());
    CPopupMenu menu(kTrunkResourceId);
    menu.AppendItem(ID_TRUNK_CAPTION, caption);
    menu.Enable(ID_TRUNK_CAPTION, false);
    menu.AppendSeparator();
    menu.AppendItem(ID_MAINT_MODE, u"Set &maintenance mode");
    menu.AppendItem(ID_NORMAL_MODE, u"&Clear maintenance mode");
    menu.AppendSeparator();
    menu.AppendItem(ID_VIEW_TRUNK_INSPECT, u"&Inspect trunk");

    if (state.inspected) menu.Remove(ID_VIEW_TRUNK_INSPECT);
    if (!state.maintenance) {
        menu.Remove(ID_MAINT_MODE);
        menu.Remove(ID_NORMAL_MODE);
    } else if (!state.online) {
        for (UINT id : {ID_VIEW_TRUNK_INSPECT, ID_MAINT_MODE, ID_NORMAL_MODE})
            menu.Enable(id, false);
    } else {
        menu.Enable(state.inMaintenance ? ID_MAINT_MODE : ID_NORMAL_MODE, false);
    }
    menu.TidySeparators();
    return menu;
}

}  // namespace inspect_menu
