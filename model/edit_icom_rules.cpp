#include <algorithm>
#include <iterator>

#include "model/app_state.h"
#include "model/edit_rules.h"
#include "model/ip_text.h"
#include "model/kelvardin_doc.h"
#include "model/newer_holders.h"
#include "model/undo_host.h"
#include "model/undo_object.h"
#include "platform/base/codepage.h"
#include "res/string_ids.h"

namespace {

constexpr CEditRule kComPortInvalid{1, 2319};
constexpr CEditRule kComPortUsed{2, 2320};
constexpr CEditRule kNameTooLong{3, 2322};
constexpr CEditRule kNameCharInvalid{4, 2323};
constexpr CEditRule kNameUsedNotice{5, 2328};
constexpr CEditRule kNoComPorts{27, 2428};
constexpr CEditRule kAddressInvalid{28, kIdsAddressInvalid};
constexpr CEditRule kAddressUsed{29, 2467};
constexpr CEditRule kDeviceNameDiffers{30, 2468};
constexpr CEditRule kRemoteRangeNotice{31, 5497};
constexpr CEditRule kCostInvalid{37, 2490};

constexpr long long kMaxCascadeCost = 65535;
constexpr DWORD kInvalidAddress = 0xFFFFFFFF;

// The intercom search reports these device type codes where a device has no name.
constexpr const char16_t* kDeviceCodes[] = {u"LOCL", u"MDLW", u"QORA", u"QORQ", u"QQSX"};

// Name size codes in the order companions are visited; 16 is the wide name.
constexpr int kNameSizes[] = {4, 6, 8, 16};
constexpr int kWideName = 16;
constexpr DWORD kNameFields[] = {CIntercom::kFieldName, CIntercom::kFieldName4,
                                 CIntercom::kFieldName6, CIntercom::kFieldName8,
                                 CIntercom::kFieldName8W};

int NameLength(int size) {
    return size == kWideName ? 8 : size;
}

int NameSizeOfField(DWORD field) {
    switch (field) {
        case CIntercom::kFieldName4: return 4;
        case CIntercom::kFieldName6: return 6;
        case CIntercom::kFieldName8: return 8;
        case CIntercom::kFieldName8W: return kWideName;
        default: return 0;
    }
}

DWORD FieldOfNameSize(int size) {
    switch (size) {
        case 4: return CIntercom::kFieldName4;
        case 6: return CIntercom::kFieldName6;
        case 8: return CIntercom::kFieldName8;
        default: return CIntercom::kFieldName8W;
    }
}

struct CCharRange {
    char16_t first;
    char16_t last;
};

constexpr CCharRange kPlainChars[] = {{0x20, 0x5F}, {0x61, 0x7A}};
constexpr CCharRange kKatakanaChars[] = {{0x20, 0x7E}, {0xA1, 0xDF}};
// The character set of the intercoms that show a limited Katakana set.
constexpr CCharRange kLimitedKatakanaChars[] = {
    {0x20, 0x21}, {0x23, 0x23}, {0x25, 0x26}, {0x28, 0x2A}, {0x2D, 0x39},
    {0x3E, 0x5A}, {0x5F, 0x5F}, {0x61, 0x7A}, {0xA6, 0xA6}, {0xB0, 0xDF},
};

template <size_t N>
bool InRanges(char16_t ch, const CCharRange (&ranges)[N]) {
    return std::any_of(std::begin(ranges), std::end(ranges),
                       [ch](const CCharRange& r) { return ch >= r.first && ch <= r.last; });
}

bool IsNameChar(char16_t ch, const CAppState& app) {
    if (!app.m_bAllowKatakanaAlphas) return InRanges(ch, kPlainChars);
    if (!app.m_bLimitKatakanaAlphas) return InRanges(ch, kKatakanaChars);
    return InRanges(ch, kLimitedKatakanaChars);
}

}  // namespace

BOOL CKelvardinDoc::SetIcomField(const CObjSpec& objSpec, const CString& text, BOOL recordUndo) {
    const int icom = objSpec.GetIndex();
    if (!FindIcom(icom)) return FALSE;
    const CString value = WithoutTrailingBlanks(text);
    auto record = recordUndo ? CUndoObject::Capture(*this, objSpec, CObjSpec::Plain()) : nullptr;
    auto companions = std::make_unique<CUndoObList>();
    BOOL stored = FALSE;
    switch (objSpec.m_nFieldId) {
        case CIntercom::kFieldName:
        case CIntercom::kFieldName4:
        case CIntercom::kFieldName6:
        case CIntercom::kFieldName8:
        case CIntercom::kFieldName8W: {
            const bool single = objSpec.m_nFieldId == CIntercom::kFieldName;
            const int size =
                single ? GetApp().GetConfig().m_nAlphaSize : NameSizeOfField(objSpec.m_nFieldId);
            const CString oldText = GetObjectText(objSpec);
            // The companions repeat the edited name's notices; the user hears them once.
            CEditNotices notices;
            stored = StoreIcomName(objSpec, size, value, notices);
            // A replay restores every name from its own record, and tells nothing of names in
            // use: what it puts back is what the setup held.
            if (stored && recordUndo && !single)
                SetCompanionNames(objSpec, size, value, oldText, *companions, notices);
            if (recordUndo) notices.Report();
            break;
        }
        case CIntercom::kFieldConnection:
            stored = SetIcomConnType(ParseConnTypeText(value), TRUE, icom);
            break;
        case CIntercom::kFieldBaudRate:
            stored = SetIcomBaudRate(ParseBaudRateText(value), TRUE, icom);
            break;
        case CIntercom::kFieldPrimaryIP:
        case CIntercom::kFieldBackupIP: stored = SetIcomAddress(objSpec, value, recordUndo); break;
        case CIntercom::kFieldComPort:
            stored = SetIcomComPortText(objSpec, value, recordUndo);
            break;
        case CIntercom::kFieldCascadeCost: stored = SetIcomCostText(objSpec, value); break;
        default: return FALSE;
    }

    IUndoHost* host = GetApp().GetUndoHost();
    if (!stored || !recordUndo || !host) return stored;
    if (companions->IsEmpty()) {
        host->AddUndo(std::move(record));
    } else {
        companions->Add(std::move(record));
        host->AddUndoList(std::move(companions));
    }
    // Other columns of the row may show the names that changed.
    host->RepaintCurrentGrid();
    return stored;
}

BOOL CKelvardinDoc::SetIcomName(const CObjSpec& objSpec, int size, const CString& text) {
    CEditNotices notices;
    const BOOL stored = StoreIcomName(objSpec, size, text, notices);
    notices.Report();
    return stored;
}

BOOL CKelvardinDoc::StoreIcomName(const CObjSpec& objSpec, int size, const CString& text,
                                  CEditNotices& notices) {
    const int icom = objSpec.GetIndex();
    CIntercom* record = FindIcom(icom);
    if (!record) return FALSE;
    const CAppState& app = GetApp();
    const int length = NameLength(size);
    if (text.GetLength() > length) return Refuse(kNameTooLong, {NumberText(length)});
    if (size != kWideName) {
        for (char16_t ch : text.str()) {
            if (!IsNameChar(ch, app))
                return Refuse(kNameCharInvalid, {CString::Formatted(u"'%c' (0x%02.2x)", ch,
                                                                    static_cast<unsigned>(ch))});
        }
    }

    CEditNotices found;
    if (!WithoutTrailingBlanks(text).IsEmpty()) {
        // The names of an intercom go together, companions following the one moved.
        const int used = FindIntercomByText(text, icom, TRUE, [&](const CObjSpec& holder) {
            return std::ranges::any_of(kNameFields, [&](DWORD field) {
                return IsFreedByEdit(CIcomSpec(holder.GetIndex(), field));
            });
        });
        if (used >= 0) found.Add(kNameUsedNotice, {NumberText(used + 1)});
        // A new 4-character name moves every remote-trunking range up by one.
        if (size == 4 && WithoutTrailingBlanks(record->GetName(4)).IsEmpty()) {
            const int named = CountNamedIntercoms() + 1;
            for (int i = 0; i < app.GetConfig().m_wNumIntercoms; ++i) {
                if (RemoteRangeOverflows(GetIcomRemoteTrunkBase(i), named)) {
                    found.Add(kRemoteRangeNotice, {NumberText(i + 1)});
                    break;
                }
            }
        }
    }
    if (!record->SetName(size, PadWithBlanks(text, length), TRUE)) return FALSE;
    if (size == 4) InvalidateIcomChecks();
    notices.Append(found);
    return TRUE;
}

void CKelvardinDoc::SetCompanionNames(const CObjSpec& objSpec, int size, const CString& text,
                                      const CString& oldText, CUndoObList& undo,
                                      CEditNotices& notices) {
    // The narrow names of a wide name are what the 8-bit code page makes of it.
    const CString narrow = size == kWideName ? CString(FromAnsi(ToAnsi(text.str()))) : text;
    for (int other : kNameSizes) {
        if (other == size) continue;
        const CIcomSpec companion(objSpec.GetIndex(), FieldOfNameSize(other));
        const CString now = GetObjectText(companion);
        CString wanted;
        if (other > size) {
            // A longer name follows unless the user gave it a text of its own.
            if (!text.IsEmpty() && !now.IsEmpty() && now != oldText) continue;
            wanted = text;
        } else if (narrow.IsEmpty()) {
            wanted = CString();
        } else if (now.IsEmpty()) {
            const bool fits = narrow.GetLength() <= NameLength(other);
            wanted = fits ? narrow : GetDefaultIcomName(objSpec.GetIndex());
        } else {
            continue;
        }
        StoreRecorded(*this, companion, CObjSpec::Plain(), &undo,
                      [&] { return StoreIcomName(companion, other, wanted, notices); });
    }
}

BOOL CKelvardinDoc::SetIcomAddress(const CObjSpec& objSpec, const CString& text, BOOL recordUndo) {
    CString addressText = text;
    const DWORD address = ParseIPAddress(addressText);
    if (address == kInvalidAddress) return Refuse(kAddressInvalid, {text});
    const int icom = objSpec.GetIndex();
    if (address != 0 && recordUndo) {
        const int used = FindIcomByAddress(address, icom, FreedByEdit());
        if (used >= 0) return Refuse(kAddressUsed, {IcomLabel(used)});
    }
    return objSpec.m_nFieldId == CIntercom::kFieldPrimaryIP ? SetIcomPrimaryIP(address, TRUE, icom)
                                                            : SetIcomBackupIP(address, TRUE, icom);
}

BOOL CKelvardinDoc::SetIcomComPortText(const CObjSpec& objSpec, const CString& text,
                                       BOOL recordUndo) {
    const int icom = objSpec.GetIndex();
    // Any text but a number names no port.
    const long long number = IsNumberText(text) ? DecimalValue(text) : 0;
    int port = -1;
    if (number != 0) {
        const CCVConfig& config = GetApp().GetConfig();
        const int lowest = config.m_nFirstComPort;
        const int highest = config.m_nLastComPort;
        if (lowest > highest) return Refuse(kNoComPorts);
        if (number - 1 < lowest || number - 1 > highest)
            return Refuse(kComPortInvalid, {NumberText(lowest + 1), NumberText(highest + 1)});
        port = static_cast<int>(number - 1);
        const int used = recordUndo ? FindIcomByComPort(port, icom, FreedByEdit()) : -1;
        if (used >= 0) return Refuse(kComPortUsed, {IcomLabel(used)});
    }
    return SetIcomComPort(port, TRUE, icom);
}

BOOL CKelvardinDoc::RestoreIcomField(const CObjSpec& objSpec, const CString& text) {
    const int icom = objSpec.GetIndex();
    CIntercom* record = FindIcom(icom);
    if (!record) return FALSE;
    const CString value = WithoutTrailingBlanks(text);
    const DWORD field = objSpec.m_nFieldId;
    switch (field) {
        case CIntercom::kFieldComPort: {
            const long long number = IsNumberText(value) ? DecimalValue(value) : 0;
            return SetIcomComPort(number > 0 ? static_cast<int>(number - 1) : -1, TRUE, icom);
        }
        case CIntercom::kFieldPrimaryIP:
        case CIntercom::kFieldBackupIP: {
            CString addressText = value;
            const DWORD address = ParseIPAddress(addressText);
            if (address == kInvalidAddress) return FALSE;
            return field == CIntercom::kFieldPrimaryIP ? SetIcomPrimaryIP(address, TRUE, icom)
                                                       : SetIcomBackupIP(address, TRUE, icom);
        }
        case CIntercom::kFieldConnection:
            return SetIcomConnType(ParseConnTypeText(value), TRUE, icom);
        case CIntercom::kFieldBaudRate:
            return SetIcomBaudRate(ParseBaudRateText(value), TRUE, icom);
        case CIntercom::kFieldCascadeCost:
            return SetIcomCascadeCost(static_cast<int>(DecimalValue(value)), TRUE, icom);
        default: break;
    }
    if (std::ranges::find(kNameFields, field) == std::end(kNameFields)) return FALSE;
    const int size =
        field == CIntercom::kFieldName ? GetApp().GetConfig().m_nAlphaSize : NameSizeOfField(field);
    if (!record->SetName(size, PadWithBlanks(value, NameLength(size)), TRUE)) return FALSE;
    if (size == 4) InvalidateIcomChecks();
    return TRUE;
}

BOOL CKelvardinDoc::CheckIcomPutBack(const CObjSpec& field, const CNewerHolders& holders,
                                     CEditNotices& notices) const {
    const int icom = field.GetIndex();
    const DWORD id = field.m_nFieldId;
    if (id == CIntercom::kFieldComPort) {
        const int port = GetIcomComPort(icom);
        const int used = port >= 0 ? holders.FindComPort(port) : -1;
        return used >= 0 ? Refuse(kComPortUsed, {IcomLabel(used)}) : TRUE;
    }
    if (id == CIntercom::kFieldPrimaryIP || id == CIntercom::kFieldBackupIP) {
        const DWORD address = id == CIntercom::kFieldPrimaryIP ? GetIcomPrimaryAddress(icom)
                                                               : GetIcomBackupAddress(icom);
        const int used = address != 0 ? holders.FindAddress(address, icom) : -1;
        return used >= 0 ? Refuse(kAddressUsed, {IcomLabel(used)}) : TRUE;
    }
    if (std::ranges::find(kNameFields, id) != std::end(kNameFields)) {
        const int used =
            FindIntercomByText(GetObjectText(field), icom, TRUE, [&](const CObjSpec& n) {
                return std::ranges::any_of(kNameFields, [&](DWORD name) {
                    return holders.InStep(CIcomSpec(n.GetIndex(), name));
                });
            });
        if (used >= 0) notices.Add(kNameUsedNotice, {NumberText(used + 1)});
    }
    return TRUE;
}

BOOL CKelvardinDoc::SetIcomCostText(const CObjSpec& objSpec, const CString& text) {
    const long long cost = DecimalValue(text);
    if (!IsNumberText(text) || cost > kMaxCascadeCost)
        return Refuse(kCostInvalid, {NumberText(0), NumberText(kMaxCascadeCost)});
    return SetIcomCascadeCost(static_cast<int>(cost), TRUE, objSpec.GetIndex());
}

BOOL CKelvardinDoc::SetIcomAddresses(int icom, const CString& foundName, const CString& primaryText,
                                     const CString& backupText) {
    const CString found = WithoutTrailingBlanks(foundName);
    const CString name = GetIcomText(icom, 4, TRUE, FALSE);
    const bool deviceCode = std::any_of(std::begin(kDeviceCodes), std::end(kDeviceCodes),
                                        [&](const char16_t* code) { return found == code; });
    if (!found.IsEmpty() && !deviceCode && !name.IsEmpty() && name != found)
        return Refuse(kDeviceNameDiffers, {name, found});

    IUndoHost* host = GetApp().GetUndoHost();
    if (host) host->BeginUndoGroup(true);
    const BOOL primary =
        SetObjectField(CIcomSpec(icom, CIntercom::kFieldPrimaryIP), primaryText, TRUE);
    const BOOL backup =
        SetObjectField(CIcomSpec(icom, CIntercom::kFieldBackupIP), backupText, TRUE);
    if (host) host->BeginUndoGroup(false);
    return primary || backup;
}
