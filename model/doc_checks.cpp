#include "model/app_state.h"
#include "model/edit_rules.h"
#include "model/kelvardin_doc.h"

namespace {

constexpr DWORD kFieldRemoteStart = 1361;

}  // namespace

BOOL CKelvardinDoc::IsOnRemoteTrunkPort(const CAssign& assign, BOOL fixed) const {
    // A fixed assignment counts only as a PP port.
    if (!assign.IsValid() || (fixed && assign.m_type != 0)) return FALSE;
    return IsRemoteTrunkPort(assign.m_icom, assign.m_number);
}

int CKelvardinDoc::CountNamedIntercoms() {
    if (m_namedIcomCount.stale) {
        int named = 0;
        for (int i = 0; i < GetApp().GetConfig().m_wNumIntercoms; ++i) {
            if (!GetIcomText(i, 4, TRUE, FALSE).IsEmpty()) ++named;
        }
        m_namedIcomCount = {FALSE, TRUE, named};
    }
    return m_namedIcomCount.number;
}

BOOL CKelvardinDoc::FindRemoteTrunkRangeOverflow(int& icom) {
    if (m_rangeCheck.stale) {
        const int named = CountNamedIntercoms();
        m_rangeCheck = {FALSE, FALSE, -1};
        for (int i = 0; i < GetApp().GetConfig().m_wNumIntercoms; ++i) {
            if (RemoteRangeOverflows(GetIcomRemoteTrunkBase(i), named)) {
                m_rangeCheck = {FALSE, TRUE, i};
                break;
            }
        }
    }
    if (m_rangeCheck.found) icom = m_rangeCheck.number;
    return m_rangeCheck.found;
}

BOOL CKelvardinDoc::IsFieldProblematic(const CObjSpec& objSpec) {
    const int index = objSpec.GetIndex();
    switch (objSpec.m_nType) {
        case CObjSpec::kTrunk: {
            const DWORD field = objSpec.m_nFieldId;
            if (field < CTrunk::kFieldEnd1 || field > CTrunk::kFieldFixed2) return FALSE;
            const bool fixed = field >= CTrunk::kFieldFixed1;
            const bool first = field == CTrunk::kFieldEnd1 || field == CTrunk::kFieldFixed1;
            return IsOnRemoteTrunkPort(
                fixed ? GetTrunkFixedAssign(index, first) : GetTrunkEnd(index, first), fixed);
        }
        case CObjSpec::kIntercom:
            return objSpec.m_nFieldId == kFieldRemoteStart &&
                   RemoteRangeOverflows(GetIcomRemoteTrunkBase(index), CountNamedIntercoms());
        default: return FALSE;
    }
}
