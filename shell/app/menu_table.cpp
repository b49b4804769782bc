#include "shell/app/menu_table.h"

#include "res/command_ids.h"

namespace {

constexpr UINT kSeparator = 0;

CMenuItemDesc Separator(MenuNeed need = MenuNeed::kAlways) {
    return {kSeparator, u"", "", need, false};
}

}  // namespace

bool CMenuRules::Allows(MenuNeed need) const {
    switch (need) {
        case MenuNeed::kMemoryPeek: return memoryPeek;
        case MenuNeed::kMemoryPoke: return memoryPeek && memoryPoke;
        case MenuNeed::kCommandLine: return commandLine;
        case MenuNeed::kMaintenance: return maintenance;
        default: return true;
    }
}

const std::vector<CMenuDesc>& MainMenuTable() {
    using N = MenuNeed;
    static const std::vector<CMenuDesc> table = {
        {u"&File",
         {{ID_FILE_NEW, u"&New", "Ctrl+N"},
          {ID_FILE_OPEN, u"&Open...", "Ctrl+O"},
          {ID_FILE_MERGE, u"&Merge..."},
          {ID_FILE_LOAD, u"&Load File..."},
          Separator(),
          {ID_FILE_SAVE, u"&Save", "Ctrl+S"},
          {ID_FILE_SAVE_AS, u"Save &As..."},
          {ID_FILE_PARTIAL_SAVE, u"Pa&rtial Save..."},
          Separator(),
          {ID_FILE_SEND, u"Sen&d File..."},
          Separator(),
          {ID_FILE_PRINT, u"&Print...", "Ctrl+P"},
          {ID_FILE_PRINT_PREVIEW, u"Print Pre&view"},
          {ID_FILE_PRINT_SETUP, u"Print Set&up..."},
          Separator(),
          {ID_APP_EXIT, u"E&xit"}}},
        {u"&Edit",
         {{ID_EDIT_UNDO, u"&Undo", "Ctrl+Z"},
          {ID_EDIT_REDO, u"&Redo", "Ctrl+Y"},
          Separator(),
          {ID_EDIT_CUT, u"Cu&t", "Ctrl+X"},
          {ID_EDIT_COPY, u"&Copy", "Ctrl+C"},
          {ID_EDIT_PASTE, u"&Paste", "Ctrl+V"},
          Separator(),
          {ID_EDIT_SELECT_ALL, u"Select &All", "Ctrl+A"}}},
        {u"&View",
         {{ID_VIEW_TOOLBAR, u"&Toolbar", "", N::kAlways, true},
          {ID_VIEW_STATUS_BAR, u"&Status Bar", "", N::kAlways, true},
          {ID_VIEW_NAVBAR, u"&Navigation Bar", "", N::kAlways, true},
          Separator(),
          {ID_VIEW_BACK, u"&Back", "Ctrl+Left"},
          {ID_VIEW_FORWARD, u"&Forward", "Ctrl+Right"},
          Separator(),
          {ID_REFRESH, u"&Refresh"}}},
        {u"&Corvane",
         {{ID_CONNECT, u"&Connect"},
          Separator(),
          {ID_SEND_CHANGES, u"&Send Changes..."},
          {ID_ABORT_CHANGES, u"&Abort Changes"},
          {ID_CANCEL_CHANGES, u"Ca&ncel Changes..."},
          Separator(),
          {ID_REFRESH_ALPHAS, u"Refresh A&lphas"},
          {ID_SNMP_CONFIG, u"SN&MP Configuration..."},
          {ID_CV_VERSION, u"Corvane &Version..."}}},
        {u"&Trunk",
         {{ID_VIEW_TRUNK_DEFS, u"&Definitions", "F2"},
          {ID_VIEW_TRUNK_SUMMARY, u"&Summary", "F3"},
          {ID_VIEW_TRUNK_INSPECT, u"&Inspect", "F4"},
          {ID_VIEW_TRUNK_OPTIONS, u"Allocation &Options", "F5"},
          Separator(),
          {ID_CLEAR_ALLOCATIONS, u"&Clear Allocations..."},
          Separator(N::kMaintenance),
          {ID_MAINT_MODE, u"Set &Maintenance Mode...", "", N::kMaintenance},
          {ID_NORMAL_MODE, u"Clear Maintenance Mod&e...", "", N::kMaintenance}}},
        {u"&Intercom",
         {{ID_VIEW_ICOM_SETUP, u"&Setup", "F6"},
          {ID_VIEW_ICOM_STATUS, u"S&tatus", "F7"},
          {ID_VIEW_ICOM_ALPHAS, u"&Alphas", "F8"},
          {ID_VIEW_ICOM_GROUPS, u"&Groups", "F9"},
          Separator(),
          {ID_CLEAR_ICOM_ERRORS, u"&Clear Communication Errors"}}},
        {u"&Diagnostics",
         {{ID_VIEW_CV_STATUS, u"Corvane &Status", "F10"},
          {ID_VIEW_CLP, u"Command &Line Protocol", "F11", N::kCommandLine},
          {ID_VIEW_MEMORY, u"&Examine Memory", "Ctrl+Shift+M", N::kMemoryPeek},
          Separator(N::kMemoryPoke),
          {ID_WRITE_MEMORY, u"&Write Memory Changes", "Ctrl+Shift+W", N::kMemoryPoke},
          Separator(),
          {ID_VIEW_LOG_FILE, u"View Log &File", "F12"},
          {ID_LOGGING_TOGGLE, u"Log Trunk &Requests", "", N::kAlways, true},
          Separator(),
          {ID_CLEAR_CV_ERRORS, u"Clear C&orvane Errors"},
          {ID_CLEAR_STANDBY_ERRORS, u"Clear Stan&dby Errors"},
          {ID_COMM_STATUS, u"&Communication Status...", "Ctrl+Shift+C"}}},
        {u"T&ools", {{ID_CONFIGURATION, u"&Configuration..."}}},
        {u"&Help",
         {{ID_ERROR_INFO, u"&Error Information..."},
          {ID_RELEASE_NOTES, u"&Release Notes"},
          Separator(),
          {ID_APP_ABOUT, u"&About Kelvardin..."}}},
    };
    return table;
}

std::vector<CMenuDesc> VisibleMenus(const CMenuRules& rules) {
    std::vector<CMenuDesc> menus;
    for (const CMenuDesc& menu : MainMenuTable()) {
        CMenuDesc shown{menu.title, {}};
        for (const CMenuItemDesc& item : menu.items) {
            if (!rules.Allows(item.need)) continue;
            const bool separator = item.id == kSeparator;
            if (separator && (shown.items.empty() || shown.items.back().id == kSeparator)) continue;
            shown.items.push_back(item);
        }
        if (!shown.items.empty() && shown.items.back().id == kSeparator) shown.items.pop_back();
        menus.push_back(std::move(shown));
    }
    return menus;
}

std::u16string CommandTitle(UINT id) {
    for (const CMenuDesc& menu : MainMenuTable()) {
        for (const CMenuItemDesc& item : menu.items) {
            if (item.id != id || id == kSeparator) continue;
            std::u16string title;
            for (const char16_t* c = item.text; *c; ++c)
                if (*c != u'&') title += *c;
            if (title.ends_with(u"...")) title.resize(title.size() - 3);
            return title;
        }
    }
    return {};
}

const std::vector<CAcceleratorDesc>& ExtraAccelerators() {
    static const std::vector<CAcceleratorDesc> keys = {
        {ID_VIEW_MEMORY_ALT, "Ctrl+Shift+Alt+M"},
        {ID_HELP, "F1"},
        {ID_CELL_CONTEXT_MENU, "Shift+Return"},
        {ID_OPEN_DROP_DOWN, "Ctrl+Return"},
        // The selector panes' previous and next entry.
        {ID_PREV_ENTRY, "Ctrl+PgUp"},
        {ID_NEXT_ENTRY, "Ctrl+PgDown"},
    };
    return keys;
}
