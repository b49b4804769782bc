#include <algorithm>
#include <cstdint>
#include <set>
#include <string>

#include "model/app_state.h"
#include "model/file_error.h"
#include "model/file_sections.h"
#include "model/kelvardin_doc.h"
#include "model/partial_save_selection.h"
#include "model/section_io.h"
#include "platform/base/codepage.h"
#include "platform/io/file.h"
#include "res/string_ids.h"

namespace {

// Calls read(row, header) for every section that can be read, skipping the others by their
// own headers, until the end of the file or a section or section header that the end cuts
// short (read answers 0): nothing after a cut is applied. 0 after a cut. The codes of the
// sections that came whole go into came when given.
template <class Read>
BOOL WalkSections(CFile& file, Read read, std::set<WORD>* came = nullptr) {
    CSectionHeader header;
    for (;;) {
        const CSectionHeader::Read head = header.ReadFrom(file);
        if (head == CSectionHeader::Read::kEnd) return TRUE;
        if (head == CSectionHeader::Read::kCut) return FALSE;
        const CFileSection* row = CFileSigTable::FindReadableRow(header);
        const BOOL whole =
            row ? read(*row, header)
                : CKelvardinDoc::SkipWholeSection(file, header.m_count, header.m_recordSize);
        if (!whole) return FALSE;
        if (came) came->insert(header.m_code);
    }
}

// A file that lists its sections in a signature section is whole only when each of them came.
// A file without one cannot say what it lacks.
BOOL CameAsListed(const CBitArray& listed, const std::set<WORD>& came) {
    for (int code = listed.FindNext(0); code >= 0; code = listed.FindNext(code + 1)) {
        if (!came.contains(static_cast<WORD>(code))) return FALSE;
    }
    return TRUE;
}

}  // namespace

int CKelvardinDoc::ReadSetupFile(const CPartialSaveSelection& description, CFile& file,
                                 const CString& fileName, BOOL reset, BOOL mark) {
    BOOL partial = FALSE;
    const int result = RunFileOperation(kIdsReadFailed, fileName, [&] {
        file.SeekToBegin();
        if (!CheckFileHeader(file, nullptr, &partial)) return kFileNotSetup;
        // A file that ends inside its header has lost every section.
        const bool headerWhole = file.GetPosition() >= kFileHeaderSize;
        if (reset) {
            GetApp().GetConfig() = description.GetConfig();
            ResetToDefaultSetup();
        }
        const BOOL whole = ReadSections(file, mark) && headerWhole;
        // After a partial file the objects it held keep their mark.
        if (!partial) SetFlagOnAll(CCVObject::kInFile, FALSE);
        return whole ? kFileDone : kFileIncomplete;
    });
    UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
    UpdateAllFrameViews(nullptr, CUpdateHint::kFileRead);
    if ((result == kFileDone || result == kFileIncomplete) && reset)
        m_bPartialFile = partial && GetApp().GetMode() != CAppState::kModeOnline;
    return result;
}

BOOL CKelvardinDoc::ReadSections(CFile& file, BOOL mark) {
    CBitArray listed(CFileSigTable::kSignatureCount);
    std::set<WORD> came;
    // Each section is read by its own count and record size.
    const BOOL whole = WalkSections(
        file,
        [&](const CFileSection& row, const CSectionHeader& header) {
            return ReadSection(file, row, header, mark, listed);
        },
        &came);
    return whole && CameAsListed(listed, came);
}

BOOL CKelvardinDoc::ReadSection(CFile& file, const CFileSection& row, const CSectionHeader& header,
                                BOOL mark, CBitArray& listed) {
    switch (row.m_objectType) {
        case CObjSpec::kNone:
            return ReadSignatureSection(file, header.m_count, header.m_recordSize, listed);
        case CObjSpec::kAlpha: return ReadAlphaSection(file, header, mark);
        default: {
            const BOOL complete = ReadSectionRecords(file, row, header, mark);
            if (row.m_objectType == CObjSpec::kTrunk) InvalidatePortCheck();
            if (row.m_objectType == CObjSpec::kIntercom) InvalidateIcomChecks();
            return complete;
        }
    }
}

BOOL CKelvardinDoc::ReadSectionRecords(CFile& file, const CFileSection& row,
                                       const CSectionHeader& header, BOOL mark) {
    CBitArray present;
    if (!ReadPresenceBitmap(file, header.m_count, present)) return FALSE;
    if (present.GetCount() == 0) return TRUE;
    const int type = row.m_objectType;
    const int configured = GetApp().GetConfig().GetObjectCount(type, FALSE);
    CRecordReader records(file, present.GetCount(), header.m_recordSize);
    for (int i = present.FindNext(0); i >= 0; i = present.FindNext(i + 1)) {
        const BYTE* record = records.Next();
        if (!record) return FALSE;
        // A record beyond the configured count is consumed and dropped.
        if (i >= configured) continue;
        CCVObject* object =
            FindObject(CObjSpec(static_cast<DWORD>(type), static_cast<DWORD>(i), 1));
        if (!object) continue;
        object->FromFile(record, header.m_recordSize, mark);
        object->NoteWrite(CCVObject::kWholeRecord, ++m_lastWrite);
        object->SetFlags(CCVObject::kInFile, TRUE);
    }
    return TRUE;
}

BOOL CKelvardinDoc::ReadAlphaSection(CFile& file, const CSectionHeader& header, BOOL mark) {
    CBitArray present;
    if (!ReadPresenceBitmap(file, header.m_count, present)) return FALSE;
    // Every alpha is placed by its key, whatever its bit.
    const UINT count = present.GetCount();
    CRecordReader records(file, count, header.m_recordSize);
    for (UINT k = 0; k < count; ++k) {
        const BYTE* record = records.Next();
        if (!record) return FALSE;
        CAlpha alpha;
        alpha.FromFile(record, header.m_recordSize, mark);
        const CAssign key = alpha.GetKey();
        PutAlpha(key, alpha.GetLabel());
        if (FindAlpha(key.GetKey()))
            SetAnyIcomAlphaFlags(key.m_icom, key.m_type, CCVObject::kInFile, TRUE);
    }
    return TRUE;
}

BOOL CKelvardinDoc::ReadSignatureSection(CFile& file, UINT fileCount, UINT recordSize,
                                         CBitArray& listed) {
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
        listed.SetBit(static_cast<UINT>(code), TRUE);
    }
    return TRUE;
}

namespace {

// Moves past a section's bitmap and records; false when the file ends inside them.
BOOL SkipSection(CFile& file, UINT count, UINT recordSize, UINT& records) {
    records = 0;
    if (count == 0) return TRUE;
    // A bitmap cut by the end of the file moves past the end, where the next read ends.
    CBitArray present;
    const BOOL bitmap = ReadPresenceBitmap(file, count, present);
    records = present.GetCount();
    if (records) file.Seek(static_cast<std::int64_t>(records) * recordSize, CFile::current);
    return bitmap && file.GetPosition() <= file.GetLength();
}

}  // namespace

UINT CKelvardinDoc::SkipFileSection(CFile& file, UINT count, UINT recordSize) {
    UINT records = 0;
    SkipSection(file, count, recordSize, records);
    return records;
}

BOOL CKelvardinDoc::SkipWholeSection(CFile& file, UINT count, UINT recordSize) {
    UINT records = 0;
    return SkipSection(file, count, recordSize, records);
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
    // The same sections as the reader reads; a cut is the reader's to report.
    WalkSections(file, [&](const CFileSection& row, const CSectionHeader& header) {
        selection.SetSectionCount(row.m_objectType, header.m_count);
        CBitArray* set = row.m_objectType == CObjSpec::kNone
                             ? &selection.GetSignatureSet()
                             : selection.GetSectionSet(row.m_objectType);
        return ReadSectionBitmap(header.m_count, file, header.m_recordSize, *set);
    });
    return TRUE;
}
