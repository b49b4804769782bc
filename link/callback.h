#pragma once

#include "link/message.h"

// What the two error hook points are given: the link result code and the request concerned.
struct CMsgFail {
    int result = 0;
    CMessage* request = nullptr;
};

// A hook of the link engine. Each hook point calls one of these; what the answer means is
// the engine's (CLinkEngine).
class CCallback {
public:
    virtual ~CCallback() = default;
    // Before a request is written; it may still change the request.
    virtual int BeforeSend(CMessage& /*request*/) { return 0; }
    // A write or a read failed: resend (> 0), read again (< 0, read errors only) or drop (0).
    virtual int OnError(const CMsgFail& /*failure*/) { return 0; }
    // A reply came: resend (> 0), read again (< 0) or accept (0). It may put back in the request
    // what was changed for the wire before it was written.
    virtual int AfterReceive(CDualMessage& /*pair*/) { return 0; }
};
