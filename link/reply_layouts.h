#pragma once

#include <cstddef>

#include "link/link_config.h"
#include "link/message.h"
#include "model/value_records.h"

// The layouts that a data reply must have to answer its request, shared by the reply handlers
// on the user-interface thread and the data manager on the link engine thread, which asks
// again for what a reply of the wrong length did not bring.

// The layout that a trunk summary request asked for.
struct CSummaryRequest {
    int item = 0;
    bool extended = false;  // records carry the maintenance count
    bool outOfService = false;
    int first = 0;
    int count = 0;
    std::size_t recordSize = 0;
};

// Reads the request as the summary manager builds it for this controller; FALSE when the
// request is shorter than that.
bool ReadSummaryRequest(const CMessage& request, const CLinkConfig& config, CSummaryRequest& out);

// Parses an inspection reply for the trunk; TRUE only when the record fills the payload.
bool ReadInspectReply(const CMessage& reply, int trunk, CInspect& inspect);

// FALSE when the reply answers its request with a payload of another length than the request
// implies: its data cannot be taken. Codes without a data layout, and requests that the
// handlers would refuse for other reasons, always fit.
bool ReplyFitsRequest(const CDualMessage& pair, const CLinkConfig& config);
