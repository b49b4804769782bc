#pragma once

#include "link/message.h"

// What a request operation answers, and how the engine sends what it was given.
enum RequestKind : int {
    kRequestNumbered = 0,     // a framed request, numbered and sent at once
    kRequestRaw = 1,          // the payload bytes alone, sent at once
    kRequestRawPoll = -1,     // a raw presence poll, sent only when the engine's wait ran out
    kRequestFramedPoll = -2,  // a framed poll with sequence 0, likewise only on a time-out
    kRequestNone = -3,        // nothing to send
};

// The side of the link that chooses requests and takes replies; the link engine calls it on
// its own thread.
class ILinkDevice {
public:
    // Called with the engine lock held.
    virtual int GetNextRequest(CMessage& request) = 0;
    virtual void PutResponse(const CDualMessage& pair) = 0;

protected:
    ~ILinkDevice() = default;
};
