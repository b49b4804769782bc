#pragma once

#include <map>
#include <string>

#include "link/message.h"

// How often each request was lost with the link. A lost request is asked for again a bounded
// number of times: a reply that the link spoils now and then still gets through, while one it
// spoils nearly always must not keep the link busy for ever.
class CLostRequests {
public:
    static constexpr int kRetries = 10;

    // Counts a loss of the request: TRUE while it may be asked for again.
    BOOL Lost(const CMessage& request);
    // Its reply came.
    void Answered(const CMessage& request);
    void Clear() { m_losses.clear(); }

private:
    // The command and the payload, as bytes.
    static std::string Key(const CMessage& request);

    std::map<std::string, int> m_losses;
};
