#pragma once

#include "platform/base/win_types.h"

// What the document tells its views changed: one of its own kinds, numbered from 0x10000 up,
// or the command code of a controller reply whose data changed, below them. The views' update
// call carries the number as it stands; this type keeps the two apart on either side of it.
class CUpdateHint {
public:
    static const CUpdateHint kRefresh;        // refresh and repaint
    static const CUpdateHint kSelection;      // a screen changed the selection
    static const CUpdateHint kFileRead;       // a setup file has been read
    static const CUpdateHint kAlphaStored;    // object: the assignment key
    static const CUpdateHint kAlphaRemoved;   // object: the assignment key
    static const CUpdateHint kRebuild;        // the setup was reset or the configuration changed
    static const CUpdateHint kMemoryPage;     // object: the address to show
    static const CUpdateHint kMemoryContent;  // confirm the pending memory writes
    // The trunk definitions reply's code, also sent after a trunk end or fixed-assignment edit.
    static const CUpdateHint kTrunkDefs;

    static constexpr CUpdateHint Reply(DWORD code) {
        return CUpdateHint(static_cast<LPARAM>(code));
    }
    // The hint a view's update call carries.
    static constexpr CUpdateHint FromParam(LPARAM value) { return CUpdateHint(value); }
    constexpr LPARAM ToParam() const { return m_value; }

    // Whether it names a reply's data rather than one of the document's kinds.
    constexpr bool IsReply() const { return m_value > 0 && m_value < kFirstKind; }
    constexpr bool IsReply(DWORD code) const {
        return IsReply() && m_value == static_cast<LPARAM>(code);
    }

    friend constexpr bool operator==(const CUpdateHint&, const CUpdateHint&) = default;

private:
    static constexpr LPARAM kFirstKind = 0x10000;

    explicit constexpr CUpdateHint(LPARAM value) : m_value(value) {}

    LPARAM m_value;
};

inline constexpr CUpdateHint CUpdateHint::kRefresh{0x10000};
inline constexpr CUpdateHint CUpdateHint::kSelection{0x20000};
inline constexpr CUpdateHint CUpdateHint::kFileRead{0x30000};
inline constexpr CUpdateHint CUpdateHint::kAlphaStored{0x40000};
inline constexpr CUpdateHint CUpdateHint::kAlphaRemoved{0x50000};
inline constexpr CUpdateHint CUpdateHint::kRebuild{0x60000};
inline constexpr CUpdateHint CUpdateHint::kMemoryPage{0x70000};
inline constexpr CUpdateHint CUpdateHint::kMemoryContent{0x80000};
inline constexpr CUpdateHint CUpdateHint::kTrunkDefs{8};
