#pragma once

#include <cstdint>
#include <set>
#include <unordered_map>
#include <vector>

#include "model/obj_spec.h"
#include "model/value_records.h"
#include "platform/base/win_types.h"

class CKelvardinDoc;

// The fields outside a step of Undo or Redo that a write changed after the step was made, by
// the value they hold: the only holders its put-back can clash with, since a value shared
// before the step goes back as it was. Found in one pass over the setup, so that a check of
// the step costs its fields plus the setup's records.
class CNewerHolders {
public:
    // made: the document's last write number when the step was made.
    CNewerHolders(const CKelvardinDoc& doc, const std::vector<CObjSpec>& step, std::uint64_t made);

    bool InStep(const CObjSpec& field) const { return m_step.contains(field.Key()); }
    // Outside the step and written after it was made.
    bool IsNewer(const CObjSpec& field) const;
    // The first such trunk whose end, or fixed assignment, is the assignment: end 1 of every
    // trunk, then end 2, as the searches of typed text go; -1 when none.
    int FindEnd(const CAssign& assign) const { return Find(m_ends, assign.GetKey()); }
    int FindFixed(const CAssign& assign) const { return Find(m_fixed, assign.GetKey()); }
    // The first such intercom with the COM port, or other than except with the IP address.
    int FindComPort(int port) const { return Find(m_comPorts, port); }
    int FindAddress(DWORD address, int except) const;

private:
    template <class Map, class Key>
    static int Find(const Map& map, const Key& key) {
        const auto found = map.find(key);
        return found != map.end() ? found->second : -1;
    }
    void AddTrunks();
    void AddIntercoms();

    const CKelvardinDoc& m_doc;
    std::set<CObjSpec::CKey> m_step;
    std::uint64_t m_made;
    std::unordered_map<DWORD, int> m_ends;
    std::unordered_map<DWORD, int> m_fixed;
    std::unordered_map<int, int> m_comPorts;
    // An intercom may hold one address twice, as its primary and backup.
    std::unordered_map<DWORD, std::vector<int>> m_addresses;
};
