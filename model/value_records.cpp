#include "model/value_records.h"

#include "platform/base/byte_order.h"

namespace {

constexpr int kTypeOfIndex[kAlphaListCount] = {0, 1, 2, 3, 4, 5, 6, 8};

}  // namespace

int AlphaTypeToIndex(int typeCode) {
    if (typeCode < 0 || typeCode == 7 || typeCode > 8) return -1;
    return typeCode == 8 ? 7 : typeCode;
}

int AlphaIndexToType(int index) {
    return index >= 0 && index < kAlphaListCount ? kTypeOfIndex[index] : -1;
}

void CAssign::ToWire(BYTE* buffer) const {
    buffer[0] = m_icom;
    buffer[1] = m_type;
    PutU16BE(buffer + 2, m_number);
}

CAssign CAssign::FromWire(const BYTE* buffer) {
    return CAssign(buffer[0], buffer[1], GetU16BE(buffer + 2));
}

// ---------------------------------------------------------------------------------------------

namespace {

const CAssign kNoAssign;

}  // namespace

BOOL CInspect::SetSideId(bool side1, int id) {
    return StoreChanged(m_id[Side(side1)], id);
}

BOOL CInspect::SetPair(bool side1, const CAssign& first, const CAssign& second) {
    return StoreChanged(m_pair[Side(side1)], {first, second});
}

BOOL CInspect::SetEntryCount(bool side1, DWORD count) {
    return StoreChanged(m_count[Side(side1)], count);
}

const CAssign& CInspect::GetEntry(bool side1, int entry) const {
    return InRange(entry) ? m_entries[Side(side1)][entry] : kNoAssign;
}

BOOL CInspect::SetEntry(bool side1, int entry, const CAssign& assign) {
    return InRange(entry) && StoreChanged(m_entries[Side(side1)][entry], assign);
}

BYTE CInspect::GetState(bool side1, int row, int entry) const {
    return InRange(entry) ? m_state[Side(side1)][row][entry] : 0;
}

BOOL CInspect::SetStates(bool side1, int entry, BYTE stateA, BYTE stateB) {
    if (!InRange(entry)) return FALSE;
    auto& rows = m_state[Side(side1)];
    const BOOL changedA = StoreChanged(rows[0][entry], stateA);
    const BOOL changedB = StoreChanged(rows[1][entry], stateB);
    return changedA || changedB;
}

// ---------------------------------------------------------------------------------------------

const CSummary& CSummaryTable::Get(int i, int configuredCount) const {
    static const CSummary kZero;
    return InRange(i, configuredCount) ? m_entries[i] : kZero;
}

CSummary* CSummaryTable::Find(int i, int configuredCount) {
    return InRange(i, configuredCount) ? &m_entries[i] : nullptr;
}

// ---------------------------------------------------------------------------------------------

BOOL CRemStat::SetStart(DWORD start) {
    return StoreChanged(m_start, start);
}

BOOL CRemStat::SetPorts(const CBitArray& ports) {
    return StoreChanged(m_ports, ports);
}
