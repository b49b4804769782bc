#include "model/newer_holders.h"

#include <algorithm>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"

CNewerHolders::CNewerHolders(const CKelvardinDoc& doc, const std::vector<CObjSpec>& step,
                             std::uint64_t made)
    : m_doc(doc), m_made(made) {
    for (const CObjSpec& field : step)
        m_step.insert(field.Key());
    AddTrunks();
    AddIntercoms();
}

bool CNewerHolders::IsNewer(const CObjSpec& field) const {
    return m_doc.GetWriteNumber(field) > m_made && !InStep(field);
}

int CNewerHolders::FindAddress(DWORD address, int except) const {
    const auto found = m_addresses.find(address);
    if (found == m_addresses.end()) return -1;
    const auto other =
        std::ranges::find_if(found->second, [&](int icom) { return icom != except; });
    return other != found->second.end() ? *other : -1;
}

void CNewerHolders::AddTrunks() {
    const int count = GetApp().GetConfig().m_wNumTrunks;
    for (const BOOL first : {TRUE, FALSE}) {
        const DWORD end = first ? CTrunk::kFieldEnd1 : CTrunk::kFieldEnd2;
        const DWORD fixed = first ? CTrunk::kFieldFixed1 : CTrunk::kFieldFixed2;
        for (int i = 0; i < count && m_doc.FindObject(CTrunkSpec(i, 1)); ++i) {
            if (IsNewer(CTrunkSpec(i, end)))
                m_ends.emplace(m_doc.GetTrunkEnd(i, first).GetKey(), i);
            if (IsNewer(CTrunkSpec(i, fixed)))
                m_fixed.emplace(m_doc.GetTrunkFixedAssign(i, first).GetKey(), i);
        }
    }
}

void CNewerHolders::AddIntercoms() {
    const int count = GetApp().GetConfig().m_wNumIntercoms;
    for (int i = 0; i < count; ++i) {
        if (IsNewer(CIcomSpec(i, CIntercom::kFieldComPort)))
            m_comPorts.emplace(m_doc.GetIcomComPort(i), i);
        if (IsNewer(CIcomSpec(i, CIntercom::kFieldPrimaryIP)))
            m_addresses[m_doc.GetIcomPrimaryAddress(i)].push_back(i);
        if (IsNewer(CIcomSpec(i, CIntercom::kFieldBackupIP)))
            m_addresses[m_doc.GetIcomBackupAddress(i)].push_back(i);
    }
}
