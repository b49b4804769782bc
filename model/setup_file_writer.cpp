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

// The bitmap, then the records of the included objects in ascending order.
void WriteIncluded(CFile& file, const CBitArray& present, const std::vector<CCVObject*>& included,
                   UINT recordSize, BOOL clearAfter) {
    WritePresenceBitmap(file, present);
    if (included.empty()) return;
    CRecordWriter records(file, static_cast<UINT>(included.size()), recordSize);
    for (CCVObject* object : included)
        object->ToWire(records.Next(), static_cast<int>(recordSize), clearAfter);
    records.Flush();
}

}  // namespace

int CKelvardinDoc::WriteSetupFile(CFile& file, const CString& fileName, BOOL partial,
                                  BOOL clearAfter) {
    const int result = RunFileOperation(kIdsWriteFailed, fileName, [&] {
        WriteFileHeader(file, partial);
        for (const CFileSection& row : CFileSigTable::GetRows())
            WriteSection(file, row, clearAfter);
        return kFileDone;
    });
    UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
    if (result == kFileDone)
        m_bPartialFile = partial && GetApp().GetMode() != CAppState::kModeOnline;
    return result;
}

void CKelvardinDoc::WriteSection(CFile& file, const CFileSection& row, BOOL clearAfter) {
    if (row.m_objectType == CObjSpec::kNone) {
        WriteSignatureSection(file);
        return;
    }
    // The configured size of the kind, whatever is present.
    const UINT count =
        static_cast<UINT>(GetApp().GetConfig().GetObjectCount(row.m_objectType, FALSE));
    CSectionHeader{row.m_code, static_cast<WORD>(count), row.m_recordSize}.Write(file);
    if (row.m_objectType == CObjSpec::kAlpha)
        WriteAlphaRecords(file, count, row.m_recordSize, clearAfter);
    else
        WriteSectionRecords(file, count, row.m_objectType, row.m_recordSize, clearAfter);
}

void CKelvardinDoc::WriteSectionRecords(CFile& file, UINT count, int type, UINT recordSize,
                                        BOOL clearAfter) {
    if (count == 0) return;
    CBitArray present(count);
    std::vector<CCVObject*> included;
    for (UINT i = 0; i < count; ++i) {
        CCVObject* object = FindObject(CObjSpec(static_cast<DWORD>(type), i, 1));
        if (!object || !(object->GetFlags() & CCVObject::kInFile)) continue;
        present.SetBit(i, TRUE);
        included.push_back(object);
    }
    WriteIncluded(file, present, included, recordSize, clearAfter);
}

void CKelvardinDoc::WriteAlphaRecords(CFile& file, UINT count, UINT recordSize, BOOL clearAfter) {
    if (count == 0) return;
    // The k-th alpha in key order has bit k; its intercom's flag word of its list says
    // whether it is included.
    CBitArray present(count);
    std::vector<CCVObject*> included;
    UINT k = 0;
    for (auto it = m_alphas.begin(); it != m_alphas.end() && k < count; ++it, ++k) {
        const CAssign& key = it->second.GetKey();
        if (!IsAlphaTypeIncluded(key.m_icom, key.m_type)) continue;
        present.SetBit(k, TRUE);
        included.push_back(&it->second);
    }
    WriteIncluded(file, present, included, recordSize, clearAfter);
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
