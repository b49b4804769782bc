#include "shell/link_dialogs/operation_failure.h"

#include "link/link_messages.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace {

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
        case kSendControllerChanged: return Failed(kIdsControllerChanged);
        default: return Failed(kIdsUnknownReason);
    }
}

CString UploadFailureText(int code) {
    switch (code) {
        case LINK_UPLOAD_LOST: return Failed(kIdsLostLink);
        case kUploadUserAbort: return Failed(kIdsUserAbort);
        case LINK_UPLOAD_CHANGED: return Failed(kIdsControllerChanged);
        default: return Failed(kIdsUnknownReason);
    }
}
