#pragma once

#include <array>

#include "model/bit_array.h"
#include "platform/base/win_types.h"

// The controller memory page that the memory screen shows, for the CPU chosen there: the bytes
// read from a start address, the values of pending writes and the bit set of the bytes that
// have one. The link keeps it; the document reads it for the memory fields.
class IMemoryPage {
public:
    static constexpr int kPageSize = 255;
    using CPageBytes = std::array<BYTE, kPageSize>;

    // Whether the address lies in the page that starts at base. Addresses wrap at 2^32: a page
    // near the top runs on from address 0.
    static bool InPage(DWORD base, DWORD address) {
        return address - base < static_cast<DWORD>(kPageSize);
    }

    virtual ~IMemoryPage() = default;
    // The address of the page's first byte.
    virtual DWORD GetMemoryImageAddress() const = 0;
    virtual const CPageBytes& GetMemoryImage() const = 0;
    virtual const CPageBytes& GetMemoryWriteValues() const = 0;
    virtual const CBitArray& GetMemoryWriteBits() const = 0;
    virtual CBitArray& GetMemoryWriteBits() = 0;
    // Records a pending write of the byte at the address: only in ONLINE mode, for a value of
    // at most 255 and an address inside the page. A value equal to the byte read, at an
    // address without a pending write, stays unrecorded. 1 when the write was taken.
    virtual BOOL SetMemoryByte(DWORD address, DWORD value) = 0;
};
