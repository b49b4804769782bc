#pragma once

#include "link/message.h"

// The source of the set requests of one send: the device link takes one message at a time
// until the source is exhausted.
class CSendAll {
public:
    virtual ~CSendAll() = default;
    // Starts again from the first message.
    virtual void Reset() = 0;
    // Fills the next message; FALSE once the source is exhausted.
    virtual BOOL BuildNext(CMessage& message) = 0;
    // Whether a send of this source that ends without failure has given the controller every
    // change of the setup, so that the change flags may be cleared.
    virtual BOOL ClearsChangesWhenDone() const { return FALSE; }
    // The send has ended, done or not, or never started; the device lock is held.
    virtual void OnSendEnded() {}
};
