#pragma once

#include "tests/sim/sim_codec.h"
#include "tests/sim/sim_setup.h"

// Applies a set request of the send of changes to the setup, so that the get requests answer
// the new values. A request that does not parse changes nothing.
void ApplySimSetRequest(SimSetup& setup, const SimFrame& request);
