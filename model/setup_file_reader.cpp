#include <algorithm>
#include <cstdint>
#include <new>
#include <string>

#include "model/app_state.h"
#include "model/file_error.h"
#include "model/file_sections.h"
#include "model/kelvardin_doc.h"
#include "model/partial_save_selection.h"
#include "model/section_io.h"
#include "platform/base/codepage.h"
#include "platform/io/file.h"

int CKelvardinDoc::ReadSetupFile(CPartialSaveSelection& description, CFile& file,
                                 const CString& fileName, BOOL reset, BOOL mark) {
    int result = kFileNotSetup;
    BOOL partial = FALSE;
    try {
        file.SeekToBegin();
        if (CheckFileHeader(file, nullptr, &partial)) {
            if (reset) {
                GetApp().GetConfig() = description.GetConfig();
                ResetToDefaultSetup();
            }
            ReadSections(file, mark);
            result = kFileDone;
            // After a partial file the objects it held keep their mark.
            if (!partial) SetFlagOnAll(CCVObject::kInFile, FALSE);
        }
    } catch (const CFileException& error) {
        ReportFileError(2152, fileName, error);
        result = kFileFailed;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        result = kFileNoMemory;
    }
    UpdateAllFrameViews(nullptr, kHintRefresh);
    UpdateAllFrameViews(nullptr, kHintFileRead);
    if (result == kFileDone && reset)
        m_bPartialFile = partial && GetApp().GetMode() != CAppState::kModeOnline;
    return result;
}

void CKelvardinDoc::ReadSections(CFile& file, BOOL mark) {
    CSectionHeader header;
    while (header.Read(file)) {
        const CFileSection* row = CFileSigTable::FindReadableRow(header);
        if (!row) {
            SkipFileSection(file, header.m_count, header.m_recordSize);
            continue;
        }
        // Each section is read by its own count and record size.
        BOOL complete = TRUE;
        switch (row->m_objectType) {
            case CObjSpec::kNone:
                complete = ReadSignatureSection(file, header.m_count, header.m_recordSize);
                break;
            case CObjSpec::kAlpha:
                complete = ReadAlphaSection(file, header.m_count, header.m_recordSize, mark);
                break;
            default:
                complete = ReadSectionRecords(file, row->m_objectType, header.m_count,
                                              header.m_recordSize, mark);
                if (row->m_objectType == CObjSpec::kTrunk) InvalidatePortCheck();
                if (row->m_objectType == CObjSpec::kIntercom) InvalidateIcomChecks();
                break;
        }
        // A section cut short ends the file: nothing after the cut is applied.
        if (!complete) return;
    }
}

BOOL CKelvardinDoc::ReadSectionRecords(CFile& file, int type, UINT fileCount, UINT recordSize,
                                       BOOL mark) {
    CBitArray present;
    if (!ReadPresenceBitmap(file, fileCount, present)) return FALSE;
    if (present.GetCount() == 0) return TRUE;
    const int configured = GetApp().GetConfig().GetObjectCount(type, FALSE);
    CRecordReader records(file, present.GetCount(), recordSize);
    for (int i = present.FindNext(0); i >= 0; i = present.FindNext(i + 1)) {
        const BYTE* record = records.Next();
        if (!record) return FALSE;
        // A record beyond the configured count is consumed and dropped.
        if (i >= configured) continue;
        CCVObject* object =
            FindObject(CObjSpec(static_cast<DWORD>(type), static_cast<DWORD>(i), 1));
        if (!object) continue;
        object->FromFile(record, static_cast<int>(recordSize), mark);
        object->SetFlags(CCVObject::kInFile, TRUE);
    }
    return TRUE;
}

BOOL CKelvardinDoc::ReadAlphaSection(CFile& file, UINT fileCount, UINT recordSize, BOOL mark) {
    CBitArray present;
    if (!ReadPresenceBitmap(file, fileCount, present)) return FALSE;
    // Every alpha is placed by its key, whatever its bit.
    const UINT count = present.GetCount();
    CRecordReader records(file, count, recordSize);
    for (UINT k = 0; k < count; ++k) {
        const BYTE* record = records.Next();
        if (!record) return FALSE;
        CAlpha alpha;
        alpha.FromFile(record, static_cast<int>(recordSize), mark);
        const CAssign key = alpha.GetKey();
        StoreAlpha(key, alpha.GetLabel());
        if (FindAlpha(key.GetKey()))
            SetIcomAlphaFlags(key.m_icom, key.m_type, CCVObject::kInFile, TRUE);
    }
    return TRUE;
}

BOOL CKelvardinDoc::ReadSignatureSection(CFile& file, UINT fileCount, UINT recordSize) {
    constexpr UINT kLength = CFileSigTable::kSignatureLength;
    CBitArray present;
    if (!ReadPresenceBitmap(file, fileCount, present)) return FALSE;
    const UINT count = present.GetCount();
    if (count == 0) return TRUE;
    // Codes beyond the table's 1024 are read past.
    int highest = -1;
    for (int code = present.FindNext(0); code >= 0 && code < CFileSigTable::kSignatureCount;
         code = present.FindNext(code + 1))
        highest = code;
    const size_t entries = static_cast<size_t>(highest + 1);
    if (entries) m_signatureTexts.resize(entries);
    CRecordReader records(file, count, recordSize);
    for (int code = present.FindNext(0); code >= 0; code = present.FindNext(code + 1)) {
        const BYTE* record = records.Next();
        if (!record) return FALSE;
        if (static_cast<size_t>(code) >= entries) continue;
        // A shorter entry is padded with blanks to its 32 characters.
        std::string name(reinterpret_cast<const char*>(record), std::min(recordSize, kLength));
        name.resize(kLength, ' ');
        m_signatureTexts[static_cast<size_t>(code)] = FromAnsi(name);
        m_signatureBits.SetBit(static_cast<UINT>(code), TRUE);
    }
    return TRUE;
}

UINT CKelvardinDoc::SkipFileSection(CFile& file, UINT count, UINT recordSize) {
    if (count == 0) return 0;
    // A bitmap cut by the end of the file moves past the end, where the next read ends.
    CBitArray present;
    ReadPresenceBitmap(file, count, present);
    const UINT records = present.GetCount();
    if (records) file.Seek(static_cast<std::int64_t>(records) * recordSize, CFile::current);
    return records;
}

BOOL CKelvardinDoc::ReadSectionBitmap(UINT count, CFile& file, UINT recordSize, CBitArray& set) {
    if (count == 0) return TRUE;
    try {
        // Nothing of a bitmap cut by the end of the file is read.
        if (!ReadPresenceBitmap(file, count, set)) {
            set.SetSize(0);
            return FALSE;
        }
        const UINT records = set.GetCount();
        if (records) file.Seek(static_cast<std::int64_t>(records) * recordSize, CFile::current);
        return TRUE;
    } catch (...) {
        set.SetSize(0);
        throw;
    }
}

BOOL CKelvardinDoc::ReadFileContents(CFile& file, CPartialSaveSelection& selection) {
    file.SeekToBegin();
    if (!CheckFileHeader(file, nullptr, nullptr)) return FALSE;
    CSectionHeader header;
    while (header.Read(file)) {
        // The same sections as the reader reads.
        const CFileSection* row = CFileSigTable::FindReadableRow(header);
        if (!row) {
            SkipFileSection(file, header.m_count, header.m_recordSize);
            continue;
        }
        selection.SetSectionCount(row->m_objectType, header.m_count);
        CBitArray* set = row->m_objectType == CObjSpec::kNone
                             ? &selection.GetSignatureSet()
                             : selection.GetSectionSet(row->m_objectType);
        if (!ReadSectionBitmap(header.m_count, file, header.m_recordSize, *set)) break;
    }
    return TRUE;
}
