#include "link/label_request_mgrs.h"

#include <mutex>

#include "link/command_codes.h"
#include "platform/base/byte_order.h"

namespace {

constexpr UINT kPage = 128;
constexpr UINT kWidePage = 64;
constexpr int kWideFormat = 4;

void WriteLabelRequest(CMessage& message, UINT icom, UINT kind, UINT first, UINT format,
                       UINT count) {
    CRequestWriter(message, kCmdNames).Byte(icom).U16(kind << 12 | first).U16(format << 12 | count);
}

}  // namespace

BOOL CLabelRequest::Read(const CMessage& request) {
    if (request.command != kCmdNames || request.length != 5) return FALSE;
    const WORD range = GetU16BE(&request.payload[1]);
    const WORD size = GetU16BE(&request.payload[3]);
    icom = request.payload[0];
    kind = range >> 12;
    first = range & kFieldMask;
    format = size >> 12;
    count = size & kFieldMask;
    return TRUE;
}

BOOL CIcomNameMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    const int format = config.IsExtended() ? LabelFormat(m_nLength, config)
                       : m_nLength == 4    ? 0
                                           : -1;
    if (format < 0) return Drop();
    UINT first = 0;
    UINT count = 0;
    if (!TakeRange(m_nLength == 16 ? kWidePage : kPage, first, count)) return FALSE;
    WriteLabelRequest(message, 0, kNameKind, first, static_cast<UINT>(format), count);
    return TRUE;
}

int CAlphaMgr::IndexOfWireType(UINT wireType) {
    for (int i = 0; i < kTypes; ++i) {
        if (kWireTypes[i] == wireType) return i;
    }
    return -1;
}

BOOL CAlphaMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    std::lock_guard guard(Lock());
    const int format = LabelFormat(config.alphaSize, config);
    if (format < 0) {
        m_nCurrent = m_nOffset = -1;
        return Drop();
    }
    const UINT page = format == kWideFormat ? kWidePage : kPage;
    // A list that would run past what a request can address has ended too.
    if (m_nCurrent >= static_cast<int>(GetSize()) ||
        static_cast<UINT>(m_nOffset) > CLabelRequest::kFieldMask)
        m_nCurrent = m_nOffset = -1;
    if (m_nCurrent < 0) {
        UINT icom = 0;
        if (!TakeOne(icom)) return FALSE;
        m_nCurrent = static_cast<int>(icom);
        m_nOffset = 0;
    }
    WriteLabelRequest(message, static_cast<UINT>(m_nCurrent), kWireTypes[m_nType],
                      static_cast<UINT>(m_nOffset), static_cast<UINT>(format), page);
    m_nOffset += static_cast<int>(page);
    return TRUE;
}

void CAlphaMgr::Requeue(const CMessage& request) {
    CLabelRequest page;
    if (!page.Read(request)) return;
    std::lock_guard guard(Lock());
    if (m_nCurrent >= 0 && m_nCurrent != static_cast<int>(page.icom)) {
        Add(page.icom);
        return;
    }
    m_nCurrent = static_cast<int>(page.icom);
    m_nOffset = static_cast<int>(page.first);
}

int CAlphaMgr::GetCurrentIntercom() const {
    std::lock_guard guard(Lock());
    return m_nCurrent;
}

void CAlphaMgr::EndPaging(int icom) {
    std::lock_guard guard(Lock());
    if (m_nCurrent == icom) m_nCurrent = m_nOffset = -1;
}

BOOL CAlphaMgr::IsLastPage(const CDualMessage& pair) {
    CLabelRequest request;
    if (!request.Read(pair.request)) return FALSE;
    const CMessage& reply = pair.reply;
    if (reply.nak || reply.length < 2) return TRUE;
    const UINT total = GetU16BE(reply.payload.data());
    return total == 0 || request.first + request.count >= total;
}
