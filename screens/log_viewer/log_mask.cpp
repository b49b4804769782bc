#include "screens/log_viewer/log_mask.h"

#include "platform/base/profile.h"

namespace log_mask {

const char16_t kDefaultMask[] =
    u"yyyyyyyxx:xx:xx.xxy - Icom xxy xxy xxxy -> Icom xxx xxy xxxy - Ask xxxy - Tk xxxy & "
    u"xxxyyyyy - Rqst:xxy xxy";
const char16_t kDefaultWideMask[] =
    u"yyyyyyyxx:xx:xx.xxy - Icom xxxy xxy xxxy -> Icom xxxx xxy xxxy - Ask xxxxxy - Tk xxxxxy "
    u"& xxxxxy - Rqst:xxy xxy";

CString Choose(IProfile& profile, int intercoms) {
    const bool wide = intercoms >= kWideFromIntercoms;
    const char16_t* entry = wide ? u"LogMask255" : u"LogMask";
    const CString fallback = wide ? kDefaultWideMask : kDefaultMask;
    const CString stored = profile.GetProfileString(u"Settings", entry, fallback);
    return stored.GetLength() > kMaxLength ? fallback : stored;
}

CString Render(std::u16string_view record, std::u16string_view mask) {
    CString line;
    std::size_t read = 0;
    for (std::size_t at = 0; at < mask.size(); ++at) {
        switch (const char16_t ch = mask[at]) {
            case u'x':
                if (read < record.size()) line += record[read++];
                break;
            case u'y':
                if (read < record.size()) ++read;
                break;
            case u'\\':
                if (++at < mask.size()) line += mask[at];
                break;
            default: line += ch; break;
        }
    }
    return line;
}

}  // namespace log_mask
