#pragma once

#include <vector>

#include "model/bit_array.h"
#include "platform/base/win_types.h"

class CFile;

// Presence bitmaps: ceil(count / 8) bytes, bit i of the set in byte i / 8 under 1 << (i % 8).
void WritePresenceBitmap(CFile& file, const CBitArray& present);
// Reads the bitmap of count objects into a set of count bits; false when the file ended
// inside it (the missing bytes read as 0).
BOOL ReadPresenceBitmap(CFile& file, UINT count, CBitArray& present);

// Records move through one buffer of whole records of at most this many bytes (at least one
// record), so that a large section needs neither one large allocation nor many small writes.
constexpr UINT kRecordBufferSize = 65000;

// Writes the records of a section piece by piece.
class CRecordWriter {
public:
    CRecordWriter(CFile& file, UINT records, UINT recordSize);
    // Zeroed room for the next record; writes the full buffer first.
    BYTE* Next();
    // Writes what the buffer holds.
    void Flush();

private:
    CFile& m_file;
    UINT m_recordSize;
    std::vector<BYTE> m_buffer;
    size_t m_used = 0;
};

// Reads the records of a section piece by piece, each of the section's record size.
class CRecordReader {
public:
    CRecordReader(CFile& file, UINT records, UINT recordSize);
    // The next record, or null when the records are used up or the file ended inside it.
    const BYTE* Next();

private:
    CFile& m_file;
    UINT m_recordSize;
    UINT m_left;  // records not yet read from the file
    std::vector<BYTE> m_buffer;
    size_t m_used = 0;
    size_t m_filled = 0;
};
