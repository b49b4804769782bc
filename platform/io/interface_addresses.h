#pragma once

#include <vector>

#include "platform/base/win_types.h"

struct ifaddrs;

// The directed broadcast address (address OR NOT netmask) of every IPv4 interface address
// whose interface is up, can broadcast and is not the loopback, in host byte order and in
// the system's order. Empty when the list cannot be read.
std::vector<DWORD> GetDirectedBroadcastAddresses();
// The same choice made from a given interface list.
std::vector<DWORD> DirectedBroadcastAddressesOf(const ifaddrs* list);
