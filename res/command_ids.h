#pragma once

#include "platform/base/win_types.h"

// Command ids of the menus, toolbar and accelerators, as WM_COMMAND carries them.

// File.
constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_CLOSE = 57602;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;
constexpr UINT ID_FILE_PRINT_SETUP = 57606;
constexpr UINT ID_FILE_PRINT = 57607;
constexpr UINT ID_FILE_PRINT_DIRECT = 57608;
constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
constexpr UINT ID_FILE_MERGE = 32772;
constexpr UINT ID_FILE_PARTIAL_SAVE = 32773;
constexpr UINT ID_FILE_LOAD = 32775;  // load a file and mark its differences
constexpr UINT ID_FILE_SEND = 32776;  // load a file and send its differences
constexpr UINT ID_APP_EXIT = 57665;

// Edit.
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_SELECT_ALL = 57642;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_EDIT_REDO = 57644;
// Enter on a screen's cell (screens that edit a cell in a dialog), and Shift+Enter, the
// context menu of the focus cell.
constexpr UINT ID_EDIT_CELL = 32926;
constexpr UINT ID_CELL_CONTEXT_MENU = 32927;

// The controller.
constexpr UINT ID_CONNECT = 32774;
constexpr UINT ID_SEND_CHANGES = 32777;
constexpr UINT ID_ABORT_CHANGES = 32778;
constexpr UINT ID_REFRESH = 32779;
constexpr UINT ID_CANCEL_CHANGES = 32788;
constexpr UINT ID_MAINT_MODE = 32793;
constexpr UINT ID_NORMAL_MODE = 32794;
constexpr UINT ID_CV_VERSION = 32804;
constexpr UINT ID_WRITE_MEMORY = 32805;
constexpr UINT ID_LOGGING_DISABLE = 32806;
constexpr UINT ID_LOGGING_ENABLE = 32807;
constexpr UINT ID_LOGGING_TOGGLE = 32808;
constexpr UINT ID_CLEAR_CV_ERRORS = 32820;
constexpr UINT ID_CLEAR_STANDBY_ERRORS = 32821;
constexpr UINT ID_CLEAR_ICOM_ERRORS = 32822;
constexpr UINT ID_CLEAR_ALLOCATIONS = 32823;
// The memory screen's context menu: go to the selected address, the address history (its
// entries from ID_MEMORY_HISTORY_FIRST on) and the pending writes.
constexpr UINT ID_MEMORY_GOTO = 32856;
constexpr UINT ID_MEMORY_HISTORY = 32858;
constexpr UINT ID_MEMORY_HISTORY_FIRST = 32860;
constexpr UINT ID_MEMORY_HISTORY_LAST = 32870;
constexpr UINT ID_MEMORY_WRITE_CHANGES = 32872;
// The console's history menu.
constexpr UINT ID_CLP_WRAP_LINES = 32913;
constexpr UINT ID_CLP_AUTO_NXT = 32914;
constexpr UINT ID_CLP_SAVE_HISTORY = 32915;
constexpr UINT ID_CLP_CLEAR_HISTORY = 32916;
constexpr UINT ID_REFRESH_ALPHAS = 32932;
constexpr UINT ID_SNMP_CONFIG = 32934;

// Navigation and screens.
constexpr UINT ID_VIEW_FORWARD = 32780;
constexpr UINT ID_VIEW_BACK = 32781;
constexpr UINT ID_VIEW_TRUNK_DEFS = 32789;
constexpr UINT ID_VIEW_TRUNK_SUMMARY = 32790;
constexpr UINT ID_VIEW_TRUNK_OPTIONS = 32791;
constexpr UINT ID_VIEW_TRUNK_INSPECT = 32792;
constexpr UINT ID_VIEW_ICOM_SETUP = 32795;
constexpr UINT ID_VIEW_ICOM_STATUS = 32796;
constexpr UINT ID_VIEW_ICOM_ALPHAS = 32797;
constexpr UINT ID_VIEW_ICOM_GROUPS = 32798;
constexpr UINT ID_VIEW_CV_STATUS = 32799;
constexpr UINT ID_VIEW_CLP = 32801;
constexpr UINT ID_VIEW_MEMORY = 32802;      // examine controller memory
constexpr UINT ID_VIEW_MEMORY_ALT = 32803;  // the memory screen's second command
constexpr UINT ID_VIEW_LOG_FILE = 32809;
constexpr UINT ID_NAV_LARGE_ICONS = 32810;  // the navigation lists' icon size
constexpr UINT ID_NAV_SMALL_ICONS = 32811;
// The selector panes' next and previous entry (a trunk, a day): Ctrl+PgDn and Ctrl+PgUp.
constexpr UINT ID_NEXT_ENTRY = 32923;
constexpr UINT ID_PREV_ENTRY = 32924;
constexpr UINT ID_OPEN_DROP_DOWN = 32925;  // the selector pane's drop-down (Ctrl+Enter)
constexpr UINT ID_VIEW_NAVBAR = 32911;     // shows or hides the navigation pane
constexpr UINT ID_VIEW_TOOLBAR = 59392;
constexpr UINT ID_VIEW_STATUS_BAR = 59393;

// The main window's status bar panes.
constexpr UINT ID_INDICATOR_LOG = 59264;
constexpr UINT ID_INDICATOR_MODE = 59265;
constexpr UINT ID_INDICATOR_CV = 59266;
constexpr UINT ID_INDICATOR_LAMPS = 59267;

// The intercom context menu: the intercoms chosen, their settings and the other screens that
// show them.
constexpr UINT ID_ICOM_VIEW_SUMMARY = 32783;
constexpr UINT ID_ICOM_VIEW_DEFS = 32784;
constexpr UINT ID_ICOM_VIEW_SETUP = 32785;
constexpr UINT ID_ICOM_VIEW_STATUS = 32786;
constexpr UINT ID_ICOM_VIEW_ALPHAS = 32787;
constexpr UINT ID_ICOM_CAPTION = 32873;
constexpr UINT ID_ICOM_BAUD_38400 = 32876;
constexpr UINT ID_ICOM_BAUD_9600 = 32877;
constexpr UINT ID_ICOM_COM_NONE = 32879;
constexpr UINT ID_ICOM_COM_FIRST = 32880;  // COM1; COM31 is ID_ICOM_COM_FIRST + 30
constexpr UINT ID_ICOM_SERIAL = 32938;
constexpr UINT ID_ICOM_NETWORK = 32939;
constexpr UINT ID_ICOM_BROWSE_ADDRESS = 32941;
// The trunk context menu's caption, naming the trunk.
constexpr UINT ID_TRUNK_CAPTION = 32874;

// Tools and help.
constexpr UINT ID_CONFIGURATION = 32782;
constexpr UINT ID_ERROR_INFO = 32912;  // shows the last validation error
constexpr UINT ID_RELEASE_NOTES = 32928;
constexpr UINT ID_COMM_STATUS = 32930;
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_HELP = 57670;
