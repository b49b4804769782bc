#include "screens/cells/inspect_grid_cell.h"

#include "model/app_state.h"
#include "model/kelvardin_doc.h"

namespace {

constexpr DWORD kFieldInspectedTrunk = 10;
constexpr DWORD kFirstMark = 33;
constexpr DWORD kLastMark = 64;

}  // namespace

CInspectGridCell::CInspectGridCell() {
    UpdateText();
}

COLORREF CInspectGridCell::GetBackClr() const {
    const COLORREF own = CGridCell::GetBackClr();
    if (IsFixed()) return own;
    const CAppState& app = GetApp();
    const DWORD field = GetObjSpec().m_nFieldId;
    if (field >= kFirstMark && field <= kLastMark) {
        const CString& text = GetText();
        if (text == u"Y") return app.m_clrInspectOn;
        if (text == u"-") return app.m_clrInspectOff;
        if (text.Find(u'*') >= 0) return app.m_clrInspectWait;
        return own;
    }
    if (field == kFieldInspectedTrunk) {
        const CKelvardinDoc* doc = GetDocument();
        const int trunk = MappedSpec().GetIndex();
        if (doc && (doc->IsTrunkInMaintenance(trunk) || doc->IsTrunkFlagged(trunk)))
            return app.m_clrInspectOff;
    }
    return own;
}
