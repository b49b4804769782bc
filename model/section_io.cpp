#include "model/section_io.h"

#include <algorithm>

#include "platform/io/file.h"

namespace {

UINT RecordsPerPiece(UINT recordSize) {
    return std::max(1u, kRecordBufferSize / recordSize);
}

}  // namespace

void WritePresenceBitmap(CFile& file, const CBitArray& present) {
    if (present.GetByteCount()) file.Write(present.GetBytes(), present.GetByteCount());
}

BOOL ReadPresenceBitmap(CFile& file, UINT count, CBitArray& present) {
    present.SetSize(count);
    if (count == 0) return TRUE;
    std::vector<BYTE> bytes(present.GetByteCount(), 0);
    const UINT read = file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    present.LoadBits(bytes.data());
    return read == bytes.size();
}

CRecordWriter::CRecordWriter(CFile& file, UINT records, UINT recordSize)
    : m_file(file),
      m_recordSize(recordSize),
      m_buffer(static_cast<size_t>(std::min(records, RecordsPerPiece(recordSize))) * recordSize) {}

BYTE* CRecordWriter::Next() {
    if (m_used + m_recordSize > m_buffer.size()) Flush();
    BYTE* record = m_buffer.data() + m_used;
    std::fill_n(record, m_recordSize, BYTE{0});
    m_used += m_recordSize;
    return record;
}

void CRecordWriter::Flush() {
    if (m_used) m_file.Write(m_buffer.data(), static_cast<UINT>(m_used));
    m_used = 0;
}

CRecordReader::CRecordReader(CFile& file, UINT records, UINT recordSize)
    : m_file(file), m_recordSize(recordSize), m_left(records) {}

const BYTE* CRecordReader::Next() {
    if (m_used + m_recordSize > m_filled) {
        if (m_left == 0) return nullptr;
        const UINT records = std::min(m_left, RecordsPerPiece(m_recordSize));
        const size_t bytes = static_cast<size_t>(records) * m_recordSize;
        if (m_buffer.size() < bytes) m_buffer.resize(bytes);
        const UINT read = m_file.Read(m_buffer.data(), static_cast<UINT>(bytes));
        // Only whole records count: what follows a cut is never applied.
        const UINT whole = read / m_recordSize;
        m_left = whole < records ? 0 : m_left - records;
        m_filled = static_cast<size_t>(whole) * m_recordSize;
        m_used = 0;
        if (whole == 0) return nullptr;
    }
    const BYTE* record = m_buffer.data() + m_used;
    m_used += m_recordSize;
    return record;
}
