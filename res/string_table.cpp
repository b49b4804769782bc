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
    {2185, u"Maint"},  {2186, u"In-Use"},
    {2187, u"Alloc"},  {2188, u"Idle"},
    {2189, u"?"},      {2190, u"PP"},
    {2191, u"PL"},     {2192, u"IFB"},
    {2193, u"SL"},     {2194, u"RY"},
    {2195, u"ISO"},    {2196, u"76.8K"},
    {2197, u"38.4K"},  {2198, u"9600"},
    {2199, u"2400"},   {2226, u"OK"},
    {2227, u"Bad"},    {2305, u"Could not establish an ethernet connection to the Corvane."},
    {2388, u"UR"},     {2449, u"IFBSL"},
    {2459, u"Serial"}, {2460, u"Network"},
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
