#pragma once

#include <algorithm>
#include <deque>
#include <vector>

#include "link/comm.h"
#include "link/link_result.h"

// A transport in memory. Serial style it reads the delivered bytes as one stream, up to the
// end byte; datagram style each delivery is one read. Nothing left to read is a time-out.
class CFakeComm : public CComm {
public:
    explicit CFakeComm(bool datagrams = false, IMessageSink* notify = nullptr)
        : CComm(notify), m_datagrams(datagrams) {}

    void Deliver(std::vector<BYTE> bytes) {
        if (!bytes.empty() || m_datagrams) m_chunks.push_back(std::move(bytes));
    }
    const std::vector<std::vector<BYTE>>& Written() const { return m_written; }
    bool Drained() const { return m_chunks.empty(); }

protected:
    int DoRead(std::span<BYTE> buffer, std::size_t& count) override {
        if (m_chunks.empty()) return LINK_TIMEOUT;
        if (m_datagrams) {
            std::vector<BYTE> datagram = std::move(m_chunks.front());
            m_chunks.pop_front();
            if (datagram.size() > buffer.size()) return LINK_OVERFLOW;
            std::copy(datagram.begin(), datagram.end(), buffer.begin());
            count = datagram.size();
            return LINK_OK;
        }
        while (count < buffer.size()) {
            if (m_chunks.empty()) return LINK_TIMEOUT;
            BYTE byte = m_chunks.front()[m_at++];
            if (m_at == m_chunks.front().size()) {
                m_chunks.pop_front();
                m_at = 0;
            }
            buffer[count++] = byte;
            if (byte == GetEndByte()) return LINK_OK;
        }
        return LINK_OVERFLOW;
    }
    int DoWrite(std::span<const BYTE> bytes) override {
        m_written.emplace_back(bytes.begin(), bytes.end());
        return LINK_OK;
    }

private:
    bool m_datagrams;
    std::deque<std::vector<BYTE>> m_chunks;
    std::size_t m_at = 0;  // read position in the oldest serial chunk
    std::vector<std::vector<BYTE>> m_written;
};
