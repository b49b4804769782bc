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
    {2206, u"Options"},
    {2209, u"Groups"},
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
    {2231, u"Please wait while the file is being sent to the Corvane."},
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
    {2305, u"Could not establish an ethernet connection to the Corvane."},
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
    {2328,
     u"The intercom name entered is already being used by intercom #%1.\nThis is not recommended."},
    {2329,
     u"You cannot enable the fixed flag when neither end of the trunk is fixed.\nWhen you enter a "
     u"fixed assignment, the fixed flag is automatically enabled."},
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
    {2367,
     u"Warning: Lost contact with the Corvane, but the connection was automatically restored."},
    {2388, u"UR"},
    {2389, u"Could not open the specified COM port."},
    {2390, u"Could not select the specified baud rate."},
    {2421,
     u"Intercom #%1 has not been defined.\n\nAre you sure this is the intercom you intended?\n\nIf "
     u"so, it is recommended that you define a name\nfor this intercom on the Intercom Setup "
     u"screen."},
    {2422,
     u"No alpha exists for the entered assignment.\nThe assignment either does not exist,\nor is "
     u"not visible to the Corvane.\n\nAre you sure that this is what you intended?\n\nIf so, "
     u"please make sure that this resource\nexists in the specified intercom and that\nyou turn on "
     u"the trunk scroll enable for this\nresource using PellamConf on its intercom."},
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
    {2432, u"QORA"},
    {2433,
     u"Warning: Lost connection with the Corvane. Kelvardin will automatically try to reconnect "
     u"in the background, or press 'Cancel' to enter file mode."},
    {2438, u"Medlow"},
    {2445, u"UNICODE Alphas"},
    {2446, u"UNICODE Intercom Names"},
    {2447, u"UNICODE Group Names"},
    {2449, u"IFBSL"},
    {2453, u"QORA-Q"},
    {2459, u"Serial"},
    {2460, u"Network"},
    {2467, u"The IP address entered is already assigned to intercom #%1."},
    {2468, u"The selected intercom's name (%2) differs from the current name (%1)."},
    {2488, u"QORA-Q S"},
    {2490, u"The cascade cost entered is invalid.\nOnly values between %1 and %2 are allowed."},
    {5497,
     u"The intercom name entered may not be visible to intercom #%1.\nAn intercom cannot be "
     u"trunked to more than 31 other intercoms."},
    {5498,
     u"The fixed assignment entered is already being used as part of the definition for a remote "
     u"trunk."},
    {5499,
     u"The assignment entered is already being used as part of the definition for a remote trunk."},
    {5502, u"Quillnet"},
    {5508, u"Extended Groups"},
    {57344, u"Kelvardin"},  // the application's title
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
