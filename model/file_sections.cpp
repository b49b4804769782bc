#include "model/file_sections.h"

#include <algorithm>

#include "model/obj_spec.h"
#include "model/records.h"
#include "platform/base/byte_order.h"
#include "platform/io/file.h"

namespace {

constexpr std::array<CFileSection, CFileSigTable::kRowCount> kRows = {{
    {0, 2133, CObjSpec::kTrunk, CTrunk::kWireSize},
    {1, 2134, CObjSpec::kIntercom, CIntercom::kWireSize},
    {2, 2209, CObjSpec::kGroup, CGroup::kWireSize},
    {3, 2206, CObjSpec::kOptions, COptions::kWireSize},
    {4, 2136, CObjSpec::kAlpha, CAlpha::kWireSize},
    {CFileSigTable::kSignatureCode, 2138, CObjSpec::kNone, CFileSigTable::kSignatureLength},
    {6, 2446, CObjSpec::kIntercom, CIntercom::kWideWireSize},
    {7, 2447, CObjSpec::kGroup, CGroup::kWideWireSize},
    {8, 2445, CObjSpec::kAlpha, CAlpha::kWideWireSize},
    {9, 5508, CObjSpec::kGroup, CGroup::kExtendedWireSize},
}};

}  // namespace

void CSectionHeader::Write(CFile& file) const {
    BYTE bytes[kSize] = {'X', 'X', 'X', 'X'};
    PutU16BE(bytes + 4, m_code);
    PutU16BE(bytes + 6, m_count);
    PutU16BE(bytes + 8, m_recordSize);
    file.Write(bytes, kSize);
}

CSectionHeader::Read CSectionHeader::ReadFrom(CFile& file) {
    BYTE bytes[kSize] = {};
    const UINT read = file.Read(bytes, kSize);
    if (read == 0) return Read::kEnd;
    if (read < kSize) return Read::kCut;
    m_code = GetU16BE(bytes + 4);
    m_count = GetU16BE(bytes + 6);
    m_recordSize = GetU16BE(bytes + 8);
    return Read::kWhole;
}

const std::array<CFileSection, CFileSigTable::kRowCount>& CFileSigTable::GetRows() {
    return kRows;
}

const CFileSection* CFileSigTable::FindReadableRow(const CSectionHeader& header) {
    const auto row = std::find_if(kRows.begin(), kRows.end(),
                                  [&](const CFileSection& r) { return r.m_code == header.m_code; });
    return row != kRows.end() && header.m_recordSize > 0 ? &*row : nullptr;
}
