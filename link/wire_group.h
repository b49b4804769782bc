#pragma once

#include <array>
#include <cstddef>

#include "link/payload_io.h"
#include "model/records.h"

// One group on the wire, asked for (32, 84) and set (33, 85) alike: its name of
// CGroup::kNameLength characters, 8-bit or UTF-16 big-endian, then its members: a u32 mask of
// the first CGroup::kMaskMembers intercoms, or on an extended controller a bitmap of every
// intercom. In both member forms intercom k travels as bit k + 1.
// The most groups one message carries.
constexpr UINT kGroupsPerMessage = 20;

// In the count byte of the short messages: the names are wide.
constexpr BYTE kWideGroupNames = 0x80;

// The short messages (32, 33) hold the members of the mask alone; a controller with more
// intercoms has the extended ones (84, 85).
inline bool UsesExtendedGroups(int intercoms) {
    return intercoms > CGroup::kMaskMembers;
}

struct CWireGroupForm {
    using Members = std::array<BYTE, CGroup::kMemberBytes>;  // bit k: intercom k

    bool wideName = false;
    bool extended = false;

    std::size_t Size() const;
    void Write(CPayloadWriter& out, const CString& name, const Members& members) const;
    void Read(CPayloadReader& in, CString& name, Members& members) const;
};
