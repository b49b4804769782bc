#include "link/wire_assign.h"

CAssign ReadWireAssign(CPayloadReader& reader) {
    const BYTE icom = reader.U8();
    const WORD word = reader.U16();
    const int index = AlphaTypeToIndex(word >> 12);
    return CAssign(icom, index < 0 ? CAssign::kNoType : static_cast<BYTE>(index),
                   static_cast<WORD>(word & 0x0FFF));
}

void WriteWireAssign(CPayloadWriter& writer, const CAssign& assign) {
    // A type without a code (none) keeps only its low four bits, as the controller expects;
    // the number is masked so that it never reaches the type bits.
    const int code = AlphaIndexToType(assign.m_type);
    const WORD type = static_cast<WORD>((code < 0 ? 0xFF : code) & 0x0F);
    writer.U8(assign.m_icom);
    writer.U16(static_cast<WORD>((type << 12) | (assign.m_number & 0x0FFF)));
}
