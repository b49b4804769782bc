#pragma once

#include <ctime>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class CSNMPConfig;

// What the data reply handlers need beside the document and the reply: the data manager's
// services and the main window. The data manager implements it.
class IReplyContext {
public:
    virtual ~IReplyContext() = default;

    // Posts to the main window (the validation warnings).
    virtual void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Appends one record to the controller's request log; FALSE when it was not written.
    virtual BOOL AppendControllerLog(const CString& line) = 0;
    // Queues the setting of the controller's clock from the computer's.
    virtual void SetClock() = 0;
    // The program's SNMP configuration.
    virtual CSNMPConfig& GetSNMPConfig() = 0;
    // Ends a wait for a one-shot item's reply (RequestMiscAndWait).
    virtual void EndMiscWait(int item) = 0;
    // The item's reply came but could not be taken: the wait ends as failed.
    virtual void FailMiscWait(int item) = 0;
    // The computer's clock.
    virtual std::time_t Now() const { return std::time(nullptr); }
};
