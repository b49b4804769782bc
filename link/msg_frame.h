#pragma once

#include <memory>

#include "link/comm.h"
#include "link/message.h"

// Turns messages into the bytes of one frame and back, over the transport it owns. Every
// operation answers a link result code.
class CMsgFrame {
public:
    explicit CMsgFrame(std::unique_ptr<CComm> comm) : m_comm(std::move(comm)) {}
    virtual ~CMsgFrame() = default;
    CMsgFrame(const CMsgFrame&) = delete;
    CMsgFrame& operator=(const CMsgFrame&) = delete;

    virtual int Receive(CMessage& message) = 0;
    virtual int Send(const CMessage& message) = 0;
    // The payload bytes alone, unframed.
    virtual int SendRaw(const CMessage& message) = 0;
    virtual int GetMaxSequence() const = 0;

    CComm& GetComm() { return *m_comm; }
    const CComm& GetComm() const { return *m_comm; }

protected:
    std::unique_ptr<CComm> m_comm;
};
