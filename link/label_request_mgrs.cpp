#include "link/label_request_mgrs.h"

#include <mutex>

#include "link/wire_labels.h"
#include "platform/base/byte_order.h"

namespace {

void WriteLabelRequest(CMessage& message, UINT icom, UINT kind, UINT first, UINT format,
                       UINT count) {
    CLabelRequest{icom, {kind, first, format, count}}.Write(message);
}

}  // namespace

BOOL CIcomNameMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    const int format = config.IsExtended() ? LabelFormat(m_nLength, config)
                       : m_nLength == 4    ? 0
                                           : -1;
    if (format < 0) return Drop();
    UINT first = 0;
    UINT count = 0;
    if (!TakeRange(m_nLength == 16 ? kWideLabelsPerMessage : kLabelsPerMessage, first, count))
        return FALSE;
    WriteLabelRequest(message, 0, CWireLabelRange::kNameKind, first, static_cast<UINT>(format),
                      count);
    return TRUE;
}

BOOL CAlphaMgr::Supports(int type, const CLinkConfig& config) {
    switch (AlphaIndexToType(type)) {
        case 6: return config.IsExtended();
        case 8: return config.HasCapability(CCVConfig::kIFBSLSupport);
        default: return type >= 0 && type < kTypes;
    }
}

void CAlphaMgr::Add(UINT item) {
    if (m_bSupported) CRequestMgr::Add(item);
}

void CAlphaMgr::AddRange(UINT first, UINT count) {
    if (m_bSupported) CRequestMgr::AddRange(first, count);
}

void CAlphaMgr::AddAll() {
    if (m_bSupported) CRequestMgr::AddAll();
}

BOOL CAlphaMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    std::lock_guard guard(Lock());
    const int format = LabelFormat(config.alphaSize, config);
    if (format < 0 || !Supports(m_nType, config)) {
        m_nCurrent = m_nOffset = -1;
        return Drop();
    }
    const UINT page = WireLabelSize(static_cast<UINT>(format)) == kWideLabelSize
                          ? kWideLabelsPerMessage
                          : kLabelsPerMessage;
    // A list that would run past what a request can address has ended too.
    if (m_nCurrent >= static_cast<int>(GetSize()) ||
        static_cast<UINT>(m_nOffset) > CWireLabelRange::kFieldMask)
        m_nCurrent = m_nOffset = -1;
    if (m_nCurrent < 0) {
        UINT icom = 0;
        if (!TakeOne(icom)) return FALSE;
        m_nCurrent = static_cast<int>(icom);
        m_nOffset = 0;
    }
    WriteLabelRequest(message, static_cast<UINT>(m_nCurrent),
                      static_cast<UINT>(AlphaIndexToType(m_nType)), static_cast<UINT>(m_nOffset),
                      static_cast<UINT>(format), page);
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
    m_nOffset = static_cast<int>(page.range.first);
}

void CAlphaMgr::GiveUp(const CMessage& request) {
    CLabelRequest page;
    if (page.Read(request)) EndPaging(static_cast<int>(page.icom));
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
    return total == 0 || request.range.first + request.range.count >= total;
}
