#pragma once

#include <vector>

#include "platform/base/cstring.h"
#include "platform/ui/popup_menu.h"

class CKelvardinDoc;

// The intercoms a context menu acts on, in number order.
struct CIcomSelection {
    static constexpr int kAll = -1;
    static constexpr int kSeveral = -2;

    // From intercoms chosen among the visible ones: one of them, all of them or several.
    static CIcomSelection Of(std::vector<int> icoms, int visible);

    bool IsSingle() const { return index >= 0; }

    // The one intercom, kAll or kSeveral.
    int index = kSeveral;
    std::vector<int> icoms;
};

// The intercom context menu (resource 133): a caption, the connection, baud-rate and COM-port
// submenus and the address search, the three clearing commands and the five views of an
// intercom. The submenus carry ids of their own so that they can be removed whole.
namespace icom_menu {

constexpr UINT kResourceId = 133;
constexpr UINT kConnectionMenu = 1;
constexpr UINT kBaudMenu = 2;
constexpr UINT kComMenu = 3;
constexpr int kComPorts = 31;

CPopupMenu Load();
// "Selected intercom: ..." naming the selection.
CString Caption(const CKelvardinDoc& doc, const CIcomSelection& selection);
// The menu of the intercom setup screen: the settings of one intercom checked, the COM ports
// of the controller that no other intercom holds, "Clear changes" only ONLINE with changes
// under the selection, the connection and address search only with Ethernet to the intercoms.
CPopupMenu ForSetup(const CKelvardinDoc& doc, const CIcomSelection& selection, bool online,
                    bool selectionHasChanges);
// The menu of the intercom status screen: the views and the clearing of the communication
// errors.
CPopupMenu ForStatus(const CKelvardinDoc& doc, const CIcomSelection& selection, bool online);

}  // namespace icom_menu
