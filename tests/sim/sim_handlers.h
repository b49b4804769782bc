#pragma once

#include <map>

#include "tests/sim/sim_controller.h"

// The controller's answer to the serial presence poll (the raw byte 0x9E): command 1 with
// the status record.
SimFrame SimStatusReply(const CorvaneState& state);

// The built-in handlers, by command code.
std::map<unsigned, CSimController::Handler> SimDefaultHandlers();
