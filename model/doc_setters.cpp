#include <cstdint>
#include <type_traits>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"

namespace {

// One field of a record, set as a user edit (marking the change) or as a received value,
// which never replaces a field whose change is not yet sent. A change takes the next number
// of the document's writes.
template <class Record, class Store>
BOOL EditField(std::uint64_t& lastWrite, Record* record, UINT fieldId, BOOL user, Store store) {
    if (!record || (!user && record->IsModified(fieldId))) return FALSE;
    if (!store(*record, user)) return FALSE;
    record->NoteWrite(fieldId, ++lastWrite);
    return TRUE;
}

template <class Record, class T>
BOOL EditField(std::uint64_t& lastWrite, Record* record, UINT fieldId, BOOL user,
               BOOL (Record::*set)(T, BOOL), std::type_identity_t<T> value) {
    return EditField(lastWrite, record, fieldId, user,
                     [&](Record& r, BOOL mark) { return (r.*set)(value, mark); });
}

// Which status record of SetCommErrors and SetCommStat: the first or second controller's in
// the live configuration (intercom 0 only), or the intercom's own.
template <class Value>
Value* PickStatus(int icom, int which, std::array<Value, 2>& controllers, Value* own) {
    switch (which) {
        case 0: return icom == 0 ? &controllers[0] : nullptr;
        case 1: return own;
        case 2: return icom == 0 ? &controllers[1] : nullptr;
        default: return nullptr;
    }
}

}  // namespace

// ---- Trunks ---------------------------------------------------------------------------------

BOOL CKelvardinDoc::SetTrunkFixed(BOOL fixed, BOOL user, int trunk) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindTrunk(trunk), CTrunk::kFieldFixed, user,
                         &CTrunk::SetFixed, fixed);
    });
}

BOOL CKelvardinDoc::SetTrunkCascadable(BOOL cascadable, BOOL user, int trunk) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindTrunk(trunk), CTrunk::kFieldCascadable, user,
                         &CTrunk::SetCascadable, cascadable);
    });
}

BOOL CKelvardinDoc::SetTrunkFixedAssign(const CAssign& assign, BOOL isEnd1, BOOL user, int trunk) {
    return SetTrunkAssign(&CTrunk::SetFixedAssign,
                          isEnd1 ? CTrunk::kFieldFixed1 : CTrunk::kFieldFixed2, assign, isEnd1,
                          user, trunk);
}

BOOL CKelvardinDoc::SetTrunkEnd(const CAssign& assign, BOOL isEnd1, BOOL user, int trunk) {
    return SetTrunkAssign(&CTrunk::SetEndpoint, isEnd1 ? CTrunk::kFieldEnd1 : CTrunk::kFieldEnd2,
                          assign, isEnd1, user, trunk);
}

BOOL CKelvardinDoc::SetTrunkAssign(TrunkAssignSetter set, UINT field, const CAssign& assign,
                                   BOOL isEnd1, BOOL user, int trunk) {
    return StoreValue(user, [&]() -> BOOL {
        const BOOL changed =
            EditField(m_lastWrite, FindTrunk(trunk), field, user,
                      [&](CTrunk& r, BOOL mark) { return (r.*set)(isEnd1, assign, mark); });
        if (changed) InvalidatePortCheck();
        return changed;
    });
}

BOOL CKelvardinDoc::SetTrunkState(int trunk, DWORD state) {
    return StoreReceived([&]() -> BOOL {
        CTrunk* record = FindTrunk(trunk);
        return record && record->SetState(state);
    });
}

// ---- Options --------------------------------------------------------------------------------

BOOL CKelvardinDoc::SetOptionTimeout(DWORD timeout, BOOL user) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindOptions(), COptions::kFieldTimeout, user,
                         &COptions::SetTimeout, timeout);
    });
}

BOOL CKelvardinDoc::SetOptionAutoClear(BOOL on, BOOL user) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindOptions(), COptions::kFieldAutoClear, user,
                         &COptions::SetAutoClear, on);
    });
}

BOOL CKelvardinDoc::SetOptionWaitForTalkKey(BOOL on, BOOL user) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindOptions(), COptions::kFieldWaitForTalkKey, user,
                         &COptions::SetWaitForTalkKey, on);
    });
}

BOOL CKelvardinDoc::SetDynamicAllocModeFromController(BOOL on) {
    return StoreReceived([&]() -> BOOL {
        // The mode has no field id; its change bit is tested directly.
        COptions* record = FindOptions();
        if (!record || (record->IsModified() & 0x04)) return FALSE;
        return record->SetDynamicAlloc(on, FALSE);
    });
}

// ---- Intercoms ------------------------------------------------------------------------------

BOOL CKelvardinDoc::SetIcomBaudRate(int choice, BOOL user, int icom) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindIcom(icom), CIntercom::kFieldBaudRate, user,
                         &CIntercom::SetBaudRate, choice);
    });
}

BOOL CKelvardinDoc::SetIcomComPort(int port, BOOL user, int icom) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindIcom(icom), CIntercom::kFieldComPort, user,
                         &CIntercom::SetComPort, port);
    });
}

BOOL CKelvardinDoc::SetIcomConnType(int type, BOOL user, int icom) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindIcom(icom), CIntercom::kFieldConnection, user,
                         &CIntercom::SetConnType, type);
    });
}

BOOL CKelvardinDoc::SetIcomPrimaryIP(DWORD address, BOOL user, int icom) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindIcom(icom), CIntercom::kFieldPrimaryIP, user,
                         &CIntercom::SetPrimaryIP, address);
    });
}

BOOL CKelvardinDoc::SetIcomBackupIP(DWORD address, BOOL user, int icom) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindIcom(icom), CIntercom::kFieldBackupIP, user,
                         &CIntercom::SetBackupIP, address);
    });
}

BOOL CKelvardinDoc::SetIcomCascadeCost(int cost, BOOL user, int icom) {
    return StoreValue(user, [&]() -> BOOL {
        return EditField(m_lastWrite, FindIcom(icom), CIntercom::kFieldCascadeCost, user,
                         &CIntercom::SetCascadeCost, cost);
    });
}

BOOL CKelvardinDoc::SetIcomStatusFlags(int icom, BYTE statusByte) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* record = FindIcom(icom);
        if (!record) return FALSE;
        CCommStat& status = record->GetCommStat();
        const BOOL ok = StoreChanged(status.m_ok, DWORD{statusByte & 0x01u});
        const BOOL flag2 = StoreChanged(status.m_flag2, DWORD{statusByte & 0x02u});
        const BOOL flag3 = StoreChanged(status.m_flag3, DWORD{statusByte & 0x04u});
        return ok || flag2 || flag3;
    });
}

BOOL CKelvardinDoc::SetIcomModel(int icom, int model) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* record = FindIcom(icom);
        return record && StoreChanged(record->GetCommStat().m_code, model);
    });
}

BOOL CKelvardinDoc::SetIcomStatusNumber(int icom, DWORD number) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* record = FindIcom(icom);
        return record && StoreChanged(record->GetCommStat().m_number, number);
    });
}

BOOL CKelvardinDoc::SetIcomStatusValues(int icom, DWORD byteValue, DWORD wordValue) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* record = FindIcom(icom);
        if (!record) return FALSE;
        CCommStat& status = record->GetCommStat();
        const BOOL byteChanged = StoreChanged(status.m_byteValue, byteValue);
        const BOOL wordChanged = StoreChanged(status.m_wordValue, wordValue);
        return byteChanged || wordChanged;
    });
}

BOOL CKelvardinDoc::SetIcomStatusText(int icom, const CString& text) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* record = FindIcom(icom);
        return record && StoreChanged(record->GetCommStat().m_text, text);
    });
}

BOOL CKelvardinDoc::SetIcomRemoteTrunkSet(int icom, const CBitArray& ports) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* record = FindIcom(icom);
        if (!record || !record->GetRemStat().SetPorts(ports)) return FALSE;
        InvalidatePortCheck();
        return TRUE;
    });
}

BOOL CKelvardinDoc::SetIcomRemoteTrunkBase(int icom, DWORD start) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* record = FindIcom(icom);
        if (!record || !record->GetRemStat().SetStart(start)) return FALSE;
        m_rangeCheck.stale = TRUE;
        return TRUE;
    });
}

BOOL CKelvardinDoc::SetCommErrors(int icom, int which, const CCommErrs& errors) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* record = FindIcom(icom);
        CCommErrs* stored = PickStatus(icom, which, GetApp().GetConfig().m_commErrs,
                                       record ? &record->GetCommErrs() : nullptr);
        return stored && StoreChanged(*stored, errors);
    });
}

BOOL CKelvardinDoc::SetCommStat(int icom, int which, const CCommStat& status) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* record = FindIcom(icom);
        CCommStat* stored = PickStatus(icom, which, GetApp().GetConfig().m_commStat,
                                       record ? &record->GetCommStat() : nullptr);
        return stored && StoreChanged(*stored, status);
    });
}

BOOL CKelvardinDoc::SetTrunkSummary(int first, int second, const CSummary& summary) {
    return StoreReceived([&]() -> BOOL {
        const int count = GetApp().GetConfig().m_wNumIntercoms;
        if (first < 0 || first >= count || second >= count) return FALSE;
        CSummary* stored = nullptr;
        if (second == -1) {
            stored = GetApp().GetConfig().FindSummary(first);
        } else if (CIntercom* record = FindIcom(second)) {
            stored = record->FindSummary(first);
        }
        return stored && StoreChanged(*stored, summary);
    });
}

BOOL CKelvardinDoc::SetIcomNameFromController(int icom, int length, const CString& name,
                                              BOOL mark) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* record = FindIcom(icom);
        if (!record || (!mark && IsIcomNameModified(icom, length))) return FALSE;
        if (!record->SetName(length, name, mark)) return FALSE;
        if (length == 4) InvalidateIcomChecks();
        return TRUE;
    });
}

// ---- Groups ---------------------------------------------------------------------------------

BOOL CKelvardinDoc::SetGroupMember(int group, int icom, BOOL member) {
    CGroup* record = FindGroup(group);
    return record && record->SetMember(icom, member, TRUE);
}

BOOL CKelvardinDoc::SetGroupNameFromController(BOOL force, int group, const CString& name) {
    return StoreReceived([&]() -> BOOL {
        CGroup* record = FindGroup(group);
        if (!record || (!force && record->IsModified(CGroup::kFieldName))) return FALSE;
        return record->SetName(name, FALSE);
    });
}

BOOL CKelvardinDoc::SetGroupMembersFromController(int group, int n, const BYTE* bits) {
    return StoreReceived([&]() -> BOOL {
        CGroup* record = FindGroup(group);
        return record && record->SetMembersFromBits(n, bits);
    });
}

// ---- Trunk inspection and the remote-trunking check -----------------------------------------

BOOL CKelvardinDoc::SetTrunkInspect(int trunk, const CInspect& inspect) {
    return StoreReceived([&]() -> BOOL {
        CTrunk* record = FindTrunk(trunk);
        return record && StoreChanged(record->GetInspect(), inspect);
    });
}

BOOL CKelvardinDoc::FindTrunkOnRemoteTrunkPort(int& trunk) {
    if (m_portCheck.stale) {
        m_portCheck = {FALSE, FALSE, -1};
        const int count = GetApp().GetConfig().m_wNumTrunks;
        for (int i = 0; i < count && !m_portCheck.found; ++i) {
            const CTrunk* record = FindTrunk(i);
            if (!record) break;
            for (BOOL first : {TRUE, FALSE}) {
                if (IsOnRemoteTrunkPort(record->GetEndpoint(first), FALSE) ||
                    IsOnRemoteTrunkPort(record->GetFixedAssign(first), TRUE)) {
                    m_portCheck = {FALSE, TRUE, i};
                    break;
                }
            }
        }
    }
    if (m_portCheck.found) trunk = m_portCheck.number;
    return m_portCheck.found;
}
