#include <algorithm>
#include <mutex>
#include <utility>

#include "link/cv_data_mgr.h"
#include "model/app_state.h"

namespace {

constexpr UINT kWindowBytes = IMemoryPage::kPageSize;

}  // namespace

void CCVDataMgr::SetMemoryCpu(int cpu) {
    std::lock_guard guard(DeviceLock());
    m_nMemoryCpu = cpu == 0 || cpu == 1 ? cpu : -1;
}

int CCVDataMgr::GetMemoryCpu() const {
    return m_nMemoryCpu;
}

const CCVDataMgr::CMemoryWindow& CCVDataMgr::Memory() const {
    return m_nMemoryCpu < 0 ? m_blankMemory : m_memory[static_cast<size_t>(m_nMemoryCpu)];
}

CCVDataMgr::CMemoryWindow& CCVDataMgr::Memory() {
    if (m_nMemoryCpu >= 0) return m_memory[static_cast<size_t>(m_nMemoryCpu)];
    m_scratchMemory = CMemoryWindow();
    return m_scratchMemory;
}

void CCVDataMgr::RequestMemoryRead(DWORD address) {
    if (!m_bOnline || m_nMemoryCpu < 0) return;
    Memory().readAddress = address;
    MarkMisc(m_nMemoryCpu == 0 ? CMiscRequestMgr::kReadMemory0 : CMiscRequestMgr::kReadMemory1);
    WakeEngine();
}

BOOL CCVDataMgr::RequestMemoryWrite(const CLinkSession& session, DWORD address) {
    // The memory screen tells of a write not sent in its own way.
    return QueueActing(session, std::nullopt, [&] {
        if (!m_bOnline || m_nMemoryCpu < 0) return false;
        // Asked with nothing pending, the selected window's write still goes, as asked.
        const bool pending = HasUnwrittenMemory() != FALSE;
        for (const int cpu : {0, 1}) {
            CMemoryWindow& memory = m_memory[static_cast<size_t>(cpu)];
            const bool selected = cpu == m_nMemoryCpu;
            if (pending ? memory.writeBits.GetCount() == 0 : !selected) continue;
            // The other's bytes go where they were typed: over its image.
            memory.writeAddress = selected ? address : memory.imageAddress;
            const UINT item =
                cpu == 0 ? CMiscRequestMgr::kWriteMemory0 : CMiscRequestMgr::kWriteMemory1;
            // Kept before the request can go, so that no answer or loss can come first.
            m_memoryWritesOut.push_back({MemoryPayload(item), memory, m_nMemoryWritesMade++});
            MarkItem(item);
        }
        return true;
    });
}

BOOL CCVDataMgr::HasUnwrittenMemory() const {
    return std::any_of(m_memory.begin(), m_memory.end(),
                       [](const CMemoryWindow& memory) { return memory.writeBits.GetCount() > 0; });
}

void CCVDataMgr::DropUnwrittenMemory() {
    for (CMemoryWindow& memory : m_memory)
        memory.writeBits.SetAll(FALSE);
}

BOOL CCVDataMgr::CanWriteMemory() const {
    std::lock_guard guard(DeviceLock());
    return m_bOnline && m_nMemoryCpu >= 0 && SessionStands(CLinkSession::Now());
}

namespace {

// The write the request carries.
template <class Writes>
auto FindWrite(Writes& writes, const CMessage& request) {
    const auto payload = request.Payload();
    return std::find_if(writes.begin(), writes.end(), [&](const auto& w) {
        return std::equal(w.payload.begin(), w.payload.end(), payload.begin(), payload.end());
    });
}

}  // namespace

// The bytes the newer write set go out of the older one: they are the user's last word.
void CCVDataMgr::ForgetCoveredBytes(CMemoryWindow& older, const CMemoryWindow& newer) {
    for (int i = newer.writeBits.FindNext(0); i >= 0; i = newer.writeBits.FindNext(i + 1)) {
        const DWORD address = newer.writeAddress + static_cast<DWORD>(i);
        if (IMemoryPage::InPage(older.writeAddress, address))
            older.writeBits.SetBit(address - older.writeAddress, FALSE);
    }
}

// The newer write's bytes over the older one's, in one window at one address.
void CCVDataMgr::Overlay(CMemoryWindow& older, const CMemoryWindow& newer) {
    for (int i = newer.writeBits.FindNext(0); i >= 0; i = newer.writeBits.FindNext(i + 1)) {
        older.writeBits.SetBit(static_cast<UINT>(i), TRUE);
        older.values[static_cast<size_t>(i)] = newer.values[static_cast<size_t>(i)];
    }
}

void CCVDataMgr::GiveBack(CMemoryWriteOut write, WriteBack why) {
    write.why = why;
    const auto later = std::upper_bound(
        m_memoryWritesUnanswered.begin(), m_memoryWritesUnanswered.end(), write.made,
        [](unsigned made, const CMemoryWriteOut& w) { return made < w.made; });
    m_memoryWritesUnanswered.insert(later, std::move(write));
}

// A write may have run with its reply lost, so it is not sent again on its own: the user
// gets its bytes back, marked, to write them again or not.
void CCVDataMgr::MemoryWriteUnanswered(const CMessage& request) {
    const auto write = FindWrite(m_memoryWritesOut, request);
    if (write == m_memoryWritesOut.end()) return;
    GiveBack(std::move(*write), WriteBack::kUnanswered);
    m_memoryWritesOut.erase(write);
}

// Written, its bytes leave every older write given back: none offers an older value again.
void CCVDataMgr::MemoryWriteAnswered(const CMessage& request) {
    const auto write = FindWrite(m_memoryWritesOut, request);
    if (write == m_memoryWritesOut.end()) return;
    const BYTE cpu = CpuOf(*write);
    for (CMemoryWriteOut& back : m_memoryWritesUnanswered) {
        if (CpuOf(back) == cpu && back.made < write->made)
            ForgetCoveredBytes(back.window, write->window);
    }
    std::erase_if(m_memoryWritesUnanswered,
                  [](const CMemoryWriteOut& w) { return w.window.writeBits.GetCount() == 0; });
    m_memoryWritesOut.erase(write);
}

// Refused, the write did not run: its bytes go back to the user, who is told why.
void CCVDataMgr::MemoryWriteRefused(const CMessage& request) {
    const auto write = FindWrite(m_memoryWritesOut, request);
    if (write == m_memoryWritesOut.end()) return;
    GiveBack(std::move(*write), WriteBack::kRefused);
    m_memoryWritesOut.erase(write);
}

// The queued writes, the newest of those out, are marked as never gone and never go.
void CCVDataMgr::MarkQueuedWritesUnsent() {
    for (const UINT item : {CMiscRequestMgr::kWriteMemory0, CMiscRequestMgr::kWriteMemory1}) {
        for (const std::vector<BYTE>& payload : m_misc.TakeQueued(item)) {
            const auto write = std::find_if(
                m_memoryWritesOut.rbegin(), m_memoryWritesOut.rend(),
                [&](const CMemoryWriteOut& w) { return w.went && w.payload == payload; });
            if (write != m_memoryWritesOut.rend()) write->went = FALSE;
        }
    }
}

void CCVDataMgr::MemoryWritesDropped() {
    MarkQueuedWritesUnsent();
    const auto unsent = std::stable_partition(m_memoryWritesOut.begin(), m_memoryWritesOut.end(),
                                              [](const CMemoryWriteOut& w) { return w.went; });
    for (auto write = unsent; write != m_memoryWritesOut.end(); ++write)
        GiveBack(std::move(*write), WriteBack::kUnsent);
    m_memoryWritesOut.erase(unsent, m_memoryWritesOut.end());
}

// A write cut off by the closing may have run or not, as one whose answer was lost: its bytes
// go back to the user, as do those of the writes still queued.
void CCVDataMgr::MemoryWritesCutOff() {
    MarkQueuedWritesUnsent();
    for (CMemoryWriteOut& write : m_memoryWritesOut) {
        const WriteBack why = write.went ? WriteBack::kUnanswered : WriteBack::kUnsent;
        GiveBack(std::move(write), why);
    }
    m_memoryWritesOut.clear();
}

std::vector<CCVDataMgr::CUnwrittenMemory> CCVDataMgr::ForgetUnwrittenMemory() {
    std::lock_guard guard(DeviceLock());
    std::vector<CUnwrittenMemory> writes;
    for (const CMemoryWriteOut& write : m_memoryWritesUnanswered)
        writes.push_back({write.window.writeAddress, write.why});
    m_memoryWritesUnanswered.clear();
    return writes;
}

BOOL CCVDataMgr::WaitForMemoryWrites() {
    // What comes back from here on is told of as the program ends, not put back on the screen.
    m_bWritesFinal = TRUE;
    const auto settled = [this] {
        std::lock_guard guard(DeviceLock());
        return m_memoryWritesOut.empty();
    };
    // Without a link nothing will go, or be answered.
    if (!settled() && m_pump && IsConnected())
        m_pump->PumpWaitingMessages(settled, GetTiming().memoryWritesWaitMs);
    return settled();
}

BOOL CCVDataMgr::HasMemoryWritesUntold() const {
    std::lock_guard guard(DeviceLock());
    return !m_memoryWritesOut.empty() || !m_memoryWritesUnanswered.empty();
}

BYTE CCVDataMgr::CpuOf(const CMemoryWriteOut& write) {
    return write.payload.size() > 1 ? write.payload[1] : 0xFF;
}

std::optional<CCVDataMgr::CUnwrittenMemory> CCVDataMgr::TakeBackUnwrittenMemory() {
    if (m_bWritesFinal || m_nMemoryCpu < 0) return std::nullopt;
    const auto cpu = static_cast<BYTE>(m_nMemoryCpu);
    // It takes the place of that processor's window, and of nothing pending there.
    if (m_memory[cpu].writeBits.GetCount() > 0) return std::nullopt;
    const auto ofCpu = [cpu](const CMemoryWriteOut& w) { return CpuOf(w) == cpu; };
    std::lock_guard guard(DeviceLock());
    // A write still on its way may yet come back, to be offered with the others, or be
    // answered, which settles its bytes.
    if (std::any_of(m_memoryWritesOut.begin(), m_memoryWritesOut.end(), ofCpu)) return std::nullopt;
    auto& back = m_memoryWritesUnanswered;
    std::optional<CMemoryWriteOut> write;
    while (!write) {
        const auto oldest = std::find_if(back.begin(), back.end(), ofCpu);
        if (oldest == back.end()) return std::nullopt;
        write = std::move(*oldest);
        back.erase(oldest);
        // Every write of the window comes back as one, each byte as the user last set it; the
        // bytes of later writes to other windows wait for those.
        for (auto later = back.begin(); later != back.end();) {
            if (!ofCpu(*later)) {
                ++later;
            } else if (later->window.writeAddress == write->window.writeAddress) {
                Overlay(write->window, later->window);
                // The most doubtful tells: one that may have run before one that did not.
                write->why = std::min(write->why, later->why);
                later = back.erase(later);
            } else {
                ForgetCoveredBytes(write->window, later->window);
                ++later;
            }
        }
        if (write->window.writeBits.GetCount() == 0) write.reset();
    }
    // The window as it was when the user chose to write, read again from its own address.
    CMemoryWindow& memory = m_memory[cpu];
    memory = write->window;
    memory.readAddress = memory.writeAddress;
    return CUnwrittenMemory{memory.writeAddress, write->why};
}

// The payload of a memory read or write of the processor that the item names, as it stands.
std::vector<BYTE> CCVDataMgr::MemoryPayload(UINT item) const {
    const bool standby =
        item == CMiscRequestMgr::kReadMemory1 || item == CMiscRequestMgr::kWriteMemory1;
    const CMemoryWindow& memory = m_memory[standby ? 1 : 0];
    const bool write =
        item == CMiscRequestMgr::kWriteMemory0 || item == CMiscRequestMgr::kWriteMemory1;
    CMessage message;
    CPayloadWriter request(message, 0);
    request.U16(standby ? 1 : 0)
        .U32(write ? memory.writeAddress : memory.readAddress)
        .U8(kWindowBytes);
    if (write) {
        std::array<BYTE, (kWindowBytes + 7) / 8> bits{};
        memory.writeBits.StoreBits(bits.data());
        request.Bytes(bits);
        for (int i = memory.writeBits.FindNext(0); i >= 0; i = memory.writeBits.FindNext(i + 1))
            request.U8(memory.values[static_cast<size_t>(i)]);
    }
    const auto bytes = message.Payload();
    return {bytes.begin(), bytes.end()};
}

void CCVDataMgr::StoreMemoryImage(int cpu, DWORD address, std::span<const BYTE> bytes) {
    if (cpu != 0 && cpu != 1) return;
    CMemoryWindow& memory = m_memory[static_cast<size_t>(cpu)];
    memory.imageAddress = address;
    memory.image.fill(0);
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), kWindowBytes), memory.image.begin());
}

BOOL CCVDataMgr::SetMemoryByte(DWORD address, DWORD value) {
    if (GetApp().GetMode() != CAppState::kModeOnline || value > 255 || m_nMemoryCpu < 0)
        return FALSE;
    CMemoryWindow& memory = Memory();
    if (!IMemoryPage::InPage(memory.imageAddress, address)) return FALSE;
    const UINT offset = address - memory.imageAddress;
    const BYTE byte = static_cast<BYTE>(value);
    if (memory.writeBits.GetBit(offset)) {
        memory.values[offset] = byte;
    } else if (byte != memory.image[offset]) {
        memory.writeBits.SetBit(offset, TRUE);
        memory.values[offset] = byte;
    }
    return TRUE;
}
