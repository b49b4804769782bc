#pragma once

#include <string_view>

#include "platform/base/cstring.h"

class IProfile;

// How a record of the controller's request log shows: a mask walked from its start against
// the record, 'x' copying the record's next character, 'y' skipping it, a backslash making
// the mask's next character literal and any other character standing for itself.
namespace log_mask {

constexpr int kMaxLength = 255;
// Controllers with this many intercoms or more write the wider records.
constexpr int kWideFromIntercoms = 100;
extern const char16_t kDefaultMask[];
extern const char16_t kDefaultWideMask[];

// The mask for a controller of that many intercoms: "LogMask" or "LogMask255" of the
// "Settings" section, or that key's default when none is stored or the stored one is longer
// than kMaxLength.
CString Choose(IProfile& profile, int intercoms);

// The record as the mask shows it. Past the record's end 'x' and 'y' give nothing: nothing
// is read beyond it.
CString Render(std::u16string_view record, std::u16string_view mask);

}  // namespace log_mask
