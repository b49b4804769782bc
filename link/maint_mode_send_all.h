#pragma once

#include "link/send_all.h"

class CCVDataMgr;

// Sends the pending maintenance-mode commands of trunks, then the pending normal-mode ones,
// one trunk per message. It leaves the setup's change flags alone: none of its messages
// carries a setup change.
class CMaintModeSendAll : public CSendAll {
public:
    explicit CMaintModeSendAll(CCVDataMgr& manager) : m_manager(manager) {}

    void Reset() override {}
    // Device lock held, as the device link pulls its messages.
    BOOL BuildNext(CMessage& message) override;
    // A command given up, or failed before it went, is not carried by the next send.
    void OnSendEnded() override;

private:
    CCVDataMgr& m_manager;
};
