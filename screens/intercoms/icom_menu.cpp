#include "screens/intercoms/icom_menu.h"

#include <algorithm>

#include "model/app_state.h"
#include "model/bit_array.h"
#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace {

CString WithArgument(UINT id, const CString& argument) {
    CString text = LoadResString(id);
    text.Replace(u"%1", argument.str());
    return text;
}

void CheckCurrentSettings(CPopupMenu& menu, const CKelvardinDoc& doc, int icom) {
    switch (doc.GetIcomBaudRate(icom)) {
        case 1: menu.Check(ID_ICOM_BAUD_38400, true); break;
        case 2: menu.Check(ID_ICOM_BAUD_9600, true); break;
        default: break;
    }
    switch (doc.GetIcomConnType(icom)) {
        case 0: menu.Check(ID_ICOM_SERIAL, true); break;
        case 1: menu.Check(ID_ICOM_NETWORK, true); break;
        default: break;
    }
}

UINT ComPortItem(int port) {
    return ID_ICOM_COM_FIRST + static_cast<UINT>(port);
}

// The controller's ports that no other intercom holds, the intercom's own checked. Every
// configured intercom counts, as the port check of an edit does.
void OfferFreeComPorts(CPopupMenu& menu, const CKelvardinDoc& doc, int icom) {
    const CCVConfig& config = GetApp().GetConfig();
    for (int port = 0; port < icom_menu::kComPorts; ++port) {
        if (port < config.m_nFirstComPort || port > config.m_nLastComPort)
            menu.Remove(ComPortItem(port));
    }
    const int own = doc.GetIcomComPort(icom);
    if (own < 0) {
        menu.Check(ID_ICOM_COM_NONE, true);
    } else if (own < icom_menu::kComPorts) {
        menu.Check(ComPortItem(own), true);
    }
    const int count = config.GetObjectCount(CObjSpec::kIntercom, FALSE);
    for (int other = 0; other < count; ++other) {
        const int port = doc.GetIcomComPort(other);
        if (other != icom && port >= 0 && port < icom_menu::kComPorts && port != own)
            menu.Remove(ComPortItem(port));
    }
}

}  // namespace

CIcomSelection CIcomSelection::Of(std::vector<int> icoms, int visible) {
    std::sort(icoms.begin(), icoms.end());
    icoms.erase(std::unique(icoms.begin(), icoms.end()), icoms.end());
    CIcomSelection selection;
    if (icoms.size() == 1) {
        selection.index = icoms.front();
    } else if (static_cast<int>(icoms.size()) == visible) {
        selection.index = kAll;
    }
    selection.icoms = std::move(icoms);
    return selection;
}

namespace icom_menu {

CPopupMenu Load() {
    CPopupMenu menu(kResourceId);
    menu.AppendItem(ID_ICOM_CAPTION, u"Selected Intercom:");
    menu.AppendSeparator();
    CPopupMenu connection;
    connection.AppendItem(ID_ICOM_SERIAL, u"&Serial");
    connection.AppendItem(ID_ICOM_NETWORK, u"&Network");
    menu.AppendPopup(kConnectionMenu, u"&Connection", connection);
    CPopupMenu baud;
    baud.AppendItem(ID_ICOM_BAUD_38400, u"38.4K");
    baud.AppendItem(ID_ICOM_BAUD_9600, u"9600");
    menu.AppendPopup(kBaudMenu, u"&Baud Rate", baud);
    CPopupMenu ports;
    ports.AppendItem(ID_ICOM_COM_NONE, u"<none>");
    for (int port = 0; port < kComPorts; ++port)
        ports.AppendItem(ComPortItem(port), CString::Formatted(u"COM%d", port + 1));
    menu.AppendPopup(kComMenu, u"C&OM Port", ports);
    menu.AppendItem(ID_ICOM_BROWSE_ADDRESS, u"Browse for intercom &IP address...");
    menu.AppendSeparator();
    menu.AppendItem(ID_CLEAR_ALLOCATIONS, u"&Clear trunk allocations");
    menu.AppendItem(ID_CLEAR_ICOM_ERRORS, u"&Clear communication errors");
    menu.AppendItem(ID_CANCEL_CHANGES, u"&Clear changes");
    menu.AppendSeparator();
    menu.AppendItem(ID_ICOM_VIEW_SUMMARY, u"View trunk &summary");
    menu.AppendItem(ID_ICOM_VIEW_DEFS, u"View trunk &definitions");
    menu.AppendItem(ID_ICOM_VIEW_SETUP, u"View intercom s&etup");
    menu.AppendItem(ID_ICOM_VIEW_STATUS, u"View intercom s&tatus");
    menu.AppendItem(ID_ICOM_VIEW_ALPHAS, u"View &alphas");
    return menu;
}

CString Caption(const CKelvardinDoc& doc, const CIcomSelection& selection) {
    if (selection.index == CIcomSelection::kAll) return LoadResString(kIdsIcomCaptionAll);
    if (selection.IsSingle()) {
        CString name =
            doc.GetIcomText(selection.index, GetApp().GetConfig().m_nAlphaSize, TRUE, FALSE);
        if (name.IsEmpty()) name.Format(u"#%d", selection.index + 1);
        return WithArgument(kIdsIcomCaptionOne, name);
    }
    CTextList numbers;
    numbers.SetSize(static_cast<UINT>(GetApp().GetVisibleIcomCount()));
    for (int icom : selection.icoms)
        numbers.SetNumber(static_cast<UINT>(icom), TRUE);
    return WithArgument(kIdsIcomCaptionSeveral, numbers.GetText(TRUE));
}

CPopupMenu ForSetup(const CKelvardinDoc& doc, const CIcomSelection& selection, bool online,
                    bool selectionHasChanges) {
    CPopupMenu menu = Load();
    menu.Modify(ID_ICOM_CAPTION, Caption(doc, selection), false);
    menu.Remove(ID_CLEAR_ALLOCATIONS);
    menu.Remove(ID_CLEAR_ICOM_ERRORS);
    if (!online) {
        menu.Enable(ID_ICOM_VIEW_SUMMARY, false);
        menu.Enable(ID_ICOM_VIEW_STATUS, false);
    }
    if (!online || !selectionHasChanges) menu.Remove(ID_CANCEL_CHANGES);
    if (!GetApp().GetConfig().HasCapability(CCVConfig::kEthernetToMC)) {
        menu.Remove(kConnectionMenu);
        menu.Remove(ID_ICOM_BROWSE_ADDRESS);
    }
    menu.Remove(ID_ICOM_VIEW_SETUP);
    if (selection.IsSingle()) {
        OfferFreeComPorts(menu, doc, selection.index);
        CheckCurrentSettings(menu, doc, selection.index);
    } else {
        for (int port = 0; port < kComPorts; ++port)
            menu.Remove(ComPortItem(port));
        // A found device has the addresses of one intercom.
        menu.Enable(ID_ICOM_BROWSE_ADDRESS, false);
    }
    menu.TidySeparators();
    return menu;
}

CPopupMenu ForStatus(const CKelvardinDoc& doc, const CIcomSelection& selection, bool online) {
    CPopupMenu menu = Load();
    menu.Modify(ID_ICOM_CAPTION, Caption(doc, selection), false);
    for (UINT id : {kConnectionMenu, kBaudMenu, kComMenu, ID_ICOM_BROWSE_ADDRESS,
                    ID_ICOM_VIEW_STATUS, ID_CLEAR_ALLOCATIONS, ID_CANCEL_CHANGES})
        menu.Remove(id);
    if (!online) {
        menu.Enable(ID_ICOM_VIEW_SUMMARY, false);
        menu.Enable(ID_CLEAR_ICOM_ERRORS, false);
    }
    menu.TidySeparators();
    return menu;
}

}  // namespace icom_menu
