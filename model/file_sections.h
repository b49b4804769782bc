#pragma once

#include <array>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class CFile;

// A setup file starts with a header of 256 bytes of 8-bit text: the header text, 0x1A, a
// filler of "ZUB" repeated up to byte 249, then "-F-EOH" for a full save or "-P-EOH" for a
// partial one. The text names the file's kind, the product version that wrote it and the
// program's build date.
constexpr UINT kFileHeaderSize = 256;
std::array<BYTE, kFileHeaderSize> MakeFileHeader(const CString& productVersion,
                                                 const CString& buildDate, BOOL partial);

// The head of a setup file section: "XXXX", the section code, the number of objects that its
// presence bitmap covers and the size of its records, numbers big-endian.
struct CSectionHeader {
    static constexpr UINT kSize = 10;

    // How a read of a header ended: whole, at the end of the file, or cut by the end.
    enum class Read { kWhole, kEnd, kCut };

    void Write(CFile& file) const;
    // The "XXXX" is not checked.
    Read ReadFrom(CFile& file);

    WORD m_code = 0;
    WORD m_count = 0;
    WORD m_recordSize = 0;
};

// One kind of section: its code, name and the records it holds.
struct CFileSection {
    WORD m_code;
    int m_nameId;       // string id of the name, -1 for none
    int m_objectType;   // the object type of its records; 0 for the file signatures
    WORD m_recordSize;  // the size written
};

// The sections of a setup file, in the order they are written.
class CFileSigTable {
public:
    static constexpr int kRowCount = 10;
    static constexpr WORD kSignatureCode = 5;
    static constexpr WORD kSignatureCount = 1024;
    static constexpr UINT kSignatureLength = 32;

    static const std::array<CFileSection, kRowCount>& GetRows();
    // The row of a section that can be read: a known code with records. Its records are read
    // in the form their size selects; a record shorter than its form reads as if padded with
    // zeros. Null for any other section, which is skipped.
    static const CFileSection* FindReadableRow(const CSectionHeader& header);
};
