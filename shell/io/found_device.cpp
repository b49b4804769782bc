#include "shell/io/found_device.h"

DWORD CFoundDevice::GetKey() const {
    return IsSystem() ? (static_cast<DWORD>(frameCount) << 16) | type : address;
}

CString CFoundDevice::GetTypeName() const {
    switch (type) {
        case 1: return u"CV-4400";
        case 2: return u"Medlow Intercom";
        case 3: return u"Ombra-2 System Controller";
        case 4: return u"QORA-Q";
        case 5: return u"QORA-Q S";
        case 6: return u"Quillnet";
        case 8: return u"CV-8800";
        default: return u"Unknown device type";
    }
}

CString CFoundDevice::GetLabel() const {
    if (!IsController()) return name;
    return name + u" (" + GetStatusText() + u")";
}

CString CFoundDevice::GetStatusText() const {
    return active ? u"Active" : u"Standby";
}

CString CFoundDevice::GetFrameText() const {
    return CString::Formatted(u"Frame %u of %u", frameNumber + 1u, unsigned{frameCount});
}

CString CFoundDevice::GetConnectionsText() const {
    return CString::Formatted(u"%u / %u Available", unsigned{secondCount}, unsigned{firstCount});
}
