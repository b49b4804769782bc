#include "model/app_state.h"
#include "model/ip_text.h"
#include "model/kelvardin_doc.h"
#include "model/memory_page.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace {

const CString kDash = u"-";

template <size_t N>
CString TableText(const std::array<CString, N>& table, int i) {
    return i >= 0 && i < static_cast<int>(N) ? table[i] : CString();
}

CString Trimmed(CString text, BOOL trim) {
    if (trim) text.TrimRight();
    return text;
}

CString Flag(DWORD on) {
    return on ? u"1" : u"0";
}

// A count or number, "-" when 0.
CString CountText(DWORD value, const char16_t* format = u"%d") {
    return value ? CString::Formatted(format, value) : kDash;
}

CString CommErrsText(const CCommErrs& errors, DWORD field) {
    const BYTE counts[] = {errors.m_errorsTo, errors.m_berTo, errors.m_errorsFrom,
                           errors.m_berFrom};
    return CountText(counts[field - 77]);
}

bool IsCommErrsField(DWORD field) {
    return field >= 77 && field <= 80;
}

// Fields of the trunk summaries: five blocks of 255, one per count, each by intercom.
constexpr DWORD kFirstSummaryField = 81;
constexpr DWORD kSummaryBlock = 255;
constexpr DWORD kLastSummaryField = kFirstSummaryField + 5 * kSummaryBlock - 1;

bool IsPrintable(BYTE ch) {
    return ch >= 0x20 && ch <= 0x7E;
}

}  // namespace

// ---- Texts of values ------------------------------------------------------------------------

CString CKelvardinDoc::GetTrunkStateText(DWORD state) const {
    if (state & 0x04) return m_texts.m_trunkStates[0];
    if (state & 0x01) return m_texts.m_trunkStates[1];
    if (state & 0x02) return m_texts.m_trunkStates[2];
    if ((state & ~DWORD{0x08}) == 0) return m_texts.m_trunkStates[3];
    return m_texts.m_trunkStates[4];
}

CString CKelvardinDoc::GetConnTypeText(int type) const {
    return type == 0 || type == 1 ? m_texts.m_connTypes[type] : CString(u" ");
}

CString CKelvardinDoc::GetBaudRateText(int choice) const {
    return choice == 1 || choice == 2 ? m_texts.m_baudRates[choice] : CString(u" ");
}

int CKelvardinDoc::ParseConnTypeText(const CString& text) const {
    for (int type : {0, 1}) {
        if (text == m_texts.m_connTypes[type]) return type;
    }
    return -1;
}

int CKelvardinDoc::ParseBaudRateText(const CString& text) const {
    for (int choice : {1, 2}) {
        if (text == m_texts.m_baudRates[choice]) return choice;
    }
    return -1;
}

CString CKelvardinDoc::GetResourceTypeText(int index) const {
    return TableText(m_texts.m_resourceTypes, index);
}

CString CKelvardinDoc::GetIcomModelText(int model) const {
    const CString text = TableText(m_texts.m_models, model);
    return text.IsEmpty() ? kDash : text;
}

CString CKelvardinDoc::GetRequestStateText(int i) const {
    return TableText(m_texts.m_requestStates, i);
}

CString CKelvardinDoc::GetCommStatText(const CCommStat& status) const {
    // A code without a name of its own (the active controller reports 13) adds no "?" or "-"
    // after the verdict.
    const CString code = GetIcomModelText(status.m_code);
    const bool named = CDocTexts::NamesModel(status.m_code);
    const auto verdict = [&](UINT word) {
        return named ? LoadResString(word) + u" " + code : LoadResString(word);
    };
    if (status.m_ok) return verdict(kIdsOK);
    if (status.m_code != CCommStat::kUnknownCode) return verdict(kIdsBad);
    return code;
}

CString CKelvardinDoc::GetGroupName(int group, BOOL trim) const {
    const CGroup* record = FindGroup(group);
    return record ? Trimmed(record->GetName(), trim) : CString();
}

CString CKelvardinDoc::GetIcomText(int icom, int length, BOOL trim, BOOL portText) const {
    if (icom < 0) return LoadResString(kIdsAllIntercoms);
    if (icom >= GetApp().GetConfig().m_wNumIntercoms) return CString();
    const CIntercom* record = FindIcom(icom);
    CString text = record ? Trimmed(record->GetName(length), trim) : CString();
    if (text.IsEmpty() && portText) text = GetIcomPortText(icom);
    return text;
}

CString CKelvardinDoc::GetIcomPortText(int icom) const {
    if (icom < 0 || icom >= GetApp().GetConfig().m_wNumIntercoms) return CString();
    return CString::Formatted(u"MX%02.2d", icom + 1);
}

CString CKelvardinDoc::GetOptionText(const CObjSpec& objSpec) const {
    const COptions* record = FindOptions();
    if (!record) return CString();
    switch (objSpec.m_nFieldId) {
        case COptions::kFieldRecord: return CString::Formatted(u"%u", objSpec.m_nIndex + 1);
        case COptions::kFieldTimeout: return CString::Formatted(u"%u", record->GetTimeout());
        case COptions::kFieldAutoClear: return Flag(record->GetAutoClear());
        case COptions::kFieldWaitForTalkKey: return Flag(record->GetWaitForTalkKey());
        case 1363: return u"Trunk Allocation Options";
        default: return CString();
    }
}

// ---- Text of a field ------------------------------------------------------------------------

CString CKelvardinDoc::GetObjectText(const CObjSpec& objSpec) const {
    switch (objSpec.m_nType) {
        case CObjSpec::kTrunk: return GetTrunkText(objSpec);
        case CObjSpec::kOptions: return GetOptionText(objSpec);
        case CObjSpec::kIntercom: return GetIcomFieldText(objSpec);
        case CObjSpec::kGroup: return GetGroupText(objSpec);
        case CObjSpec::kAlpha: return GetAlphaText(objSpec);
        case CObjSpec::kController: return GetControllerText(objSpec);
        default: return CString();
    }
}

CString CKelvardinDoc::GetTrunkText(const CObjSpec& objSpec) const {
    const CTrunk* record = FindTrunk(objSpec.GetIndex());
    if (!record) return kDash;
    const CInspect& inspect = GetTrunkInspect(objSpec.GetIndex());
    const DWORD field = objSpec.m_nFieldId;
    switch (field) {
        case CTrunk::kFieldRecord: return CString::Formatted(u"%d", objSpec.GetIndex() + 1);
        case CTrunk::kFieldState: return GetTrunkStateText(record->GetState());
        case CTrunk::kFieldCascadable: return Flag(record->GetCascadable());
        case CTrunk::kFieldFixed: return Flag(record->GetFixed());
        case CTrunk::kFieldOutOfService:
            return Flag(record->GetState() & CTrunk::kStateOutOfService);
        case 10:
        case 13: {
            const int id = inspect.GetSideId(field == 10);
            return id >= 0 ? CString::Formatted(u"%d", id + 1) : kDash;
        }
        default: break;
    }
    if (field >= 33 && field <= 64) return GetInspectMark(inspect, static_cast<int>(field));
    return kDash;  // ends and fixed assignments are drawn by the trunk screen's own cells
}

// The request marks of the inspection: four blocks of eight entries. The longer side's rows
// give the first and third block, the other side's the second and fourth.
CString CKelvardinDoc::GetInspectMark(const CInspect& inspect, int field) const {
    const DWORD c1 = inspect.GetEntryCount(true);
    const DWORD c2 = inspect.GetEntryCount(false);
    if (c1 == 0 || c2 == 0) return kDash;
    const bool side1Long = c1 >= c2;
    const int block = (field - 33) / 8;
    const int entry = (field - 33) % 8;
    if (static_cast<DWORD>(entry) >= (side1Long ? c1 : c2)) return kDash;

    struct Mark {
        bool rowA;
        BYTE mask;
    };
    // [block][side 1 long, side 2 long]
    static constexpr Mark kMarks[4][2] = {
        {{true, 0x02}, {false, 0x01}},
        {{true, 0x41}, {false, 0x42}},
        {{false, 0x01}, {true, 0x02}},
        {{false, 0x42}, {true, 0x41}},
    };
    const Mark& mark = kMarks[block][side1Long ? 0 : 1];
    const BYTE state =
        mark.rowA ? inspect.GetStateA(side1Long, entry) : inspect.GetStateB(side1Long, entry);
    const BYTE bits = state & mark.mask;
    if (bits == 0) return kDash;
    return bits & 0x40 ? u"*" : u"Y";
}

CString CKelvardinDoc::GetIcomFieldText(const CObjSpec& objSpec) const {
    const int icom = objSpec.GetIndex();
    const DWORD field = objSpec.m_nFieldId;
    if (field >= kFirstSummaryField && field <= kLastSummaryField) {
        const DWORD count = (field - kFirstSummaryField) / kSummaryBlock;
        const int toward = static_cast<int>((field - kFirstSummaryField) % kSummaryBlock);
        const CIntercom* record = icom >= 0 ? FindIcom(icom) : nullptr;
        if (icom >= 0 && !record) return CString();
        const CSummary& summary =
            record ? record->GetSummary(toward) : GetApp().GetConfig().GetSummary(toward);
        return CountText(summary.m_counts[count]);
    }

    const CIntercom* record = FindIcom(icom);
    if (!record) return CString();
    const int nameLength = GetApp().GetConfig().m_nAlphaSize;
    const CCommStat& status = record->GetCommStat();
    switch (field) {
        case CIntercom::kFieldRecord: return CString::Formatted(u"%d", icom + 1);
        case 65: return GetIcomText(icom, nameLength, TRUE, TRUE);
        case CIntercom::kFieldName: return GetIcomText(icom, nameLength, TRUE, FALSE);
        case CIntercom::kFieldName4: return GetIcomText(icom, 4, TRUE, FALSE);
        case CIntercom::kFieldName6: return GetIcomText(icom, 6, TRUE, FALSE);
        case CIntercom::kFieldName8: return GetIcomText(icom, 8, TRUE, FALSE);
        case CIntercom::kFieldName8W: return GetIcomText(icom, 16, TRUE, FALSE);
        case CIntercom::kFieldConnection: return GetConnTypeText(record->GetConnType());
        case CIntercom::kFieldPrimaryIP: return FormatIPAddress(record->GetPrimaryIP());
        case CIntercom::kFieldBackupIP: return FormatIPAddress(record->GetBackupIP());
        case CIntercom::kFieldComPort: {
            const int port = record->GetComPort();
            return port == -1 ? CString() : CString::Formatted(u"%d", port + 1);
        }
        case CIntercom::kFieldBaudRate: return GetBaudRateText(record->GetBaudRate());
        case CIntercom::kFieldCascadeCost:
            return CString::Formatted(u"%u", record->GetCascadeCost());
        case 1356: return GetCommStatText(status);
        case 1357: return Flag(status.m_ok);
        case 1358: return Flag(status.m_flag2);
        case 1359: return GetIcomModelText(status.m_code);
        case 1360: return CountText(status.m_number);
        case 1361: return CountText(record->GetRemStat().GetStart(), u"%u");
        case 1362: return status.m_text;
        default: break;
    }
    return IsCommErrsField(field) ? CommErrsText(record->GetCommErrs(), field) : CString();
}

CString CKelvardinDoc::GetGroupText(const CObjSpec& objSpec) const {
    const DWORD field = objSpec.m_nFieldId;
    if (field >= CGroup::kFieldFirstMember && field < CGroup::kFieldFirstMember + 255) {
        const int icom = static_cast<int>(field - CGroup::kFieldFirstMember);
        return Flag(IsGroupMember(objSpec.GetIndex(), icom));
    }
    if (!FindGroup(objSpec.GetIndex())) return CString();
    switch (field) {
        case CGroup::kFieldRecord: return CString::Formatted(u"%d", objSpec.GetIndex() + 1);
        case CGroup::kFieldName: return GetGroupName(objSpec.GetIndex(), TRUE);
        default: return CString();
    }
}

CString CKelvardinDoc::GetAlphaText(const CObjSpec& objSpec) const {
    const CAssign key = CAssign::FromKey(objSpec.m_nIndex);
    switch (objSpec.m_nFieldId) {
        case 1: return CString::Formatted(u"%u", objSpec.m_nIndex + 1);
        case 66: return GetIcomText(key.m_icom, GetApp().GetConfig().m_nAlphaSize, TRUE, TRUE);
        case 1623: return CString::Formatted(u"%d", key.m_icom + 1);
        case 1624: return GetResourceTypeText(key.m_type);
        case 1625: return CString::Formatted(u"%d", key.m_number + 1);
        case 1626: {
            const CAlpha* alpha = FindAlpha(objSpec.m_nIndex);
            return alpha ? alpha->GetLabel() : CString();
        }
        case 1627: return FormatAssignText(key);
        default: return CString();
    }
}

// ---- The controller and its memory ----------------------------------------------------------

CString CKelvardinDoc::GetControllerText(const CObjSpec& objSpec) const {
    const DWORD field = objSpec.m_nFieldId;
    if (field == 1629 || field == 1630) return GetMemoryText(objSpec);
    if (objSpec.m_nIndex > 1) return kDash;
    const CCVConfig& config = GetApp().GetConfig();
    if (field == 1) return LoadResString(objSpec.m_nIndex == 0 ? kIdsActive : kIdsStandby);
    if (IsCommErrsField(field)) return CommErrsText(config.m_commErrs[objSpec.m_nIndex], field);
    if (field == 1356 && GetApp().GetMode() == CAppState::kModeOnline)
        return GetCommStatText(config.m_commStat[objSpec.m_nIndex]);
    return kDash;
}

CString CKelvardinDoc::GetMemoryText(const CObjSpec& objSpec) const {
    const IMemoryPage* page = FindMemoryPage(objSpec.m_nIndex);
    if (!page) return kDash;
    // The byte shown: its pending write when it has one, else the controller's.
    auto shown = [page](DWORD offset) {
        return page->GetMemoryWriteBits().GetBit(offset) ? page->GetMemoryWriteValues()[offset]
                                                         : page->GetMemoryImage()[offset];
    };
    const DWORD offset = objSpec.m_nIndex - page->GetMemoryImageAddress();
    if (objSpec.m_nFieldId == 1629) return CString::Formatted(u"%2.2x", shown(offset));

    CString row;
    for (DWORD i = 0; i < 16; ++i) {
        if (i == 8) row += u' ';
        const DWORD at = offset + i;
        const bool inPage = at < IMemoryPage::kPageSize;
        row += inPage && IsPrintable(shown(at)) ? static_cast<char16_t>(shown(at)) : u'.';
    }
    return row;
}
