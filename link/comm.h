#pragma once

#include <cstddef>
#include <span>

#include "platform/base/message_sink.h"

// A transport that moves raw bytes to and from the controller. Every read and write is
// reported to the notify window (WM_LINK_ACTIVITY), except a read that timed out.
class CComm {
public:
    explicit CComm(IMessageSink* notify) : m_notify(notify) {}
    virtual ~CComm() = default;
    CComm(const CComm&) = delete;
    CComm& operator=(const CComm&) = delete;

    // Reads into the buffer; count tells how many bytes arrived.
    int Read(std::span<BYTE> buffer, std::size_t& count);
    int Write(std::span<const BYTE> bytes);

    // Where the activity reports go; the link routes them through its engine while one runs.
    void SetNotify(IMessageSink* notify) { m_notify = notify; }
    IMessageSink* GetNotify() const { return m_notify; }

    // The byte that ends one read, or -1 for none.
    void SetParams(int endByte) { m_endByte = endByte; }
    int GetEndByte() const { return m_endByte; }

    // The device went away (a serial adapter pulled out) and has not been opened again since:
    // the link counts as not open. Any thread.
    virtual bool HasHungUp() const { return false; }

protected:
    virtual int DoRead(std::span<BYTE> buffer, std::size_t& count) = 0;
    virtual int DoWrite(std::span<const BYTE> bytes) = 0;

private:
    void PostActivity(bool read, int result);

    int m_endByte = -1;
    IMessageSink* m_notify;
};
