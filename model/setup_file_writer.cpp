#include <string>
#include <vector>

#include "model/app_state.h"
#include "model/file_error.h"
#include "model/file_sections.h"
#include "model/kelvardin_doc.h"
#include "model/section_io.h"
#include "platform/base/codepage.h"
#include "platform/io/file.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace {

// The bitmap, then the records of the included objects in ascending order. The objects keep
// their change bits: the file is not yet known to be complete.
void WriteIncluded(CFile& file, const CBitArray& present, const std::vector<CCVObject*>& included,
                   UINT recordSize) {
    WritePresenceBitmap(file, present);
    if (included.empty()) return;
    CRecordWriter records(file, static_cast<UINT>(included.size()), recordSize);
    for (CCVObject* object : included)
        object->ToWire(records.Next(), static_cast<int>(recordSize), FALSE);
    records.Flush();
}

}  // namespace

int CKelvardinDoc::WriteSetupFile(CFile& file, const CString& fileName, BOOL partial,
                                  BOOL clearAfter, const std::function<void()>& finish) {
    const int result = RunFileOperation(kIdsWriteFailed, fileName, [&] {
        WriteFileHeader(file, partial);
        for (const CFileSection& row : CFileSigTable::GetRows())
            WriteSection(file, row);
        if (finish) finish();
        return kFileDone;
    });
    // A save that failed leaves every change to be saved again.
    if (result == kFileDone) {
        if (clearAfter) ClearSavedChanges();
        m_bPartialFile = partial && GetApp().GetMode() != CAppState::kModeOnline;
    }
    UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
    return result;
}

UINT CKelvardinDoc::SectionCount(const CFileSection& row) const {
    // The configured size of the kind, whatever is present.
    return static_cast<UINT>(GetApp().GetConfig().GetObjectCount(row.m_objectType, FALSE));
}

void CKelvardinDoc::WriteSection(CFile& file, const CFileSection& row) {
    if (row.m_objectType == CObjSpec::kNone) {
        WriteSignatureSection(file);
        return;
    }
    const UINT count = SectionCount(row);
    CSectionHeader{row.m_code, static_cast<WORD>(count), row.m_recordSize}.Write(file);
    if (count == 0) return;
    CBitArray present(count);
    std::vector<CCVObject*> included;
    FindIncluded(row.m_objectType, count, present, included);
    WriteIncluded(file, present, included, row.m_recordSize);
}

void CKelvardinDoc::ClearSavedChanges() {
    // Each form clears the change bits it carries, as it would have had it been sent.
    for (const CFileSection& row : CFileSigTable::GetRows()) {
        const UINT count = row.m_objectType == CObjSpec::kNone ? 0 : SectionCount(row);
        if (count == 0) continue;
        CBitArray present(count);
        std::vector<CCVObject*> included;
        FindIncluded(row.m_objectType, count, present, included);
        std::vector<BYTE> record(row.m_recordSize);
        for (CCVObject* object : included)
            object->ToWire(record.data(), static_cast<int>(record.size()), TRUE);
    }
}

void CKelvardinDoc::FindIncluded(int type, UINT count, CBitArray& present,
                                 std::vector<CCVObject*>& included) {
    if (type == CObjSpec::kAlpha) {
        FindIncludedAlphas(count, present, included);
        return;
    }
    for (UINT i = 0; i < count; ++i) {
        CCVObject* object = FindObject(CObjSpec(static_cast<DWORD>(type), i, 1));
        if (!object || !(object->GetFlags() & CCVObject::kInFile)) continue;
        present.SetBit(i, TRUE);
        included.push_back(object);
    }
}

void CKelvardinDoc::FindIncludedAlphas(UINT count, CBitArray& present,
                                       std::vector<CCVObject*>& included) {
    // The k-th alpha in key order has bit k; its intercom's flag word of its list says
    // whether it is included.
    UINT k = 0;
    for (auto it = m_alphas.begin(); it != m_alphas.end() && k < count; ++it, ++k) {
        const CAssign& key = it->second.GetKey();
        if (!IsAlphaTypeIncluded(key.m_icom, key.m_type)) continue;
        present.SetBit(k, TRUE);
        included.push_back(&it->second);
    }
}

void CKelvardinDoc::WriteSignatureSection(CFile& file) {
    constexpr UINT kLength = CFileSigTable::kSignatureLength;
    CSectionHeader{CFileSigTable::kSignatureCode, CFileSigTable::kSignatureCount,
                   static_cast<WORD>(kLength)}
        .Write(file);
    m_signatureTexts.assign(CFileSigTable::kSignatureCount, CString());
    m_signatureBits.SetAll(FALSE);
    CBitArray present(CFileSigTable::kSignatureCount);
    for (const CFileSection& row : CFileSigTable::GetRows()) {
        if (row.m_nameId < 0 || row.m_code >= CFileSigTable::kSignatureCount) continue;
        std::string name = ToAnsi(LoadResString(static_cast<unsigned>(row.m_nameId)).str());
        if (name.size() < kLength) name.resize(kLength, ' ');
        m_signatureTexts[row.m_code] = FromAnsi(name);
        m_signatureBits.SetBit(row.m_code, TRUE);
        present.SetBit(row.m_code, TRUE);
    }
    WritePresenceBitmap(file, present);
    std::string records;
    for (int code = present.FindNext(0); code >= 0; code = present.FindNext(code + 1))
        records += ToAnsi(m_signatureTexts[static_cast<size_t>(code)].str()).substr(0, kLength);
    if (!records.empty()) file.Write(records.data(), static_cast<UINT>(records.size()));
}
