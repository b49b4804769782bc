#pragma once

#include <optional>
#include <vector>

#include "platform/base/win_types.h"
#include "shell/io/device_search.h"

// Where a device search sends its request and hears the answers. Without targets of its own
// the request goes to the directed broadcast address of every local network; tests send to
// loopback addresses on free ports instead.
struct CSearchNetwork {
    WORD requestPort = kSearchRequestPort;
    WORD answerPort = kSearchAnswerPort;  // 0: any free port
    std::optional<std::vector<DWORD>> targets;
};
