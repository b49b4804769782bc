#pragma once

#include "link/payload_io.h"
#include "model/value_records.h"

// An assignment on the wire: the intercom byte, then a u16 with the resource type code in bits
// 12-15 and the resource number in bits 0-11. In memory the type is the alpha list index; a
// code without an index (7, 9 or more) reads as none.
constexpr int kWireAssignSize = 3;

CAssign ReadWireAssign(CPayloadReader& reader);
void WriteWireAssign(CPayloadWriter& writer, const CAssign& assign);
