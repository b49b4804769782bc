#include "shell/operation_failure.h"

#include "link/link_messages.h"
#include "res/string_table.h"

namespace {

constexpr UINT kIdsDenied = 2255;
constexpr UINT kIdsLostControl = 2256;
constexpr UINT kIdsCorrupted = 2257;
constexpr UINT kIdsEeprom = 2258;
constexpr UINT kIdsUserAbort = 2261;
constexpr UINT kIdsLostLink = 2262;
constexpr UINT kIdsUnknown = 2263;

CString Failed(UINT reasonId) {
    return u"FAILED:  " + LoadResString(reasonId);
}

}  // namespace

CString SendFailureText(int reason) {
    switch (reason) {
        case kSendDenied: return Failed(kIdsDenied);
        case kSendLostControl: return Failed(kIdsLostControl);
        case kSendCorrupted: return Failed(kIdsCorrupted);
        case kSendEepromFailure: return Failed(kIdsEeprom);
        case kSendUserAbort: return Failed(kIdsUserAbort);
        case kSendLostLink: return Failed(kIdsLostLink);
        default: return Failed(kIdsUnknown);
    }
}

CString UploadFailureText(int code) {
    switch (code) {
        case LINK_UPLOAD_LOST: return Failed(kIdsLostLink);
        case kUploadUserAbort: return Failed(kIdsUserAbort);
        default: return Failed(kIdsUnknown);
    }
}
