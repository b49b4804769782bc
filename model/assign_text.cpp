#include "model/assign_text.h"

#include <algorithm>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"

namespace {

// Prefixes by alpha list index: two letters below number 99, one letter from 99 on. IFB and
// IFBSL take their second letter, so that every one-letter form names one type.
constexpr const char16_t* kPrefixes[kAlphaListCount] = {u"N0", u"PL", u"IF", u"SL",
                                                        u"RY", u"IS", u"UR", u"IL"};
constexpr char16_t kLetters[kAlphaListCount] = {u'N', u'P', u'F', u'S', u'R', u'I', u'U', u'L'};

constexpr int kTwoDigitNumbers = 99;  // numbers 0-98 show as 01-99
constexpr int kLastNumber = 998;      // shown as 999

bool IsDigit(char16_t ch) {
    return ch >= u'0' && ch <= u'9';
}

int TypeOfPrefix(const CString& prefix) {
    for (int type = 0; type < kAlphaListCount; ++type) {
        if (prefix.GetLength() == 1 ? prefix[0] == kLetters[type] : prefix == kPrefixes[type])
            return type;
    }
    return -1;
}

}  // namespace

CString FormatAssignText(const CAssign& assign) {
    const int number = assign.m_number;
    if (number > kLastNumber || assign.m_type >= kAlphaListCount) return CString();
    if (number < kTwoDigitNumbers)
        return CString::Formatted(u"%s%2.2d", kPrefixes[assign.m_type], number + 1);
    return CString::Formatted(u"%c%3.3d", kLetters[assign.m_type], number + 1);
}

BOOL CKelvardinDoc::ParseAssignText(const CString& text, int& type, int& number) {
    type = -1;
    number = -1;
    int digitsAt = 0;
    while (digitsAt < text.GetLength() && !IsDigit(text[digitsAt]))
        ++digitsAt;
    const int digits = text.GetLength() - digitsAt;
    if (digitsAt == 0 || digits == 0 || digitsAt > 2) return FALSE;
    int value = 0;
    for (int i = digitsAt; i < text.GetLength(); ++i) {
        if (!IsDigit(text[i])) return FALSE;
        value = std::min(value * 10 + (text[i] - u'0'), kLastNumber + 2);  // no overflow
    }
    type = TypeOfPrefix(text.Left(digitsAt));
    number = value - 1;

    const CCVConfig& config = GetApp().GetConfig();
    const bool typeAllowed = (type >= 0 && type <= 5) ||
                             (type == 6 && config.HasFlag(CCVConfig::kNewCorvane)) ||
                             (type == 7 && config.HasCapability(CCVConfig::kIFBSLSupport));
    return typeAllowed && number >= 0 && number <= kLastNumber;
}
