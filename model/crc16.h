#pragma once

#include "platform/base/win_types.h"

// The CRC-16 that closes the SNMP configuration record: polynomial 0xA001 (reflected), register
// starting at 0xE553, no final XOR, stored low byte first. Data followed by its own CRC gives 0.
WORD ComputeCRC16(const BYTE* buffer, int length);

// Runs the CRC over length bytes. 0 when the length is not 0 and the CRC is 0 (the data ends
// in its own valid CRC). Otherwise, without append, 1; with append the two CRC bytes are
// written behind the data (also 00 00) and the result is 1 when data and CRC check, else -1.
int CalcCRC16(BYTE* buffer, int length, BOOL append);
