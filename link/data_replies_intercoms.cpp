#include "link/command_codes.h"
#include "link/data_replies.h"
#include "link/data_reply_common.h"
#include "link/link_messages.h"
#include "link/reply_context.h"

namespace {

// One intercom setup value per record: its width on the wire and its received-value setter.
using IcomSetter = BOOL (CKelvardinDoc::*)(int value, BOOL user, int icom);
using IcomAddressSetter = BOOL (CKelvardinDoc::*)(DWORD value, BOOL user, int icom);

// The range of an intercom setup request: byte or u16 first and count.
struct CIcomRange {
    int first = 0;
    int count = 0;
};

CIcomRange ReadRange(CPayloadReader& request, bool wide) {
    CIcomRange range;
    range.first = wide ? request.U16() : request.U8();
    range.count = wide ? request.U16() : request.U8();
    return range;
}

// Stores width-byte values for the intercoms of the range through store(value, icom); drops
// the reply when its length does not match the range.
template <class Store>
void StoreIcomValues(const CDualMessage& pair, CKelvardinDoc& doc, DWORD code, CIcomRange range,
                     std::size_t width, Store store) {
    if (pair.reply.command != code || pair.reply.length != width * range.count) return;
    CPayloadReader reply = ReadReply(pair);
    BOOL changed = FALSE;
    const int n = RecordsInRange(range.first, range.count, ConfiguredIntercoms());
    for (int icom = range.first; icom < range.first + n; ++icom) {
        const DWORD value = width == 1 ? reply.U8() : width == 2 ? reply.U16() : reply.U32();
        changed |= store(value, icom);
    }
    SendHint(doc, code, changed);
}

void StoreIcomSetting(const CDualMessage& pair, CKelvardinDoc& doc, DWORD code, bool wide,
                      std::size_t width, IcomSetter set) {
    CPayloadReader request = ReadRequest(pair);
    const CIcomRange range = ReadRange(request, wide);
    if (!request.Ok()) return;
    StoreIcomValues(pair, doc, code, range, width, [&](DWORD value, int icom) {
        return (doc.*set)(static_cast<int>(value), FALSE, icom);
    });
}

// The intercom a single-intercom request names, or -1 when it names none that is configured.
int RequestedIcom(const CDualMessage& pair) {
    CPayloadReader request = ReadRequest(pair);
    const int icom = request.U8();
    return request.Ok() && icom < ConfiguredIntercoms() ? icom : -1;
}

}  // namespace

void OnIcomBaudReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    StoreIcomSetting(pair, doc, kCmdIcomBaud, false, 1, &CKelvardinDoc::SetIcomBaudRate);
}

void OnIcomPortReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    StoreIcomSetting(pair, doc, kCmdIcomPort, false, 1, &CKelvardinDoc::SetIcomComPort);
}

void OnIcomConnReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    StoreIcomSetting(pair, doc, kCmdIcomConn, false, 1, &CKelvardinDoc::SetIcomConnType);
}

void OnIcomCostReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    StoreIcomSetting(pair, doc, kCmdIcomCost, true, 2, &CKelvardinDoc::SetIcomCascadeCost);
}

void OnIcomAddressReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    CPayloadReader request = ReadRequest(pair);
    const BYTE addressSet = request.U8();
    const CIcomRange range = ReadRange(request, false);
    if (!request.Ok()) return;
    const IcomAddressSetter set =
        addressSet == 0 ? &CKelvardinDoc::SetIcomPrimaryIP : &CKelvardinDoc::SetIcomBackupIP;
    StoreIcomValues(pair, doc, kCmdIcomAddress, range, 4,
                    [&](DWORD value, int icom) { return (doc.*set)(value, FALSE, icom); });
}

void OnIcomStatusReply(IReplyContext&, const CDualMessage& pair, CKelvardinDoc& doc) {
    const int icom = RequestedIcom(pair);
    if (pair.reply.command != kCmdIcomStatus || icom < 0 || pair.reply.length < 8) return;
    CPayloadReader reply = ReadReply(pair);
    const BYTE flags = reply.U8();
    const BYTE model = reply.U8();
    const WORD number = reply.U16();
    const BYTE byteValue = reply.U8();
    const WORD wordValue = reply.U16();
    const std::size_t textLength = reply.Left();
    const CString text = NarrowText(reply.Take(textLength), textLength);

    BOOL changed = doc.SetIcomStatusFlags(icom, flags);
    changed |= doc.SetIcomModel(icom, model);
    changed |= doc.SetIcomStatusNumber(icom, number);
    changed |= doc.SetIcomStatusValues(icom, byteValue, wordValue);
    changed |= doc.SetIcomStatusText(icom, text);
    SendHint(doc, kCmdIcomStatus, changed);
}

void OnRemoteTrunkingReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc) {
    const int icom = RequestedIcom(pair);
    if (pair.reply.command != kCmdRemoteTrunking || icom < 0) return;
    CPayloadReader reply = ReadReply(pair);
    const BYTE start = reply.U8();
    const UINT bits = reply.U16();
    const BYTE* bytes = reply.Take((bits + 7) / 8);
    if (!reply.Ok()) return;

    CBitArray ports(bits);
    if (bits) ports.LoadBits(bytes);
    int trunk = -1;
    int over = -1;
    const BOOL portUsedBefore = doc.FindTrunkOnRemoteTrunkPort(trunk);
    const BOOL overflowBefore = doc.FindRemoteTrunkRangeOverflow(over);
    const BOOL portsChanged = doc.SetIcomRemoteTrunkSet(icom, ports);
    const BOOL startChanged = doc.SetIcomRemoteTrunkBase(icom, start);
    if (!portsChanged && !startChanged) return;
    SendHint(doc, kCmdRemoteTrunking, TRUE);
    if (!overflowBefore && doc.FindRemoteTrunkRangeOverflow(over))
        context.PostToMainWindow(WM_LINK_ICOM_WARNING, static_cast<WPARAM>(over), 0);
    if (!portUsedBefore && doc.FindTrunkOnRemoteTrunkPort(trunk))
        context.PostToMainWindow(WM_LINK_TRUNK_WARNING, static_cast<WPARAM>(trunk), 0);
}
