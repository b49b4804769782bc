#pragma once

#include <map>

#include "tests/sim/sim_controller.h"

// The controller's answers to the data manager's get requests and one-shot queries, from its
// setup, with replies of the sizes the requests imply.
void AddSimDataHandlers(std::map<unsigned, CSimController::Handler>& handlers);
