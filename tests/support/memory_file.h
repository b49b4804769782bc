#pragma once

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "platform/io/file.h"

// A file in memory that records the size of every read and write and can be made to fail:
// a write that would pass a size, or a read from a position on.
class CMemFile : public CFile {
public:
    CMemFile() = default;
    explicit CMemFile(std::vector<BYTE> bytes) : m_bytes(std::move(bytes)) {}

    UINT Read(void* buffer, UINT count) override {
        if (m_failReadsFrom && m_position + count > *m_failReadsFrom) Fail();
        const size_t n =
            m_position < m_bytes.size() ? std::min<size_t>(count, m_bytes.size() - m_position) : 0;
        if (n) std::memcpy(buffer, m_bytes.data() + m_position, n);
        m_position += n;
        m_reads.push_back(count);
        return static_cast<UINT>(n);
    }
    void Write(const void* buffer, UINT count) override {
        if (m_failWritesFrom && m_position + count > *m_failWritesFrom) Fail();
        if (m_bytes.size() < m_position + count) m_bytes.resize(m_position + count);
        std::memcpy(m_bytes.data() + m_position, buffer, count);
        m_position += count;
        m_writes.push_back(count);
    }
    std::uint64_t Seek(std::int64_t offset, SeekPosition from) override {
        const std::int64_t base = from == begin     ? 0
                                  : from == current ? static_cast<std::int64_t>(m_position)
                                                    : static_cast<std::int64_t>(m_bytes.size());
        if (base + offset < 0) throw CFileException(CFileException::other);
        m_position = static_cast<size_t>(base + offset);
        return m_position;
    }
    std::uint64_t GetPosition() const override { return m_position; }
    std::uint64_t GetLength() const override { return m_bytes.size(); }

    std::vector<BYTE> m_bytes;
    size_t m_position = 0;
    std::vector<UINT> m_reads;
    std::vector<UINT> m_writes;

    std::optional<size_t> m_failWritesFrom;
    std::optional<size_t> m_failReadsFrom;
    CFileException::Cause m_failCause = CFileException::diskFull;
    bool m_failOutOfMemory = false;

private:
    void Fail() const {
        if (m_failOutOfMemory) throw std::bad_alloc();
        throw CFileException(m_failCause);
    }
};
