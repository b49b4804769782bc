#pragma once

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// One device that answered a device search, with the texts the search shows of it.
struct CFoundDevice {
    static constexpr DWORD kNoAddress = 0xFFFFFFFF;

    WORD command = 0;  // of the answer: 222 intercoms, 209 controllers
    BYTE type = 0;
    BOOL active = FALSE;         // else standby
    WORD secondCount = 0;        // the answer's second 16-bit count
    WORD firstCount = 0;         // the answer's first 16-bit count
    DWORD address = kNoAddress;  // the sender, host order
    DWORD partner = 0;           // the other half of an active and standby pair; 0 none
    CString name;
    CString description;
    BYTE frameNumber = 0;  // from 0
    BYTE frameCount = 0;   // 0 when the answer does not say

    // Types 1 and 8 are controllers, 2 to 6 intercoms; 3 and 6 are systems that may consist
    // of several frames.
    BOOL IsController() const { return type == 1 || type == 8; }
    BOOL IsIntercom() const { return type >= 2 && type <= 6; }
    BOOL IsSystem() const { return type == 3 || type == 6; }
    BOOL IsKnownType() const { return IsController() || IsIntercom(); }
    BOOL IsSingleFrame() const { return frameCount < 2; }
    // Whether a search for intercoms (or else for controllers) takes the device.
    BOOL SuitsMode(BOOL intercomMode) const { return intercomMode ? IsIntercom() : IsController(); }
    // A system's group key (frame count in the high word, type in the low one), else the
    // address.
    DWORD GetKey() const;

    CString GetTypeName() const;
    // The name; a controller's followed by " (Active)" or " (Standby)".
    CString GetLabel() const;
    CString GetStatusText() const;
    // "Frame %u of %u", counted from 1.
    CString GetFrameText() const;
    // "%1 / %2 Available": the second count, then the first.
    CString GetConnectionsText() const;
};
