#include "tests/sim/sim_set_requests.h"

#include <algorithm>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Reads a set request front to back; a read past the end fails it.
class Reader {
public:
    explicit Reader(const Bytes& bytes) : m_bytes(bytes) {}
    unsigned U8() { return Ok(1) ? m_bytes[m_at++] : 0; }
    unsigned U16() { return U8() << 8 | U8(); }
    Bytes Take(std::size_t n) {
        if (!Ok(n)) return {};
        Bytes out(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at),
                  m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at + n));
        m_at += n;
        return out;
    }
    bool Good() const { return !m_failed; }

private:
    bool Ok(std::size_t n) {
        if (m_at + n > m_bytes.size()) m_failed = true;
        return !m_failed;
    }
    const Bytes& m_bytes;
    std::size_t m_at = 0;
    bool m_failed = false;
};

// The spanned records of a set request: the bitmap after first and count, then one value of
// size bytes per set bit, each handed to store(index, bytes).
template <class Store>
void ForEachChanged(Reader& in, unsigned first, unsigned count, std::size_t size, Store store) {
    const Bytes bitmap = in.Take((count + 7) / 8);
    std::vector<std::pair<int, Bytes>> values;
    for (unsigned k = 0; k < count && in.Good(); ++k) {
        if (bitmap[k / 8] & (1u << (k % 8))) values.emplace_back(first + k, in.Take(size));
    }
    if (!in.Good()) return;
    for (auto& [index, bytes] : values)
        store(index, bytes);
}

void StoreRecords(SimSetup& setup, unsigned key, Reader& in, unsigned first, unsigned count,
                  std::size_t size) {
    ForEachChanged(in, first, count, size, [&](int index, const Bytes& bytes) {
        setup.records[{key, index}] = bytes;
    });
}

// 9: what changed, the four assignments and the flags over the 13-byte trunk record.
void ApplyTrunks(SimSetup& setup, Reader& in) {
    const unsigned first = in.U16();
    const unsigned count = in.U16();
    ForEachChanged(in, first, count, 14, [&](int trunk, const Bytes& b) {
        Bytes record = setup.Record(8, trunk, 13);
        if (b[0] & 0x01) std::copy(b.begin() + 1, b.begin() + 7, record.begin());
        if (b[0] & 0x04) {
            std::copy(b.begin() + 7, b.begin() + 13, record.begin() + 6);
            record[12] = static_cast<std::uint8_t>((record[12] & ~0x01) | (b[13] & 0x01));
        }
        if (b[0] & 0x02)
            record[12] = static_cast<std::uint8_t>((record[12] & ~0x02) | (b[13] & 0x02));
        setup.records[{8, trunk}] = record;
    });
}

// 6: the names of one length.
void ApplyNames(SimSetup& setup, Reader& in) {
    const unsigned first = in.U16() & 0xFFF;
    const unsigned word = in.U16();
    const unsigned format = word >> 12;
    const unsigned count = word & 0xFFF;
    static constexpr std::size_t kSizes[] = {4, 4, 6, 8, 16};
    if (format > 4) return;
    const int lengthIndex = format == 0 ? 0 : static_cast<int>(format) - 1;
    ForEachChanged(in, first, count, kSizes[format], [&](int icom, const Bytes& b) {
        std::string name;
        for (std::size_t i = 0; i < b.size(); i += format == 4 ? 2 : 1) {
            const std::uint8_t c = format == 4 ? b[i + 1] : b[i];
            if (c == 0) break;
            name.push_back(static_cast<char>(c));
        }
        setup.names[icom][static_cast<std::size_t>(lengthIndex)] = name;
    });
}

}  // namespace

void ApplySimSetRequest(SimSetup& setup, const SimFrame& request) {
    Reader in(request.payload);
    auto byteRange = [&](unsigned key, std::size_t size) {
        const unsigned first = in.U8();
        const unsigned count = in.U8();
        StoreRecords(setup, key, in, first, count, size);
    };
    switch (request.command) {
        case 9: ApplyTrunks(setup, in); break;
        case 6: ApplyNames(setup, in); break;
        case 16: byteRange(15, 1); break;
        case 28: byteRange(27, 1); break;
        case 69: byteRange(68, 1); break;
        case 71: {
            const unsigned set = in.U8();
            byteRange(SimSetup::RecordKey(70, set), 4);
            break;
        }
        case 82: {
            const unsigned first = in.U16();
            const unsigned count = in.U16();
            StoreRecords(setup, 81, in, first, count, 2);
            break;
        }
        case 33:
        case 85: {
            const unsigned first = in.U8();
            const unsigned countByte = in.U8();
            const bool extended = request.command == 85;
            const bool wide = extended || (countByte & 0x80);
            const std::size_t size = (wide ? 24 : 12) + (extended ? 32 : 4);
            StoreRecords(setup, extended ? 84 : 32, in, first,
                         extended ? countByte : countByte & 0x7F, size);
            break;
        }
        case 12:
        case 65:
        case 47:
        case 51: {
            if (in.U8() != 1) return;
            const Bytes value = in.Take(request.command == 12 || request.command == 65 ? 2 : 1);
            if (in.Good()) setup.records[{request.command - 1, 0}] = value;
            break;
        }
        case 39: {
            const unsigned trunk = in.U16();
            const unsigned mode = in.U8();
            if (in.Good())
                setup.trunkModes[static_cast<int>(trunk)] = static_cast<std::uint8_t>(mode);
            break;
        }
        default: break;
    }
}
