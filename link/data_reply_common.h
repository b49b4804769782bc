#pragma once

#include <algorithm>

#include "link/payload_io.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/base/codepage.h"

// Shared pieces of the data reply handlers.

inline const CCVConfig& LiveConfig() {
    return GetApp().GetConfig();
}

inline int ConfiguredIntercoms() {
    return LiveConfig().m_wNumIntercoms;
}

// How many records of first .. first + count lie below the configured count.
inline int RecordsInRange(int first, int count, int configured) {
    return std::max(0, std::min(first + count, configured) - first);
}

inline CPayloadReader ReadRequest(const CDualMessage& pair) {
    return CPayloadReader(pair.request.Payload());
}

inline CPayloadReader ReadReply(const CDualMessage& pair) {
    return CPayloadReader(pair.reply.Payload());
}

inline void SendHint(CKelvardinDoc& doc, DWORD code, BOOL changed) {
    if (changed) doc.UpdateAllFrameViews(nullptr, CUpdateHint::Reply(code));
}

// 8-bit text of n bytes, up to the first zero byte.
inline CString NarrowText(const BYTE* bytes, std::size_t n) {
    const BYTE* end = std::find(bytes, bytes + n, BYTE{0});
    return CString(FromAnsi(std::string_view(reinterpret_cast<const char*>(bytes),
                                             static_cast<std::size_t>(end - bytes))));
}

// n UTF-16 characters, each big-endian, up to the first zero character.
inline CString WideText(const BYTE* bytes, std::size_t n) {
    std::u16string text = GetUtf16BE(bytes, n);
    text.resize(std::min(text.size(), text.find(u'\0')));
    return CString(text);
}
