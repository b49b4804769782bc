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
    {2237, u"Any Intercom"},
    {2238, u"Selected Intercoms"},
    {2246, u"All Types"},
    {2388, u"UR"},
    {2432, u"QORA"},
    {2438, u"Medlow"},
    {2445, u"UNICODE Alphas"},
    {2446, u"UNICODE Intercom Names"},
    {2447, u"UNICODE Group Names"},
    {2449, u"IFBSL"},
    {2453, u"QORA-Q"},
    {2459, u"Serial"},
    {2460, u"Network"},
    {2488, u"QORA-Q S"},
    {5502, u"Quillnet"},
    {5508, u"Extended Groups"},
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

bool HasResString(unsigned id) {
    return FindEntry(id) != nullptr;
}
