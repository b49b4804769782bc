#include <algorithm>

#include "model/app_state.h"
#include "model/records.h"
#include "model/wire_form.h"
#include "platform/base/byte_order.h"

namespace {

// The change bit of a name length code, 0 for other codes.
DWORD NameBits(int length) {
    switch (length) {
        case 4: return 0x01;
        case 6: return 0x02;
        case 8: return 0x04;
        case 16: return 0x20;
        default: return 0;
    }
}

// Bytes of the short-names form.
constexpr int kName4At = 0, kName6At = 4, kName8At = 10;
constexpr int kBaudAt = 18, kComPortAt = 19, kNetworkAt = 20, kConnTypeAt = 21;
constexpr int kPrimaryAt = 22, kBackupAt = 26, kCostAt = 30;

// Change bits the short-names form carries: the narrow names, baud rate and COM port always,
// the network part and the cascade cost with their capabilities.
constexpr DWORD kShortFormBits = 0x201F;
constexpr DWORD kNetworkBits = 0x1C0;
constexpr DWORD kCostBits = 0x200;
constexpr DWORD kWideFormBits = 0x2020;

BYTE NoneAs255(int value) {
    return static_cast<BYTE>(value);  // -1 becomes 255
}

int NoneFrom255(BYTE value) {
    return value == 255 ? -1 : value;
}

const CIntercom::CAlphaList kNoAlphas;

bool ValidIndex(int index) {
    return index >= 0 && index < kAlphaListCount;
}

}  // namespace

CIntercom::CIntercom() : CFieldBitsRecord(0x3FF) {
    for (int length : {4, 6, 8, 16})
        this->*NameOf(length) = PadName(CString(), length);
}

DWORD CIntercom::FieldBits(UINT fieldId) const {
    switch (fieldId) {
        case kFieldRecord: return 0x3FF;
        case kFieldName: return NameBits(GetApp().GetConfig().m_nAlphaSize);
        case kFieldName4: return 0x01;
        case kFieldName6: return 0x02;
        case kFieldName8: return 0x04;
        case kFieldName8W: return 0x20;
        case kFieldConnection: return 0x40;
        case kFieldPrimaryIP: return 0x80;
        case kFieldBackupIP: return 0x100;
        case kFieldComPort: return 0x10;
        case kFieldBaudRate: return 0x08;
        case kFieldCascadeCost: return 0x200;
        default: return 0;
    }
}

CString CIntercom::*CIntercom::NameOf(int length) {
    switch (length) {
        case 4: return &CIntercom::m_name4;
        case 6: return &CIntercom::m_name6;
        case 8: return &CIntercom::m_name8;
        case 16: return &CIntercom::m_name8W;
        default: return nullptr;
    }
}

CString CIntercom::PadName(const CString& name, int length) {
    const int target = length == 16 ? 8 : length;
    if (name.IsEmpty() || name[0] == u'\0') return CString(u' ', target);
    return PadWithBlanks(name, target);
}

CString CIntercom::GetName(int length) const {
    const auto name = NameOf(length);
    return name ? this->*name : CString();
}

BOOL CIntercom::SetName(int length, const CString& name, BOOL mark) {
    const auto stored = NameOf(length);
    if (!stored) return FALSE;
    return StoreField(this->*stored, PadName(name, length), NameBits(length), mark);
}

int CIntercom::FromWire(const BYTE* buffer, int length, BOOL mark) {
    if (length != kWideWireSize) return ReadShortForm(buffer, length, mark);
    const auto r = ReadForm<kWideWireSize>(buffer, length);
    m_name8W = PadName(GetUtf16LE(r.data(), 8), 16);
    if (mark) m_dwFlags |= kWideFormBits;
    return kWideWireSize;
}

int CIntercom::ToWire(BYTE* buffer, int length, BOOL clearAfter) {
    if (length != kWideWireSize) return WriteShortForm(buffer, length, clearAfter);
    std::array<BYTE, kWideWireSize> r{};
    m_name8W = PadName(m_name8W, 16);
    PutUtf16LE(r.data(), m_name8W.str(), 8);
    const int written = WriteForm(r.data(), kWideWireSize, buffer, length);
    if (written && clearAfter) m_dwFlags &= ~kWideFormBits;
    return written;
}

int CIntercom::ReadShortForm(const BYTE* buffer, int length, BOOL mark) {
    const auto r = ReadForm<kWireSize>(buffer, length);
    m_name4 = PadName(GetNarrowText(&r[kName4At], 4), 4);
    m_name6 = PadName(GetNarrowText(&r[kName6At], 6), 6);
    m_name8 = PadName(GetNarrowText(&r[kName8At], 8), 8);
    m_nBaudRate = NoneFrom255(r[kBaudAt]);
    m_nComPort = NoneFrom255(r[kComPortAt]);
    const CCVConfig& config = GetApp().GetConfig();
    const bool network = r[kNetworkAt] != 0 && config.HasCapability(CCVConfig::kEthernetToMC);
    if (network) {
        m_nConnType = r[kConnTypeAt];
        m_dwPrimaryIP = GetU32BE(&r[kPrimaryAt]);
        m_dwBackupIP = GetU32BE(&r[kBackupAt]);
    }
    const bool costs = config.HasCapability(CCVConfig::kCascadeCosts);
    m_nCascadeCost = costs ? GetU16BE(&r[kCostAt]) : 100;
    if (mark) m_dwFlags |= kShortFormBits | (network ? kNetworkBits : 0) | (costs ? kCostBits : 0);
    return kWireSize;
}

int CIntercom::WriteShortForm(BYTE* buffer, int length, BOOL clearAfter) {
    std::array<BYTE, kWireSize> r{};
    const int at[] = {kName4At, kName6At, kName8At};
    const int lengths[] = {4, 6, 8};
    for (int i = 0; i < 3; ++i) {
        CString& name = this->*NameOf(lengths[i]);
        name = PadName(name, lengths[i]);
        PutNarrowText(&r[at[i]], name.str(), lengths[i]);
    }
    r[kBaudAt] = NoneAs255(m_nBaudRate);
    r[kComPortAt] = NoneAs255(m_nComPort);
    const CCVConfig& config = GetApp().GetConfig();
    const bool network = config.HasCapability(CCVConfig::kEthernetToMC);
    if (network) {
        r[kNetworkAt] = 1;
        r[kConnTypeAt] = static_cast<BYTE>(m_nConnType);
        PutU32BE(&r[kPrimaryAt], m_dwPrimaryIP);
        PutU32BE(&r[kBackupAt], m_dwBackupIP);
    }
    const bool costs = config.HasCapability(CCVConfig::kCascadeCosts);
    if (costs) PutU16BE(&r[kCostAt], static_cast<WORD>(m_nCascadeCost));
    const int written = WriteForm(r.data(), kWireSize, buffer, length);
    if (written && clearAfter)
        m_dwFlags &= ~(kShortFormBits | (network ? kNetworkBits : 0) | (costs ? kCostBits : 0));
    return written;
}

const CSummary& CIntercom::GetSummary(int i) const {
    return m_summaries.Get(i, GetApp().GetConfig().m_wNumIntercoms);
}

CSummary* CIntercom::FindSummary(int i) {
    return m_summaries.Find(i, GetApp().GetConfig().m_wNumIntercoms);
}

int CIntercom::GetAlphaCount(int index) const {
    if (index == -1) {
        int sum = 0;
        for (const auto& list : m_alphas)
            sum += static_cast<int>(list.size());
        return sum;
    }
    return ValidIndex(index) ? static_cast<int>(m_alphas[index].size()) : 0;
}

const CIntercom::CAlphaList& CIntercom::GetAlphas(int index) const {
    return ValidIndex(index) ? m_alphas[index] : kNoAlphas;
}

std::vector<CAlpha*> CIntercom::GetAlphaList(int index) const {
    std::vector<CAlpha*> list;
    for (const auto& [number, alpha] : GetAlphas(index))
        list.push_back(alpha);
    return list;
}

namespace {

CIntercom::CAlphaList::iterator FindPlace(CIntercom::CAlphaList& list, WORD number) {
    return std::lower_bound(list.begin(), list.end(), number,
                            [](const auto& entry, WORD n) { return entry.first < n; });
}

}  // namespace

void CIntercom::InsertAlpha(CAlpha* alpha) {
    const CAssign& key = alpha->GetKey();
    if (!ValidIndex(key.m_type)) return;
    CAlphaList& list = m_alphas[key.m_type];
    if (list.empty() || list.back().first < key.m_number) {
        list.emplace_back(key.m_number, alpha);
        return;
    }
    const auto place = FindPlace(list, key.m_number);
    if (place != list.end() && place->first == key.m_number)
        place->second = alpha;
    else
        list.emplace(place, key.m_number, alpha);
}

BOOL CIntercom::RemoveAlpha(const CAssign& key) {
    if (!ValidIndex(key.m_type)) return FALSE;
    CAlphaList& list = m_alphas[key.m_type];
    const auto place = FindPlace(list, key.m_number);
    if (place == list.end() || place->first != key.m_number) return FALSE;
    list.erase(place);
    return TRUE;
}

int CIntercom::RemoveAlphasFrom(const CAssign& key) {
    if (!ValidIndex(key.m_type)) return 0;
    CAlphaList& list = m_alphas[key.m_type];
    const auto from = FindPlace(list, key.m_number);
    const int removed = static_cast<int>(std::distance(from, list.end()));
    list.erase(from, list.end());
    return removed;
}

int CIntercom::FindAlphas(int index, const CString& label, std::vector<CAlpha*>& found) const {
    if (index >= kAlphaListCount) return 0;
    int count = 0;
    for (int i = 0; i < kAlphaListCount; ++i) {
        if (index >= 0 && i != index) continue;
        for (const auto& [number, alpha] : m_alphas[i]) {
            if (alpha->GetLabel() != label) continue;
            found.push_back(alpha);
            ++count;
        }
    }
    return count;
}

DWORD CIntercom::GetAlphaFlags(int index) const {
    return ValidIndex(index) ? m_alphaFlags[index] : 0;
}

void CIntercom::SetAlphaFlags(int index, DWORD bits, BOOL on) {
    if (ValidIndex(index)) SetBits(m_alphaFlags[index], bits, on);
}
