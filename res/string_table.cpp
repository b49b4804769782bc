#include "res/string_table.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entry {
    unsigned id;
    const char16_t* text;
};

// Kept in ascending id order; a test checks it.
constexpr Entry kStrings[] = {
    {2133, u"Trunks"},
    {2134, u"Intercoms"},
    {2136, u"Alphas"},
    {2138, u"File Signatures"},
    {2140, u"Build Date:  "},
    {2141, u"However, no error seems to have been found!"},
    {2142, u"An unspecified error was encountered."},
    {2143, u"The file was not found."},
    {2144, u"The path is invalid."},
    {2145, u"The file could not be accessed."},
    {2146, u"An invalid file handle was encountered."},
    {2147, u"Too many files are already open."},
    {2148, u"There was a sharing violation."},
    {2149, u"The disk is full."},
    {2150, u"An unknown error was encountered."},
    {2151, u"Could not write to file:\n%1"},
    {2152, u"Could not read from file:\n%1"},
    {2153, u"Could not open file:\n%1"},
    {2154, u"Could not write to log file:\n%1"},
    {2155, u"Could not create backup file:\n%1"},
    {2156, u"Do you want to save anyway?"},
    {2157, u"Can't create backup file for file with .BAK extension."},
    {2158, u"Untitled"},
    {2159, u"Load"},
    {2160, u"Save"},
    {2161, u"Save As"},
    {2162, u"Partial Save"},
    {2163, u"Save (Online setup)"},
    {2164, u"Partial Save (Online setup)"},
    {2165, u"Merge"},
    {2166, u"Open"},
    {2167,
     u"Are you sure you want to save this setup as:\n%1?\n\nTo save using a different file name, "
     u"choose No."},
    {2168, u"The file is not a setup file:\n%1"},
    {2169, u"The setup file is incomplete or damaged:\n%1\nSome of its records were not read."},
    {2170,
     u"You are about to exit ONLINE mode and open a file.\nThere are changes that have not been "
     u"sent to the Corvane;\nthey will be lost if you continue."},
    {2171,
     u"There are changes that have not been saved to file;\nthey will be lost if you continue."},
    {2172,
     u"You are about to exit ONLINE mode and edit a default Corvane setup.\nThere are changes that "
     u"have not been sent to the Corvane;\nthey will be lost if you continue."},
    {2173,
     u"There are changes that have not been saved to file;\nthey will be lost if you continue."},
    {2174, u"You are about  to exit ONLINE mode and edit a default Corvane setup."},
    {2175, u"You are about to exit ONLINE mode and open a file."},
    {2176, u"Kelvardin files (*.kvd)|*.kvd|All Files (*.*)|*.*||"},
    {2177, u"Kelvardin files (*.kvd)|*.kvd||"},
    {2180,
     u"You are about to load an existing file on top of the current setup,\n however, there are "
     u"changes that have not yet been sent to the Corvane;\nthey may be lost if you continue and "
     u"the new file overlays your changes."},
    {2181,
     u"You are about to merge an existing file with the current setup,\nhowever, there are "
     u"changes that have not yet been saved to file;\nthey may be lost if you continue and the new "
     u"file overlays your changes."},
    {2182,
     u"You are about to send an existing file to the Corvane,\nhowever, there are changes that "
     u"have not yet been sent to the Corvane;\n they will be lost if you continue."},
    {2183, u"Merge"},
    {2184, u"Load File"},
    {2185, u"Maint"},
    {2186, u"In-Use"},
    {2187, u"Alloc"},
    {2188, u"Idle"},
    {2189, u"?"},
    {2190, u"PP"},
    {2191, u"PL"},
    {2192, u"IFB"},
    {2193, u"SL"},
    {2194, u"RY"},
    {2195, u"ISO"},
    {2196, u"76.8K"},
    {2197, u"38.4K"},
    {2198, u"9600"},
    {2199, u"2400"},
    {2200, u"All Intercoms"},
    {2201, u"Trunk"},
    {2202, u"Intercom"},
    {2203, u"Definitions"},
    {2204, u"Summary"},
    {2205, u"Inspect"},
    {2206, u"Options"},
    {2207, u"Setup"},
    {2208, u"Status"},
    {2209, u"Groups"},
    {2211, u"Alpha Pallette"},
    {2212,
     u"You are about to enter ONLINE mode.\nThere are changes that have not been saved to "
     u"file;\nthey will be lost if you continue."},
    {2213,
     u"The application is currently in ONLINE mode.\r\nDo you wish to stay ONLINE after the "
     u"upload is complete?"},
    {2214, u"KX1100"},
    {2215, u"KX1200"},
    {2216, u"KX1300"},
    {2217, u"Pellam-W"},
    {2218, u"Pellam"},
    {2219, u"Pellam-K"},
    {2220, u"?"},
    {2221, u"Cut"},
    {2222, u"Cur"},
    {2223, u"Old"},
    {2224, u"Active"},
    {2225, u"Standby"},
    {2226, u"OK"},
    {2227, u"Bad"},
    {2228, u"Diagnostics"},
    {2229, u"CV Status"},
    {2230, u"Send"},
    {2231, u"Please wait while the file is being sent to the Corvane."},
    {2232, u"All changes that have not been sent to the Corvane will be lost."},
    {2235, u"Clear Allocations"},
    {2236, u"Clear trunk allocations for:"},
    {2237, u"Any Intercom"},
    {2238, u"Selected Intercoms"},
    {2239, u"All Trunks"},
    {2240, u"Any Trunk"},
    {2241, u"Selected Trunks"},
    {2242, u"Clear Maintenance Mode"},
    {2243, u"Clear maintenance mode for:"},
    {2244, u"Set Maintenance Mode"},
    {2245, u"Set maintenance mode for:"},
    {2246, u"All Types"},
    {2247, u"Send Progress"},
    {2248, u"Please wait while the changes are being sent to the Corvane."},
    {2249, u"Initializing"},
    {2250, u"Initializing..."},
    {2251, u"Sending Changes..."},
    {2252, u"Waiting..."},
    {2255, u"Kelvardin was denied exclusive control"},
    {2256, u"Kelvardin has lost exclusive control"},
    {2257, u"the send changes state machine has been corrupted"},
    {2258, u"EEPROM failure in Corvane"},
    {2261, u"the operation was aborted by the user"},
    {2262, u"lost communication with the Corvane"},
    {2263, u"reason unknown"},
    {2264, u"Send File"},
    {2265, u"Maintenance Mode"},
    {2266, u"Please wait while the selected trunk modes are being changed."},
    {2268, u"Option"},
    {2269, u"Value"},
    {2270, u"Allocation Timeout (min)"},
    {2271, u"Auto Clear Allocations"},
    {2273, u"Wait for Talk Key Mode"},
    {2274, u"Trunk #"},
    {2275, u"State"},
    {2276, u"Icom 1"},
    {2277, u"Icom 2"},
    {2278, u"Alpha"},
    {2279, u"Port"},
    {2280, u"Cascadable?"},
    {2281, u"Fixed"},
    {2289, u"Icom #"},
    {2290, u"Name"},
    {2304, u"Allocation Timeout (sec)"},
    {2305, u"Could not establish an ethernet connection to the Corvane."},
    {2306, u"# Trunks"},
    {2307, u"# Allocated"},
    {2308, u"# In-Use"},
    {2309, u"# Maintenance"},
    {2317, u"Resource Type"},
    {2318, u"Changed Items"},
    {2319,
     u"The communication port entered is invalid.\nOnly port numbers between %1 and %2 are "
     u"allowed.\nYou may also enter 0 to clear the port value."},
    {2320, u"The communication port entered is already being used by intercom #%1."},
    {2321, u"The group name entered is too long.\nGroup names must be %1 characters or less."},
    {2322,
     u"The intercom name entered is too long.\nIntercom names must be %1 characters or less."},
    {2323,
     u"The intercom name entered contains an invalid character.\nThe character %1 is not allowed."},
    {2324,
     u"The allocation timeout entered is invalid.\nOnly values between %1 and %2 are allowed."},
    {2325, u"You are about to exit the Kelvardin application."},
    {2326,
     u"There are changes that have not been sent to the Corvane;\nthey will be lost if you exit."},
    {2327,
     u"There are changes that have not yet been saved to file;\nthey will be lost if you exit."},
    {2328,
     u"The intercom name entered is already being used by intercom #%1.\nThis is not recommended."},
    {2329,
     u"You cannot enable the fixed flag when neither end of the trunk is fixed.\nWhen you enter a "
     u"fixed assignment, the fixed flag is automatically enabled."},
    {2330, u"Asgn 1"},
    {2331, u"Asgn 2"},
    {2332, u"Select assignment for alpha: %1"},
    {2333, u"Assignment"},
    {2334, u"Intercom #%1 has not been defined."},
    {2335, u"The intercom number entered is invalid.\nOnly numbers between %1 and %2 are allowed."},
    {2336, u"Fixed assignments cannot be entered until the intercom has been set."},
    {2337,
     u"You cannot enter a port number for a trunk assignment\nunless the intercom has already been "
     u"defined."},
    {2338,
     u"The assignment %1 is not allowed as a trunk port. because it is a %2 resource.\nOnly PP "
     u"resources are allowed as trunk ports."},
    {2339, u"Cancel"},
    {2340, u"&Ignore"},
    {2341, u"&Retry"},
    {2342, u"&Abort"},
    {2343, u"&Help"},
    {2344, u"&Yes"},
    {2345, u"&No"},
    {2346, u"&Continue"},
    {2347, u"&Don't ask me again"},
    {2348, u"&Suppress this message"},
    {2349, u"Yes to &All"},
    {2350, u"No to A&ll"},
    {2351, u"No alpha could be found that matches the text entered."},
    {2352, u"No alpha, belonging to Intercom #%1, could be found that matches the text entered."},
    {2353, u"The text entered could not be parsed into a valid fixed assignment."},
    {2354,
     u"No alpha exists for the entered assignment.\nThe assignment either does not exist,\nor is "
     u"not visible to the Corvane."},
    {2355,
     u"The intercom entered is already being used in the other half of this trunk "
     u"definition.\nTrunk definitions must have a unique intercom at each end."},
    {2356,
     u"The fixed assignment entered is already being used as part of the definition for Trunk #%1"},
    {2357, u"The text entered is not a valid intercom name or number."},
    {2358, u"The assignment entered is already being used as a fixed assignment for Trunk #%1."},
    {2359,
     u"The assignment entered is already being used as part of the definition for Trunk #%1."},
    {2360,
     u"When a trunk is fixed at both ends, and one (or both) ends is a Port,\nno audio paths are "
     u"closed until a key is pressed."},
    {2361,
     u"When a trunk is fixed at both ends, either one end must be a Port, or both ends must be "
     u"PL's."},
    {2362, u"You cannot enable the cascade flag when a trunk is fixed at both ends."},
    {2363,
     u"When dynamic allocation mode is enabled, the allocation timeout and\nauto clear "
     u"allocations flag settings are not used and cannot be changed."},
    {2367,
     u"Warning: Lost contact with the Corvane, but the connection was automatically restored."},
    {2374, u"Selected intercoms: ALL"},
    {2375, u"Selected intercoms: %1"},
    {2376, u"Selected intercom: %1"},
    {2378, u"COM1:"},
    {2379, u"COM2:"},
    {2380, u"COM3:"},
    {2381, u"COM4:"},
    {2382, u"NET"},
    {2383, u"Selected Trunk: %1"},
    {2384,
     u"There are changes to memory that have not been written.\nChoose OK to write the changes "
     u"to memory, or\nchoose CANCEL to abort the changes."},
    {2388, u"UR"},
    {2389, u"Could not open the specified COM port."},
    {2390, u"Could not select the specified baud rate."},
    {2391, u"(%1 of %2 intercoms selected)"},
    {2392, u"(%1 of %2 groups selected)"},
    {2393, u"(%1 of %2 trunks selected)"},
    {2394, u"(%1 of %2 alphas selected)"},
    {2395, u"(%1 of %2 options selected)"},
    {2397, u"Unable to contact a Corvane, entering FILE mode."},
    {2398, u"#"},
    {2399, u"Name"},
    {2400, u"From"},
    {2401, u"To"},
    {2404, u"There is no Corvane present!"},
    {2406, u"Configuration"},
    {2407, u"Partial Save"},
    {2408,
     u"This file was created via a Partial Save.\n\nWould you like to save only the items "
     u"that\nwere originally in this file, plus any items\nthat have been changed in this edit "
     u"session?\n\nTo maintain the Partial Save, choose Yes.\nTo create a full file with a new "
     u"name, choose No.\nTo abort the Save operation, choose Cancel."},
    {2409, u"Trunk Definitions for:"},
    {2410, u"Trunk Summary for:"},
    {2411, u"Trunk Allocation Options"},
    {2412, u"Trunk Inspection for:"},
    {2413, u"Intercom Setup"},
    {2414, u"Intercom Status"},
    {2415, u"Intercom Alphas for:"},
    {2416, u"Intercom Groups"},
    {2417, u"Corvane Memory:"},
    {2418, u"Command Line Protocol"},
    {2419, u"Corvane Status"},
    {2420, u"Corvane Log for:"},
    {2421,
     u"Intercom #%1 has not been defined.\n\nAre you sure this is the intercom you intended?\n\nIf "
     u"so, it is recommended that you define a name\nfor this intercom on the Intercom Setup "
     u"screen."},
    {2422,
     u"No alpha exists for the entered assignment.\nThe assignment either does not exist,\nor is "
     u"not visible to the Corvane.\n\nAre you sure that this is what you intended?\n\nIf so, "
     u"please make sure that this resource\nexists in the specified intercom and that\nyou turn on "
     u"the trunk scroll enable for this\nresource using PellamConf on its intercom."},
    {2423, u"There are no intercoms available to choose from."},
    {2424, u"There are no alphas available to choose from."},
    {2425, u"There are no alphas available to choose from for %1"},
    {2426,
     u"No alpha exists for the entered port number.\nThe port either does not exist, or its "
     u"intercom\nis not talking to the Corvane.\n\nAre you sure that this is what you "
     u"intended?\n\nIf so, please make sure that the intercom is\nconnected to the Corvane and "
     u"that this\nport number exists in the intercom."},
    {2427,
     u"No alpha exists for the entered assignment.\n\nAre you sure that this is what you "
     u"intended?\n\nIf so, please make sure that this resource\nexists in the specified intercom "
     u"and that\nyou turn on the trunk scroll enable for this\nresource using PellamConf on its "
     u"intercom."},
    {2428,
     u"There are no COM Ports installed in the Corvane.\n\nYou cannot assign any COM Ports to "
     u"intercoms."},
    {2429, u"19.2K"},
    {2432, u"QORA"},
    {2433,
     u"Warning: Lost connection with the Corvane. Kelvardin will automatically try to reconnect "
     u"in the background, or press 'Cancel' to enter file mode."},
    {2437,
     u"You are about to exit ONLINE mode and edit a default Corvane setup.\nThere are changes "
     u"that have not been sent to the Corvane;\nthey will be lost if you continue.\n\nTo save "
     u"them to a setup file first, choose Yes.\nTo go on without them, choose No.\nTo keep "
     u"waiting for the Corvane, choose Cancel."},
    {2438, u"Medlow"},
    {2440, u"Host name is invalid."},
    {2442, u"NET:"},
    {2445, u"UNICODE Alphas"},
    {2446, u"UNICODE Intercom Names"},
    {2447, u"UNICODE Group Names"},
    {2449, u"IFBSL"},
    {2450, u"Choose the default directory for setup files."},
    {2451, u"Choose the default directory for log files."},
    {2452, u"Choose the default directory for SNMP configuration files."},
    {2453, u"QORA-Q"},
    {2454,
     u"You are about to exit ONLINE mode and edit a default Corvane setup.\nThere are changes "
     u"that have not been sent to the Corvane;\nthey will be lost if you continue.\n\nTo save "
     u"them to a setup file first, choose Yes.\nTo go on without them, choose No.\nTo stay "
     u"ONLINE, choose Cancel."},
    {2455,
     u"You are about to exit ONLINE mode and open a file.\nThere are changes that have not been "
     u"sent to the Corvane;\nthey will be lost if you continue.\n\nTo save them to a setup file "
     u"first, choose Yes.\nTo go on without them, choose No.\nTo stay ONLINE, choose Cancel."},
    {2456,
     u"There are changes that have not been sent to the Corvane;\nthey will be lost if you "
     u"exit.\n\nTo save them to a setup file first, choose Yes.\nTo exit without them, choose "
     u"No.\nTo stay ONLINE, choose Cancel."},
    {2457,
     u"To use the new communication settings, Kelvardin leaves the Corvane it is ONLINE with."
     u"\nThere are changes that have not been sent to that Corvane;\nthey will be lost if you "
     u"continue.\n\nTo save them to a partial setup file first, choose Yes.\nTo let them go, "
     u"choose No.\nTo keep the old communication settings and stay ONLINE, choose Cancel."},
    {2458,
     u"There are changes that have not been sent to the Corvane;\nthey will be lost if you "
     u"continue.\n\nTo save them to a setup file first, choose Yes.\nTo go on without them, "
     u"choose No.\nTo keep them in FILE mode, choose Cancel."},
    {2459, u"Serial"},
    {2460, u"Network"},
    {2461,
     u"The Corvane's configuration has changed; Kelvardin starts again from a default Corvane "
     u"setup sized for it.\nThere are changes that have not been sent to the Corvane;\nthey "
     u"will be lost.\n\nTo save them to a setup file first, choose Yes.\nTo go on without "
     u"them, choose No."},
    {2462, u"the Corvane's configuration has changed"},
    {2467, u"The IP address entered is already assigned to intercom #%1."},
    {2468, u"The selected intercom's name (%2) differs from the current name (%1)."},
    {2488, u"QORA-Q S"},
    {2490, u"The cascade cost entered is invalid.\nOnly values between %1 and %2 are allowed."},
    {2601, u"Trunk Definitions"},
    {2602, u"Allocation Timeout (sec)"},
    {2603, u"Allocation Timeout (min)"},
    {2604, u"Auto Clear Allocations"},
    {2605, u"Wait for Talk Key Mode"},
    {2606, u"Intercom Names"},
    {2607, u"Intercom Names (4 character)"},
    {2608, u"Intercom Names (6 character)"},
    {2609, u"Intercom Names (8 character)"},
    {2610, u"Intercom Names (8 wide character)"},
    {2611, u"Intercom Ports"},
    {2612, u"Intercom Baud Rates"},
    {2613, u"Intercom Connection Types"},
    {2614, u"Intercom Primary IP Addresses"},
    {2615, u"Intercom Backup IP Addresses"},
    {2616, u"Intercom Cascade Cost"},
    {2617, u"Intercom Groups"},
    {2618, u"There are no changes that can be sent to the Corvane."},
    {4788, u"Do&ne"},
    {5497,
     u"The intercom name entered may not be visible to intercom #%1.\nAn intercom cannot be "
     u"trunked to more than 31 other intercoms."},
    {5498,
     u"The fixed assignment entered is already being used as part of the definition for a remote "
     u"trunk."},
    {5499,
     u"The assignment entered is already being used as part of the definition for a remote trunk."},
    {5500,
     u"One or more intercoms defined by this Corvane may not be visible to intercom #%1.\nAn "
     u"intercom cannot be trunked to more than 31 other intercoms.\nAny other intercoms similarly "
     u"affected may be identified on the Intercom Setup or Status views."},
    {5501,
     u"Trunk #%1 specifies an an assignment that is part of the definition for a remote "
     u"trunk.\nAny other trunks similarly affected and the offending assignments may be identified "
     u"on the Trunk Definitions view."},
    {5502, u"Quillnet"},
    {5503,
     u"Log messages are currently being redirected to the Kelvardin session connected via the "
     u"serial port.\n\nIf you wish to have log messages directed to this session, you must "
     u"disable logging support on the other session.\nOtherwise, it is recommended that you "
     u"disable logging support on this session."},
    {5504,
     u"Log messages are currently being redirected to the Kelvardin session at IP address "
     u"%1.\n\nIf you wish to have log messages directed to this session, you must disable "
     u"logging support on the other session.\nOtherwise, it is recommended that you disable "
     u"logging support on this session."},
    {5505, u"OOS"},
    {5506, u"# Out of Service"},
    {5508, u"Extended Groups"},
    {6201, u"Name 4"},
    {6202, u"Name 6"},
    {6203, u"Name 8"},
    {6204, u"Name 8W"},
    {6205, u"Connection"},
    {6206, u"Baud Rate"},
    {6207, u"COM Port"},
    {6208, u"Primary IP Address"},
    {6209, u"Backup IP Address"},
    {6210, u"Cascade Cost"},
    {6211, u"OK?"},
    {6212, u"Type"},
    {6213, u"Size"},
    {6214, u"# Rem"},
    {6215, u"Errors To"},
    {6216, u"BER To"},
    {6217, u"Errors From"},
    {6218, u"BER From"},
    {6301, u"Corvane"},
    {6302, u"Save Command Line Protocol History"},
    {6303, u"Text files (*.txt)|*.txt||"},
    {6401, u"Fn Type"},
    {6402, u"Number"},
    // Messages of this program's own that the controller's texts have no place for.
    {6501,
     u"The IP address entered is invalid: %1\nAn IP address is four numbers between 0 and 255, "
     u"separated by dots."},
    {6502,
     u"The settings could not be saved to %1.\nThe folder or the file may be read-only; changes "
     u"to the settings are not kept."},
    {6503, u"No Corvane answered the search."},
    {6504, u"No intercom answered the search."},
    {6505,
     u"Printing failed: %1 could not be written in full; the disk may be full.\nNothing was "
     u"printed, and no file was changed."},
    {6521,
     u"The changes to memory could not be written: the Corvane is not connected.\nThey are "
     u"kept, and can be written once the connection is back."},
    {6522,
     u"The Corvane did not answer the changes to memory at %1: they may not have been "
     u"written.\nThey are marked again, to be written again or dropped."},
    {6523,
     u"The Corvane had not answered the changes to memory at %1 when the connection was "
     u"closed: they may not have been written."},
    {6524,
     u"The connection to the Corvane was lost or renewed before the Corvane had confirmed "
     u"these, so they may not have been done:\n\n%1\n\nGive them again if they are still "
     u"wanted."},
    {6525, u"%1 (%2)"},
    {6526, u"Intercom #%1"},
    {6527, u"Trunk #%1"},
    {6528,
     u"Send Changes\nClear Communication Errors\nClear Corvane Errors\nClear Standby Errors\n"
     u"SNMP Configuration\nSet the Corvane's Clock\nLog Trunk Requests On\nLog Trunk Requests "
     u"Off"},
    {6530,
     u"The changes to memory at %1 were not written: their request was dropped before it "
     u"went to the Corvane.\nThey are marked again, to be written again or dropped."},
    {6531,
     u"The changes to memory at %1 were not written: the connection was closed before they "
     u"went to the Corvane."},
    {6532,
     u"The Corvane refused the changes to memory at %1: they were not written.\nThey are "
     u"marked again, to be written again or dropped."},
    {6533, u"The Corvane refused the changes to memory at %1: they were not written."},
    {6534,
     u"There are changes to memory that cannot be written: the Corvane is not connected.\nThey "
     u"will be lost if you exit."},
    {6535,
     u"This SNMP configuration was not read from the Corvane, so it cannot be applied to it.\n"
     u"Open SNMP Configuration again once ONLINE to apply changes."},
    {6536, u"Waiting for the Corvane to answer the changes to memory..."},
    // The commands' prompts, shown in the status bar while a menu item or tool button is
    // under the mouse.
    {32772, u"Merge a setup file with the current setup"},
    {32773, u"Save chosen items of the setup to a file"},
    {32774, u"Connect to the Corvane and enter ONLINE mode"},
    {32775, u"Load a setup file on top of the Corvane's setup as changes"},
    {32776, u"Send a setup file to the Corvane"},
    {32777, u"Send the changes to the Corvane"},
    {32778, u"Drop all changes that have not been sent to the Corvane"},
    {32779, u"Show the current screen's data again"},
    {32780, u"Go forward to the next screen"},
    {32781, u"Go back to the previous screen"},
    {32782, u"Change the program's settings"},
    {32788, u"Choose changes of the current screen to drop"},
    {32789, u"Show the trunk definitions"},
    {32790, u"Show the trunk summary"},
    {32791, u"Show the trunk allocation options"},
    {32792, u"Inspect one trunk"},
    {32793, u"Put a trunk into maintenance mode"},
    {32794, u"Return trunks from maintenance mode to normal mode"},
    {32795, u"Show the intercom setup"},
    {32796, u"Show the intercom status"},
    {32797, u"Show the intercom alphas"},
    {32798, u"Show the intercom groups"},
    {32799, u"Show the Corvane's status"},
    {32801, u"Send commands to the Corvane by the command line protocol"},
    {32802, u"Examine the Corvane's memory"},
    {32804, u"Show the Corvane's version"},
    {32805, u"Write the memory changes to the Corvane"},
    {32808, u"Log trunk requests to a log file"},
    {32809, u"View a log file of trunk requests"},
    {32820, u"Clear the Corvane's errors"},
    {32821, u"Clear the standby Corvane's errors"},
    {32822, u"Clear the intercoms' communication errors"},
    {32823, u"Clear trunk allocations"},
    {32911, u"Show or hide the navigation bar"},
    {32912, u"Show the last error found in the setup"},
    {32928, u"Show the release notes"},
    {32930, u"Show the state of the connection to the Corvane"},
    {32932, u"Read the alphas from the Corvane again"},
    {32934, u"Change the Corvane's SNMP configuration"},
    {57344, u"Kelvardin"},  // the application's title
    {57600, u"Start a new default setup"},
    {57601, u"Open a setup file"},
    {57603, u"Save the setup to a file"},
    {57604, u"Save the setup to a file with a new name"},
    {57606, u"Choose a printer and its options"},
    {57607, u"Print the current screen"},
    {57609, u"Show the current screen as it will print"},
    {57634, u"Copy the selection to the clipboard"},
    {57635, u"Cut the selection to the clipboard"},
    {57637, u"Paste the clipboard into the selection"},
    {57642, u"Select every cell of the current screen"},
    {57643, u"Undo the last change"},
    {57644, u"Redo the change last undone"},
    {57664, u"Show the program's version and copyright"},
    {57665, u"Quit the program"},
    {59392, u"Show or hide the toolbar"},
    {59393, u"Show or hide the status bar"},
    {61714, u"Enter an integer between %1 and %2."},
};

const Entry* FindEntry(unsigned id) {
    auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                               [](const Entry& e, unsigned key) { return e.id < key; });
    return it != std::end(kStrings) && it->id == id ? it : nullptr;
}

}  // namespace

bool StringTableIsOrdered() {
    return std::adjacent_find(std::begin(kStrings), std::end(kStrings),
                              [](const Entry& a, const Entry& b) { return a.id >= b.id; }) ==
           std::end(kStrings);
}

CString LoadResString(unsigned id) {
    const Entry* e = FindEntry(id);
    return e ? CString(e->text) : CString();
}
