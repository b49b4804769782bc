#include "link/cv_data_send_all.h"

#include <algorithm>
#include <utility>

#include "link/command_codes.h"
#include "link/icom_request_mgrs.h"
#include "link/payload_io.h"
#include "link/trunk_request_mgrs.h"
#include "link/wire_assign.h"
#include "link/wire_group.h"
#include "link/wire_labels.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/obj_spec.h"
#include "model/records.h"

namespace {

constexpr int kFinished = -1;

const CCVConfig& Config() {
    return GetApp().GetConfig();
}

// Which steps a controller takes, by its flags and capabilities.
bool Always(const CCVConfig&) {
    return true;
}

bool Extended(const CCVConfig& config) {
    return config.HasFlag(CCVConfig::kNewCorvane);
}

bool WideNames(const CCVConfig& config) {
    return Extended(config) && config.HasFlag(CCVConfig::kUnicodeSupport);
}

bool Supervised(const CCVConfig& config) {
    return config.HasFlag(CCVConfig::kTksupvSupport);
}

bool Networked(const CCVConfig& config) {
    return config.HasCapability(CCVConfig::kEthernetToMC);
}

bool Costed(const CCVConfig& config) {
    return config.HasCapability(CCVConfig::kCascadeCosts);
}

int Trunks() {
    return Config().m_wNumTrunks;
}

int Intercoms() {
    return Config().m_wNumIntercoms;
}

// A step whose condition fails, or that has nothing left, is finished.
BOOL Finish(int& cursor) {
    cursor = kFinished;
    return FALSE;
}

// One message over a span of records. Starting at the cursor, the first changed record opens
// the span, which looks at up to limit records; the header, a bitmap of the changed ones and
// one value per changed record follow. FALSE, and the step finished, when no record is left.
template <class Changed, class Header, class Value>
BOOL BuildSpan(int& cursor, int total, int limit, DWORD code, CMessage& message, Changed changed,
               Header header, Value value) {
    int first = cursor;
    while (first < total && !changed(first))
        ++first;
    if (first >= total) return Finish(cursor);
    const int looked = std::min(limit, total - first);
    int last = first;
    for (int k = 1; k < looked; ++k)
        if (changed(first + k)) last = first + k;
    cursor = first + looked;

    const int count = last - first + 1;
    message.Clear();
    message.command = code;
    CPayloadWriter out(message);
    header(out, first, count);
    BYTE* bitmap = out.Room(static_cast<std::size_t>(count + 7) / 8);
    std::fill_n(bitmap, (count + 7) / 8, BYTE{0});
    for (int k = 0; k < count; ++k)
        if (changed(first + k)) bitmap[k / 8] |= static_cast<BYTE>(1u << (k % 8));
    for (int k = 0; k < count; ++k)
        if (changed(first + k)) value(out, first + k);
    return TRUE;
}

void ByteHeader(CPayloadWriter& out, int first, int count) {
    out.U8(static_cast<BYTE>(first));
    out.U8(static_cast<BYTE>(count));
}

void WordHeader(CPayloadWriter& out, int first, int count) {
    out.U16(static_cast<WORD>(first));
    out.U16(static_cast<WORD>(count));
}

// A step over intercoms with a byte header and one byte per changed intercom.
template <class Changed, class Value>
BOOL BuildIcomBytes(int& cursor, DWORD code, CMessage& message, Changed changed, Value value) {
    return BuildSpan(
        cursor, Intercoms(), static_cast<int>(kIcomBytesPerMessage), code, message, changed,
        ByteHeader, [&](CPayloadWriter& out, int icom) { out.U8(static_cast<BYTE>(value(icom))); });
}

// Steps 8-10: one message with the byte 1 and the value, at most once per send.
template <class Value>
BOOL BuildOption(int& cursor, DWORD code, CMessage& message, DWORD changed, Value value) {
    Finish(cursor);
    if (!changed) return FALSE;
    message.Clear();
    message.command = code;
    CPayloadWriter out(message);
    out.U8(1);
    value(out);
    return TRUE;
}

// ---- The steps ------------------------------------------------------------------------------

BOOL SendTrunkDefs(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return BuildSpan(
        cursor, Trunks(), static_cast<int>(kTrunkDefsPerMessage), kCmdSetTrunkDefs, message,
        [&](int t) { return doc.IsTrunkModified(t) != 0; }, WordHeader,
        [&](CPayloadWriter& out, int t) {
            const DWORD bits = doc.IsTrunkModified(t);
            out.U8(static_cast<BYTE>(((bits & 0x03) ? 0x01 : 0) | ((bits & 0x20) ? 0x02 : 0) |
                                     ((bits & 0x1C) ? 0x04 : 0)));
            WriteWireAssign(out, doc.GetTrunkEnd(t, TRUE));
            WriteWireAssign(out, doc.GetTrunkEnd(t, FALSE));
            WriteWireAssign(out, doc.GetTrunkFixedAssign(t, TRUE));
            WriteWireAssign(out, doc.GetTrunkFixedAssign(t, FALSE));
            out.U8(static_cast<BYTE>((doc.GetTrunkFixed(t) ? 0x01 : 0) |
                                     (doc.GetTrunkCascadable(t) ? 0x02 : 0)));
        });
}

// Steps 2-5: the names of one length (16: the wide name) with their format code.
BOOL SendNames(int& cursor, const CKelvardinDoc& doc, CMessage& message, int length, UINT format) {
    const std::size_t size = WireLabelSize(format);
    return BuildSpan(
        cursor, Intercoms(),
        static_cast<int>(size == kWideLabelSize ? kWideLabelsPerMessage : kLabelsPerMessage),
        kCmdSetNames, message, [&](int icom) { return doc.IsIcomNameModified(icom, length) != 0; },
        [&](CPayloadWriter& out, int first, int count) {
            CWireLabelRange{CWireLabelRange::kNameKind, static_cast<UINT>(first), format,
                            static_cast<UINT>(count)}
                .Write(out);
        },
        [&](CPayloadWriter& out, int icom) {
            WriteWireLabel(out, doc.GetIcomText(icom, length, FALSE, FALSE), size);
        });
}

BOOL SendNames4(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return SendNames(cursor, doc, message, 4, Extended(Config()) ? 1u : 0u);
}

BOOL SendNames6(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return SendNames(cursor, doc, message, 6, 2);
}

BOOL SendNames8(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return SendNames(cursor, doc, message, 8, 3);
}

BOOL SendWideNames(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return SendNames(cursor, doc, message, 16, 4);
}

BOOL SendBaudRates(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return BuildIcomBytes(
        cursor, kCmdSetIcomBaud, message,
        [&](int icom) { return doc.IsIcomBaudRateModified(icom) != 0; },
        [&](int icom) { return doc.GetIcomBaudRate(icom); });
}

BOOL SendComPorts(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    // No port (-1) travels as 255.
    return BuildIcomBytes(
        cursor, kCmdSetIcomPort, message,
        [&](int icom) { return doc.IsIcomComPortModified(icom) != 0; },
        [&](int icom) { return doc.GetIcomComPort(icom); });
}

BOOL SendTimeout(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    const DWORD code = GetApp().IsSecondsMode() ? kCmdSetTimeoutSeconds : kCmdSetTimeoutMinutes;
    return BuildOption(
        cursor, code, message, doc.IsAllocTimeoutModified(),
        [&](CPayloadWriter& out) { out.U16(static_cast<WORD>(doc.GetAllocationTimeout())); });
}

BOOL SendAutoClear(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return BuildOption(cursor, kCmdSetAutoClear, message, doc.IsAutoClearModified(),
                       [&](CPayloadWriter& out) { out.U8(doc.GetAutoClearAllocations() ? 1 : 0); });
}

BOOL SendWaitForTalkKey(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return BuildOption(cursor, kCmdSetWaitForTalkKey, message, doc.IsWaitForTalkKeyModified(),
                       [&](CPayloadWriter& out) { out.U8(doc.GetWaitForTalkKeyMode() ? 1 : 0); });
}

BOOL SendGroups(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    const bool extended = UsesExtendedGroups(Intercoms());
    const CWireGroupForm form{extended || Config().HasFlag(CCVConfig::kUnicodeSupport), extended};
    const BYTE wideMark = !extended && form.wideName ? kWideGroupNames : 0;
    return BuildSpan(
        cursor, Config().m_wNumGroups, static_cast<int>(kGroupsPerMessage),
        extended ? kCmdSetGroupsEx : kCmdSetGroups, message,
        [&](int group) { return doc.IsGroupModified(group) != 0; },
        [&](CPayloadWriter& out, int first, int count) {
            out.U8(static_cast<BYTE>(first)).U8(static_cast<BYTE>(count | wideMark));
        },
        [&](CPayloadWriter& out, int group) {
            CWireGroupForm::Members members{};
            doc.GetGroupMemberBits(group, members.data());
            form.Write(out, doc.GetGroupName(group, FALSE), members);
        });
}

BOOL SendConnTypes(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return BuildIcomBytes(
        cursor, kCmdSetIcomConn, message,
        [&](int icom) { return doc.IsIcomConnTypeModified(icom) != 0; },
        [&](int icom) { return doc.GetIcomConnType(icom); });
}

// Steps 13 and 14: address set 0 the primary addresses, 1 the backup ones.
BOOL SendAddresses(int& cursor, const CKelvardinDoc& doc, CMessage& message, BYTE addressSet) {
    const bool primary = addressSet == 0;
    auto changed = [&](int icom) {
        return (primary ? doc.IsIcomSecondAddressModified(icom)
                        : doc.IsIcomAddressModified(icom)) != 0;
    };
    return BuildSpan(
        cursor, Intercoms(), static_cast<int>(kAddressesPerMessage), kCmdSetIcomAddress, message,
        changed,
        [&](CPayloadWriter& out, int first, int count) {
            out.U8(addressSet);
            ByteHeader(out, first, count);
        },
        [&](CPayloadWriter& out, int icom) {
            out.U32(primary ? doc.GetIcomPrimaryAddress(icom) : doc.GetIcomBackupAddress(icom));
        });
}

BOOL SendPrimaryAddresses(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return SendAddresses(cursor, doc, message, 0);
}

BOOL SendBackupAddresses(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return SendAddresses(cursor, doc, message, 1);
}

BOOL SendCascadeCosts(int& cursor, const CKelvardinDoc& doc, CMessage& message) {
    return BuildSpan(
        cursor, Intercoms(), static_cast<int>(kCostsPerMessage), kCmdSetIcomCost, message,
        [&](int icom) { return doc.IsIcomCostModified(icom) != 0; }, WordHeader,
        [&](CPayloadWriter& out, int icom) {
            out.U16(static_cast<WORD>(doc.GetIcomCascadeCost(icom)));
        });
}

using StepBuilder = BOOL (*)(int& cursor, const CKelvardinDoc& doc, CMessage& message);

// One step: the records and field whose changes it sends, whether the controller takes them,
// and its builder.
struct CSendStep {
    int objectType;
    DWORD fieldId;
    bool (*taken)(const CCVConfig& config);
    StepBuilder build;
};

constexpr std::array<CSendStep, CCVDataSendAll::kStepCount> kSteps = {{
    {CObjSpec::kTrunk, CTrunk::kFieldRecord, Always, SendTrunkDefs},
    {CObjSpec::kIntercom, CIntercom::kFieldName4, Always, SendNames4},
    {CObjSpec::kIntercom, CIntercom::kFieldName6, Extended, SendNames6},
    {CObjSpec::kIntercom, CIntercom::kFieldName8, Extended, SendNames8},
    {CObjSpec::kIntercom, CIntercom::kFieldName8W, WideNames, SendWideNames},
    {CObjSpec::kIntercom, CIntercom::kFieldBaudRate, Always, SendBaudRates},
    {CObjSpec::kIntercom, CIntercom::kFieldComPort, Always, SendComPorts},
    {CObjSpec::kOptions, COptions::kFieldTimeout, Always, SendTimeout},
    {CObjSpec::kOptions, COptions::kFieldAutoClear, Supervised, SendAutoClear},
    {CObjSpec::kOptions, COptions::kFieldWaitForTalkKey, Supervised, SendWaitForTalkKey},
    {CObjSpec::kGroup, CGroup::kFieldRecord, Always, SendGroups},
    {CObjSpec::kIntercom, CIntercom::kFieldConnection, Networked, SendConnTypes},
    {CObjSpec::kIntercom, CIntercom::kFieldPrimaryIP, Networked, SendPrimaryAddresses},
    {CObjSpec::kIntercom, CIntercom::kFieldBackupIP, Networked, SendBackupAddresses},
    {CObjSpec::kIntercom, CIntercom::kFieldCascadeCost, Costed, SendCascadeCosts},
}};

// The intercom name field of the configured name length.
DWORD NameFieldOfLength(int length) {
    switch (length) {
        case 6: return CIntercom::kFieldName6;
        case 8: return CIntercom::kFieldName8;
        case 16: return CIntercom::kFieldName8W;
        default: return CIntercom::kFieldName4;
    }
}

}  // namespace

CCVDataSendAll::CCVDataSendAll(DocumentFinder findDocument)
    : m_findDocument(std::move(findDocument)) {}

void CCVDataSendAll::Reset() {
    m_cursors.fill(0);
}

BOOL CCVDataSendAll::BuildNext(CMessage& message) {
    const CKelvardinDoc* doc = m_findDocument ? m_findDocument() : nullptr;
    if (!doc) return FALSE;
    const CCVConfig& config = Config();
    for (std::size_t step = 0; step < kSteps.size(); ++step) {
        int& cursor = m_cursors[step];
        if (cursor < 0) continue;
        if (!kSteps[step].taken(config)) {
            Finish(cursor);
            continue;
        }
        if (kSteps[step].build(cursor, *doc, message)) return TRUE;
    }
    return FALSE;
}

bool CCVDataSendAll::Carries(const CCVConfig& config, int objectType, DWORD fieldId) {
    if (objectType == CObjSpec::kIntercom && fieldId == CIntercom::kFieldName)
        fieldId = NameFieldOfLength(config.m_nAlphaSize);
    return std::any_of(kSteps.begin(), kSteps.end(), [&](const CSendStep& step) {
        return step.objectType == objectType && step.fieldId == fieldId && step.taken(config);
    });
}
