#pragma once

#include "link/message.h"

class CKelvardinDoc;
class IReplyContext;

// The handlers of the replies that carry controller data into the setup. Each reads the range
// it asked for from the request half of the pair and drops a reply of another code or of a
// length that does not fit that range; records beyond the configured counts are dropped.
// Values are stored through the document's received-value setters, so a change the user has
// not sent yet always wins. When anything changed, the reply's code goes to the visible panes
// as the update hint, once per reply.
using DataReplyHandler = void (*)(IReplyContext& context, const CDualMessage& pair,
                                  CKelvardinDoc& doc);

// The handler of a reply code, or null when the code carries no setup data.
DataReplyHandler FindDataReplyHandler(DWORD code);

// Trunks.
void OnTrunkDefsReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnTrunkStatesReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnTrunkSummaryReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnTrunkInspectReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);

// Intercoms.
void OnIcomBaudReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnIcomPortReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnIcomConnReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnIcomAddressReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnIcomCostReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnIcomStatusReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnRemoteTrunkingReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);

// Groups, names and alphas.
void OnGroupsReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnNamesReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);

// Options, link status and controller services.
void OnTimeoutReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnAutoClearReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnDynamicAllocReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnWaitForTalkKeyReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnCommStatusReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnCommErrorsReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnClockReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnLogRecordReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
void OnSNMPConfigReply(IReplyContext& context, const CDualMessage& pair, CKelvardinDoc& doc);
