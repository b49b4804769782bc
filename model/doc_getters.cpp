#include <algorithm>
#include <type_traits>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"

namespace {

// The answers for records that do not exist.
const CAssign kNoAssign;
const CInspect kNoInspect;

bool Below(int i, int count) {
    return i >= 0 && i < count;
}

// A field's change bits, 0 for an absent record.
DWORD ChangeBits(const CCVObject* record, UINT fieldId) {
    return record ? record->IsModified(fieldId) : 0;
}

// A record's value, or the fixed answer for an absent record.
template <class Record, class T>
T Answer(const Record* record, T (Record::*get)() const, std::type_identity_t<T> absent) {
    return record ? (record->*get)() : absent;
}

int ConfiguredIcoms() {
    return GetApp().GetConfig().m_wNumIntercoms;
}

int ConfiguredTrunks() {
    return GetApp().GetConfig().m_wNumTrunks;
}

}  // namespace

// ---- Trunks ---------------------------------------------------------------------------------

DWORD CKelvardinDoc::IsTrunkModified(int trunk) const {
    return ChangeBits(FindTrunk(trunk), CTrunk::kFieldRecord);
}

DWORD CKelvardinDoc::IsTrunkFixedModified(int trunk) const {
    return ChangeBits(FindTrunk(trunk), CTrunk::kFieldFixed);
}

DWORD CKelvardinDoc::IsTrunkCascadableModified(int trunk) const {
    return ChangeBits(FindTrunk(trunk), CTrunk::kFieldCascadable);
}

DWORD CKelvardinDoc::IsTrunkFixedAssignModified(int trunk, BOOL first) const {
    return ChangeBits(FindTrunk(trunk), first ? CTrunk::kFieldFixed1 : CTrunk::kFieldFixed2);
}

DWORD CKelvardinDoc::IsTrunkEndModified(int trunk, BOOL first) const {
    return ChangeBits(FindTrunk(trunk), first ? CTrunk::kFieldEnd1 : CTrunk::kFieldEnd2);
}

BOOL CKelvardinDoc::GetTrunkFixed(int trunk) const {
    return Answer(FindTrunk(trunk), &CTrunk::GetFixed, FALSE);
}

BOOL CKelvardinDoc::GetTrunkCascadable(int trunk) const {
    return Answer(FindTrunk(trunk), &CTrunk::GetCascadable, FALSE);
}

const CAssign& CKelvardinDoc::GetTrunkEnd(int trunk, BOOL first) const {
    const CTrunk* record = FindTrunk(trunk);
    return record ? record->GetEndpoint(first) : kNoAssign;
}

const CAssign& CKelvardinDoc::GetTrunkFixedAssign(int trunk, BOOL first) const {
    const CTrunk* record = FindTrunk(trunk);
    return record ? record->GetFixedAssign(first) : kNoAssign;
}

DWORD CKelvardinDoc::IsTrunkInMaintenance(int trunk) const {
    const CTrunk* record = FindTrunk(trunk);
    return record ? record->GetState() & CTrunk::kStateMaintenance : 0;
}

DWORD CKelvardinDoc::IsTrunkFlagged(int trunk) const {
    const CTrunk* record = FindTrunk(trunk);
    return record ? record->GetState() & CTrunk::kStateOutOfService : 0;
}

BOOL CKelvardinDoc::HasTrunkInspect(int trunk) const {
    return Below(trunk, ConfiguredTrunks()) && GetTrunkInspect(trunk).HasData();
}

BOOL CKelvardinDoc::HasCascadeTrunk(int trunk) const {
    return Below(trunk, ConfiguredTrunks()) && GetTrunkInspect(trunk).GetSideId(false) >= 0;
}

const CInspect& CKelvardinDoc::GetTrunkInspect(int trunk) const {
    const CTrunk* record = Below(trunk, ConfiguredTrunks()) ? FindTrunk(trunk) : nullptr;
    return record ? record->GetInspect() : kNoInspect;
}

BOOL CKelvardinDoc::IsTrunkLinkedToIcom(int trunk, int icom) const {
    const CTrunk* record = FindTrunk(trunk);
    if (!record || !Below(icom, ConfiguredIcoms())) return FALSE;
    return record->GetEndpoint(TRUE).m_icom == icom || record->GetEndpoint(FALSE).m_icom == icom;
}

DWORD CKelvardinDoc::GetTrunkValue(const CObjSpec& objSpec) const {
    const CTrunk* record = FindTrunk(objSpec.GetIndex());
    if (!record) return 0;
    const CInspect& inspect = record->GetInspect();
    const DWORD field = objSpec.m_nFieldId;
    switch (field) {
        case CTrunk::kFieldRecord: return objSpec.m_nIndex;
        case CTrunk::kFieldState: return record->GetState();
        case CTrunk::kFieldEnd1: return record->GetEndpoint(TRUE).GetKey();
        case CTrunk::kFieldEnd2: return record->GetEndpoint(FALSE).GetKey();
        case CTrunk::kFieldFixed1: return record->GetFixedAssign(TRUE).GetKey();
        case CTrunk::kFieldFixed2: return record->GetFixedAssign(FALSE).GetKey();
        case CTrunk::kFieldCascadable: return record->GetCascadable();
        case CTrunk::kFieldFixed: return record->GetFixed();
        case CTrunk::kFieldOutOfService: return record->GetState() & CTrunk::kStateOutOfService;
        case 10: return static_cast<DWORD>(inspect.GetSideId(true));
        case 11: return inspect.GetPair(true, true).GetKey();
        case 12:
        case 16: return inspect.GetPair(true, false).GetKey();  // 16: the requests of side B
        case 13: return static_cast<DWORD>(inspect.GetSideId(false));
        case 14: return inspect.GetPair(false, true).GetKey();
        case 15: return inspect.GetPair(false, false).GetKey();
        default: break;
    }
    // The request entries of side 1 (17-24) and side 2 (25-32).
    if (field >= 17 && field <= 32) {
        const bool side1 = field <= 24;
        return inspect.GetEntry(side1, static_cast<int>(field - (side1 ? 17 : 25))).GetKey();
    }
    return 0;
}

// ---- Options --------------------------------------------------------------------------------

DWORD CKelvardinDoc::GetAllocationTimeout() const {
    return Answer(FindOptions(), &COptions::GetTimeout, 0);
}

BOOL CKelvardinDoc::GetAutoClearAllocations() const {
    return Answer(FindOptions(), &COptions::GetAutoClear, FALSE);
}

BOOL CKelvardinDoc::GetDynamicAllocMode() const {
    return Answer(FindOptions(), &COptions::GetDynamicAlloc, FALSE);
}

BOOL CKelvardinDoc::GetWaitForTalkKeyMode() const {
    return Answer(FindOptions(), &COptions::GetWaitForTalkKey, FALSE);
}

DWORD CKelvardinDoc::IsAllocTimeoutModified() const {
    return ChangeBits(FindOptions(), COptions::kFieldTimeout);
}

DWORD CKelvardinDoc::IsAutoClearModified() const {
    return ChangeBits(FindOptions(), COptions::kFieldAutoClear);
}

DWORD CKelvardinDoc::IsWaitForTalkKeyModified() const {
    return ChangeBits(FindOptions(), COptions::kFieldWaitForTalkKey);
}

// ---- Intercoms ------------------------------------------------------------------------------

DWORD CKelvardinDoc::GetIcomPrimaryAddress(int icom) const {
    return Answer(FindIcom(icom), &CIntercom::GetPrimaryIP, 0);
}

DWORD CKelvardinDoc::GetIcomBackupAddress(int icom) const {
    return Answer(FindIcom(icom), &CIntercom::GetBackupIP, 0);
}

int CKelvardinDoc::GetIcomBaudRate(int icom) const {
    return Answer(FindIcom(icom), &CIntercom::GetBaudRate, -1);
}

int CKelvardinDoc::GetIcomConnType(int icom) const {
    return Answer(FindIcom(icom), &CIntercom::GetConnType, -1);
}

int CKelvardinDoc::GetIcomCascadeCost(int icom) const {
    return Answer(FindIcom(icom), &CIntercom::GetCascadeCost, (icom + 1) * 10);
}

int CKelvardinDoc::GetIcomComPort(int icom) const {
    return Answer(FindIcom(icom), &CIntercom::GetComPort, -1);
}

DWORD CKelvardinDoc::GetIcomRemoteTrunkBase(int icom) const {
    const CIntercom* record = FindIcom(icom);
    return record ? record->GetRemStat().GetStart() : 0;
}

BOOL CKelvardinDoc::IsRemoteTrunkPort(int icom, int port) const {
    const CIntercom* record = FindIcom(icom);
    return record && port >= 0 && record->GetRemStat().GetPorts().GetBit(static_cast<UINT>(port));
}

DWORD CKelvardinDoc::IsIcomNameModified(int icom, int length) const {
    const CIntercom* record = FindIcom(icom);
    if (!record) return 0;
    switch (length) {
        case 4: return record->IsModified(CIntercom::kFieldName4);
        case 6: return record->IsModified(CIntercom::kFieldName6);
        case 8: return record->IsModified(CIntercom::kFieldName8);
        case 16: return record->IsModified(CIntercom::kFieldName8W);
        default: return 0;
    }
}

DWORD CKelvardinDoc::IsIcomBaudRateModified(int icom) const {
    return ChangeBits(FindIcom(icom), CIntercom::kFieldBaudRate);
}

DWORD CKelvardinDoc::IsIcomComPortModified(int icom) const {
    return ChangeBits(FindIcom(icom), CIntercom::kFieldComPort);
}

DWORD CKelvardinDoc::IsIcomConnTypeModified(int icom) const {
    return ChangeBits(FindIcom(icom), CIntercom::kFieldConnection);
}

DWORD CKelvardinDoc::IsIcomSecondAddressModified(int icom) const {
    return ChangeBits(FindIcom(icom), CIntercom::kFieldPrimaryIP);
}

DWORD CKelvardinDoc::IsIcomAddressModified(int icom) const {
    return ChangeBits(FindIcom(icom), CIntercom::kFieldBackupIP);
}

DWORD CKelvardinDoc::IsIcomCostModified(int icom) const {
    return ChangeBits(FindIcom(icom), CIntercom::kFieldCascadeCost);
}

int CKelvardinDoc::FindIcomByComPort(int port, int except, const CHolderTest& skip) const {
    for (int i = 0; i < ConfiguredIcoms(); ++i) {
        const CIntercom* record = FindIcom(i);
        if (!record || i == except || record->GetComPort() != port) continue;
        if (!skip || !skip(CIcomSpec(i, CIntercom::kFieldComPort))) return i;
    }
    return -1;
}

int CKelvardinDoc::FindIcomByAddress(DWORD address, int except, const CHolderTest& skip) const {
    const auto held = [&](int icom, DWORD value, DWORD field) {
        return value == address && !(skip && skip(CIcomSpec(icom, field)));
    };
    for (int i = 0; i < ConfiguredIcoms(); ++i) {
        const CIntercom* record = FindIcom(i);
        if (!record || i == except) continue;
        if (held(i, record->GetPrimaryIP(), CIntercom::kFieldPrimaryIP) ||
            held(i, record->GetBackupIP(), CIntercom::kFieldBackupIP))
            return i;
    }
    return -1;
}

// ---- Groups ---------------------------------------------------------------------------------

DWORD CKelvardinDoc::IsGroupModified(int group) const {
    return ChangeBits(FindGroup(group), CGroup::kFieldRecord);
}

BOOL CKelvardinDoc::IsGroupMember(int group, int icom) const {
    const CGroup* record = FindGroup(group);
    return record && record->IsMember(icom);
}

void CKelvardinDoc::GetGroupMemberBits(int group, BYTE* buffer) const {
    if (const CGroup* record = FindGroup(group)) record->GetMembers(buffer);
}
