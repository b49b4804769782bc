#pragma once

#include "link/callback.h"

class CDEVICEComm;

// The hooks that the device link installs in its engine. They decide, by the link state and
// the failure, whether an exchange is sent again, read again or given up, and when the link
// counts as lost. They run on the engine thread.

// Serial errors: a time-out is sent again at once, any other error after a pause; when the
// tries are spent the link is lost and the presence poll starts again.
class CDCError : public CCallback {
public:
    static constexpr int kTries = 4;
    explicit CDCError(CDEVICEComm& device) : m_device(device) {}
    int OnError(const CMsgFail& failure) override;
    void SetTries(int tries) { m_tries = tries; }

private:
    int Decide(const CMsgFail& failure);

    CDEVICEComm& m_device;
    int m_tries = kTries;
};

// Network errors: a time-out is sent again at once; when the tries are spent, or on any other
// error, the link fails over to the standby controller and sets the session up again.
class CUDPError : public CCallback {
public:
    explicit CUDPError(CDEVICEComm& device) : m_device(device) {}
    int OnError(const CMsgFail& failure) override;
    // For each new numbered request.
    void Renew(int tries) {
        m_tries = tries;
        m_failedOver = false;
    }

private:
    int Decide(const CMsgFail& failure);

    CDEVICEComm& m_device;
    int m_tries = CDCError::kTries;
    bool m_failedOver = false;
};

// Checks each reply: one that answers an earlier request is read past, a refused request is
// sent again a few times and then the user is asked, and on the network a reply without a
// session sets the session up again.
class CDCVerify : public CCallback {
public:
    static constexpr int kNakRetries = 4;
    explicit CDCVerify(CDEVICEComm& device) : m_device(device) {}
    int AfterReceive(CDualMessage& pair) override;

private:
    int AskUser(const CDualMessage& pair);

    CDEVICEComm& m_device;
    // Shared by all exchanges, for the whole run.
    int m_naksLeft = kNakRetries;
    // The pair the user is asked about. It lives as long as the device link, since the
    // question may outlive the engine that asked it.
    CDualMessage m_question;
};

// Exchanges answered or dropped without a retry: the address request and memory requests
// sent to the standby controller. It puts the usual hooks back, and a memory request its
// standby processor.
class CDCIgnoreFlop : public CCallback {
public:
    explicit CDCIgnoreFlop(CDEVICEComm& device) : m_device(device) {}
    int OnError(const CMsgFail& failure) override;
    int AfterReceive(CDualMessage& pair) override { return Restore(pair.request); }
    // A memory request of the standby processor goes out naming the active one.
    void NamedActive() { m_namedActive = true; }
    // Before a memory request goes to the standby controller: the tag to restore afterwards.
    void Redirected(WORD savedTag) {
        m_savedTag = savedTag;
        m_redirected = true;
    }

private:
    int Restore(CMessage& request);

    CDEVICEComm& m_device;
    WORD m_savedTag = CMessage::kNoTag;
    bool m_redirected = false;
    bool m_namedActive = false;
};

// Fills what must be current when a request is written (the clock), and sends memory
// requests for the standby processor to the standby controller on the network.
class CDCUpdate : public CCallback {
public:
    explicit CDCUpdate(CDEVICEComm& device) : m_device(device) {}
    int BeforeSend(CMessage& request) override;

private:
    CDEVICEComm& m_device;
};
