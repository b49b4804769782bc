#include <algorithm>
#include <cstdint>

#include "model/app_state.h"
#include "model/edit_rules.h"
#include "model/kelvardin_doc.h"
#include "model/newer_holders.h"
#include "model/select_alpha.h"
#include "model/undo_object.h"

namespace {

constexpr CEditRule kIcomUndefined{7, 2334};
constexpr CEditRule kIcomUndefinedQuestion{8, 2421};
constexpr CEditRule kIcomNumberInvalid{9, 2335};
constexpr CEditRule kIcomTextInvalid{10, 2357};
constexpr CEditRule kNoAlphaForLabel{11, 2351};
constexpr CEditRule kNoAlphaOfIcomForLabel{11, 2352};
constexpr CEditRule kNoAlphaForAssign{12, 2354};
constexpr CEditRule kNoAlphaForPortQuestion{13, 2426};
constexpr CEditRule kNoAlphaForAssignQuestion{13, 2422};
constexpr CEditRule kNoAlphaOfflineQuestion{13, 2427};
constexpr CEditRule kPortWithoutIcom{14, 2337, true};
constexpr CEditRule kPortNotPP{15, 2338};
constexpr CEditRule kIcomAtOtherEnd{16, 2355};
constexpr CEditRule kUsedAsFixed{17, 2358};
constexpr CEditRule kUsedAsEnd{18, 2359};
constexpr CEditRule kFixedWithoutIcom{19, 2336, true};
constexpr CEditRule kAssignTextInvalid{20, 2353};
constexpr CEditRule kFixedUsedAsEnd{21, 2356};
constexpr CEditRule kFixedFlagWithoutFixed{22, 2329, true};
constexpr CEditRule kFixedPortNotice{23, 2360};
constexpr CEditRule kFixedPairInvalid{24, 2361};
constexpr CEditRule kCascadeWhenFixed{25, 2362};
constexpr CEditRule kFixedOnRemotePort{32, 5498};
constexpr CEditRule kEndOnRemotePort{33, 5499};

constexpr BYTE kPP = 0;
constexpr BYTE kPL = 1;
// A bare port number names ports 1-999, the numbers an assignment text can show.
constexpr long long kLastPortNumber = 999;

bool IsEntryKind(DWORD kind) {
    return kind == CObjSpec::kEntryIcom || kind == CObjSpec::kEntryAlphaLabel ||
           kind == CObjSpec::kEntryAssignText || kind == CObjSpec::kEntryAssignKey;
}

// The fieldSpec of a trunk assignment's undo record.
CObjSpec KeySpec(DWORD index) {
    return CObjSpec(CObjSpec::kAlpha, index, CObjSpec::kEntryAssignKey);
}

CAssign IcomOnly(BYTE icom) {
    return CAssign(icom, CAssign::kNoType, CAssign::kNoNumber);
}

BOOL StoreFlag(CKelvardinDoc& doc, int trunk, DWORD field, BOOL on) {
    return field == CTrunk::kFieldFixed ? doc.SetTrunkFixed(on, TRUE, trunk)
                                        : doc.SetTrunkCascadable(on, TRUE, trunk);
}

BOOL FollowFlag(CKelvardinDoc& doc, int trunk, DWORD field, BOOL on, CUndoObList* undo) {
    return StoreRecorded(doc, CTrunkSpec(trunk, field), CObjSpec::Plain(), undo,
                         [&] { return StoreFlag(doc, trunk, field, on); });
}

}  // namespace

// One edit of a trunk end or fixed assignment.
struct CKelvardinDoc::CTrunkEdit {
    int trunk;
    BOOL isEnd1;
    BOOL isFixed;
    DWORD kind;  // the entry kind of the fieldSpec
    CAssign current;

    DWORD Field() const {
        return isFixed ? (isEnd1 ? CTrunk::kFieldFixed1 : CTrunk::kFieldFixed2)
                       : (isEnd1 ? CTrunk::kFieldEnd1 : CTrunk::kFieldEnd2);
    }
};

BOOL CKelvardinDoc::SetTrunkField(const CObjSpec& objSpec, const CObjSpec& fieldSpec,
                                  const CString& text, BOOL recordUndo) {
    const int trunk = objSpec.GetIndex();
    const DWORD wasModified = IsModified(objSpec);
    switch (objSpec.m_nFieldId) {
        case CTrunk::kFieldEnd1:
            return SetTrunkDefinition(trunk, TRUE, FALSE, text, fieldSpec, recordUndo, wasModified);
        case CTrunk::kFieldEnd2:
            return SetTrunkDefinition(trunk, FALSE, FALSE, text, fieldSpec, recordUndo,
                                      wasModified);
        case CTrunk::kFieldFixed1:
            return SetTrunkDefinition(trunk, TRUE, TRUE, text, fieldSpec, recordUndo, wasModified);
        case CTrunk::kFieldFixed2:
            return SetTrunkDefinition(trunk, FALSE, TRUE, text, fieldSpec, recordUndo, wasModified);
        case CTrunk::kFieldCascadable:
        case CTrunk::kFieldFixed: return SetTrunkFlag(objSpec, fieldSpec, text, recordUndo);
        default: return FALSE;
    }
}

BOOL CKelvardinDoc::SetTrunkFlag(const CObjSpec& objSpec, const CObjSpec& fieldSpec,
                                 const CString& text, BOOL recordUndo) {
    const int trunk = objSpec.GetIndex();
    const BOOL on = DecimalValue(text) != 0;
    const BOOL fixed1 = GetTrunkFixedAssign(trunk, TRUE).IsValid();
    const BOOL fixed2 = GetTrunkFixedAssign(trunk, FALSE).IsValid();
    if (recordUndo && on && objSpec.m_nFieldId == CTrunk::kFieldCascadable && fixed1 && fixed2)
        return Refuse(kCascadeWhenFixed);
    if (recordUndo && on && objSpec.m_nFieldId == CTrunk::kFieldFixed && !fixed1 && !fixed2)
        return Refuse(kFixedFlagWithoutFixed);
    // A flag set as a follow-up of another column's edit is recorded by that edit.
    const BOOL record = recordUndo && fieldSpec.m_nType == CObjSpec::kNone;
    return StoreEdit(*this, objSpec, record,
                     [&] { return StoreFlag(*this, trunk, objSpec.m_nFieldId, on); });
}

BOOL CKelvardinDoc::SetTrunkDefinition(int trunk, BOOL isEnd1, BOOL isFixed, const CString& text,
                                       const CObjSpec& fieldSpec, BOOL recordUndo,
                                       DWORD wasModified) {
    const DWORD kind = fieldSpec.m_nType == CObjSpec::kAlpha ? fieldSpec.m_nFieldId : 0;
    if (!IsEntryKind(kind)) return FALSE;
    const CAssign current =
        isFixed ? GetTrunkFixedAssign(trunk, isEnd1) : GetTrunkEnd(trunk, isEnd1);
    const CTrunkEdit edit{trunk, isEnd1, isFixed, kind, current};
    // The step is made before the alpha dialog can let the controller's values in.
    const std::uint64_t made = GetLastWrite();

    CEditNotices notices;
    CAssign assign;
    if (!ReadTrunkAssign(edit, text, assign, notices)) return FALSE;
    if (recordUndo && !CheckTrunkAssign(edit, assign, notices)) return FALSE;

    const BOOL stored = isFixed ? SetTrunkFixedAssign(assign, isEnd1, TRUE, trunk)
                                : SetTrunkEnd(assign, isEnd1, TRUE, trunk);
    if (!stored) return FALSE;

    std::unique_ptr<CUndoObList> undo;
    if (recordUndo) {
        undo = std::make_unique<CUndoObList>();
        undo->Add(std::make_unique<CUndoObject>(
            CTrunkSpec(trunk, edit.Field()), KeySpec(fieldSpec.m_nIndex),
            CString::Formatted(u"%lu", current.GetKey()), wasModified, std::nullopt, made));
    }
    if (undo) FollowTrunkEdit(edit, undo.get());
    notices.Report();
    UpdateAllFrameViews(nullptr, CUpdateHint::kTrunkDefs);
    if (undo) AddUndoStep(std::move(undo));
    return TRUE;
}

BOOL CKelvardinDoc::ReadTrunkAssign(const CTrunkEdit& edit, const CString& text, CAssign& assign,
                                    CEditNotices& notices) {
    if (WithoutTrailingBlanks(text).IsEmpty()) {
        // Clearing the port of an end keeps its intercom.
        const bool keepIcom = !edit.isFixed && edit.kind != CObjSpec::kEntryIcom &&
                              edit.kind != CObjSpec::kEntryAssignKey;
        assign = keepIcom ? IcomOnly(edit.current.m_icom) : CAssign();
        return TRUE;
    }
    switch (edit.kind) {
        case CObjSpec::kEntryIcom: return ReadIcomEntry(text, assign, notices);
        case CObjSpec::kEntryAlphaLabel: return ReadAlphaEntry(edit, text, assign);
        case CObjSpec::kEntryAssignText: return ReadAssignEntry(edit, text, assign);
        default: {
            const long long key = DecimalValue(text);
            if (!IsNumberText(text) || key > 0xFFFFFFFF) return FALSE;
            assign = CAssign::FromKey(static_cast<DWORD>(key));
            return TRUE;
        }
    }
}

BOOL CKelvardinDoc::ReadIcomEntry(const CString& text, CAssign& assign,
                                  CEditNotices& notices) const {
    const CAppState& app = GetApp();
    const int found = FindIntercomByText(text, -1, app.m_bAllowEntryOfNamelessIntercoms);
    if (found >= 0) {
        assign = IcomOnly(static_cast<BYTE>(found));
        return TRUE;
    }
    CString number = text;
    number.Trim();
    const bool negative =
        number.GetLength() > 1 && number[0] == u'-' && IsNumberText(number.Mid(1));
    if (!negative && !IsNumberText(number)) return Refuse(kIcomTextInvalid);
    const long long n = DecimalValue(number);
    const int visible = app.GetVisibleIcomCount();
    if (n < 1 || n > visible)
        return Refuse(kIcomNumberInvalid, {NumberText(1), NumberText(visible)});

    const int icom = static_cast<int>(n - 1);
    if (GetIcomText(icom, app.GetConfig().m_nAlphaSize, TRUE, FALSE).IsEmpty()) {
        if (!app.m_bAllowEntryOfNamelessIntercoms)
            return Refuse(kIcomUndefined, {NumberText(icom + 1)});
        notices.Add(kIcomUndefinedQuestion, {NumberText(icom + 1)});
    }
    assign = IcomOnly(static_cast<BYTE>(icom));
    return TRUE;
}

BOOL CKelvardinDoc::ReadAlphaEntry(const CTrunkEdit& edit, const CString& text, CAssign& assign) {
    int icom = edit.current.m_icom != CAssign::kNoIcom ? edit.current.m_icom : -1;
    if (edit.isFixed && icom < 0) {
        const BYTE endIcom = GetTrunkEnd(edit.trunk, edit.isEnd1).m_icom;
        if (endIcom == CAssign::kNoIcom) return Refuse(kFixedWithoutIcom);
        icom = endIcom;
    }
    const int typeFilter = edit.isFixed ? -1 : 0;
    const auto refuse = [&] {
        return icom < 0 ? Refuse(kNoAlphaForLabel)
                        : Refuse(kNoAlphaOfIcomForLabel, {IcomLabel(icom)});
    };
    std::vector<CAlphaChoice> alphas;
    FindAlphasByText(icom, text, typeFilter, alphas);
    if (alphas.empty()) return refuse();
    if (alphas.size() == 1) {
        assign = alphas.front().assign;
        return TRUE;
    }
    if (m_pSelectAlpha) NoteChoiceAsked();
    const int chosen = m_pSelectAlpha ? m_pSelectAlpha->DoSelectAlpha(alphas) : -1;
    if (chosen < 0 || chosen >= static_cast<int>(alphas.size())) {
        NoteChoiceCancelled();
        return FALSE;
    }
    assign = alphas[static_cast<size_t>(chosen)].assign;
    // The controller may have removed or relabelled the choice while the dialog was open.
    std::vector<CAlphaChoice> still;
    FindAlphasByText(icom, text, typeFilter, still);
    const auto same = [&](const CAlphaChoice& alpha) { return alpha.assign == assign; };
    return std::ranges::any_of(still, same) ? TRUE : refuse();
}

BOOL CKelvardinDoc::ReadAssignEntry(const CTrunkEdit& edit, const CString& text,
                                    CAssign& assign) const {
    BYTE icom = edit.current.m_icom;
    if (icom == CAssign::kNoIcom) {
        if (!edit.isFixed) return Refuse(kPortWithoutIcom);
        icom = GetTrunkEnd(edit.trunk, edit.isEnd1).m_icom;
        if (icom == CAssign::kNoIcom) return Refuse(kFixedWithoutIcom);
    }
    CString trimmed = text;
    trimmed.Trim();
    int type = -1;
    int number = -1;
    if (!ParseAssignText(trimmed, type, number)) {
        const long long port = DecimalValue(trimmed);
        if (edit.isFixed || !IsNumberText(trimmed) || port < 1 || port > kLastPortNumber)
            return Refuse(kAssignTextInvalid);
        type = kPP;
        number = static_cast<int>(port - 1);
    }
    const CAssign parsed(icom, static_cast<BYTE>(type), static_cast<WORD>(number));
    if (!edit.isFixed && type != kPP)
        return Refuse(kPortNotPP, {FormatAssignText(parsed), GetResourceTypeText(type)});
    assign = parsed;
    return TRUE;
}

BOOL CKelvardinDoc::CheckTrunkAssign(const CTrunkEdit& edit, const CAssign& assign,
                                     CEditNotices& notices) const {
    const CAppState& app = GetApp();
    const bool usable = assign.IsValid();
    const bool typed =
        edit.kind == CObjSpec::kEntryAlphaLabel || edit.kind == CObjSpec::kEntryAssignText;
    if (typed && usable && !FindAlpha(assign.GetKey())) {
        if (!app.m_bAllowEntryOfResourcesWithoutAlphas) return Refuse(kNoAlphaForAssign);
        if (app.GetMode() != CAppState::kModeOnline)
            notices.Add(kNoAlphaOfflineQuestion);
        else
            notices.Add(assign.m_type == kPP ? kNoAlphaForPortQuestion : kNoAlphaForAssignQuestion);
    }
    const CHolderTest freed = FreedByEdit();
    // An end passes over itself; a fixed assignment is looked for on every end.
    const int self = edit.isFixed ? -1 : edit.trunk;
    const CAssignHolders holders{
        [&](const CAssign& a) { return FindTrunkUsingEnd(a, self, edit.isEnd1, nullptr, freed); },
        [&](const CAssign& a) { return FindTrunkUsingFixed(a, nullptr, freed); }};

    if (edit.isFixed) {
        if (!usable) return TRUE;
        if (!RefuseHeldAssign(TRUE, assign, holders)) return FALSE;
        if (assign.m_type == kPP && IsRemoteTrunkPort(assign.m_icom, assign.m_number))
            return Refuse(kFixedOnRemotePort);
        const CAssign& other = GetTrunkFixedAssign(edit.trunk, !edit.isEnd1);
        if (other.IsValid()) {
            const bool anyPP = assign.m_type == kPP || other.m_type == kPP;
            const bool bothPL = assign.m_type == kPL && other.m_type == kPL;
            if (!anyPP && !bothPL) return Refuse(kFixedPairInvalid);
            if (anyPP) notices.Add(kFixedPortNotice, {}, FALSE);
        }
        return TRUE;
    }

    if (edit.kind == CObjSpec::kEntryIcom) {
        if (assign.m_icom == edit.current.m_icom) return FALSE;  // the same intercom again
        const BYTE otherIcom = GetTrunkEnd(edit.trunk, !edit.isEnd1).m_icom;
        const CTrunkSpec otherEnd(edit.trunk,
                                  edit.isEnd1 ? CTrunk::kFieldEnd2 : CTrunk::kFieldEnd1);
        if (assign.m_icom != CAssign::kNoIcom && assign.m_icom == otherIcom &&
            !IsFreedByEdit(otherEnd))
            return Refuse(kIcomAtOtherEnd);
        return TRUE;
    }
    if (!usable) return TRUE;
    if (!RefuseHeldAssign(FALSE, assign, holders)) return FALSE;
    if (IsRemoteTrunkPort(assign.m_icom, assign.m_number)) return Refuse(kEndOnRemotePort);
    return TRUE;
}

BOOL CKelvardinDoc::RestoreTrunkField(const CObjSpec& objSpec, const CString& text,
                                      const CObjSpec& /*fieldSpec*/) {
    const int trunk = objSpec.GetIndex();
    const DWORD field = objSpec.m_nFieldId;
    if (field == CTrunk::kFieldCascadable || field == CTrunk::kFieldFixed)
        return StoreFlag(*this, trunk, field, DecimalValue(text) != 0);
    if (field < CTrunk::kFieldEnd1 || field > CTrunk::kFieldFixed2) return FALSE;
    // Ends and fixed assignments are kept as their keys; no text is no assignment.
    const long long key = DecimalValue(text);
    if (!IsNumberText(text) || key < 0 || key > 0xFFFFFFFF) return FALSE;
    const bool none = WithoutTrailingBlanks(text).IsEmpty();
    const CAssign assign = none ? CAssign() : CAssign::FromKey(static_cast<DWORD>(key));
    const BOOL isEnd1 = field == CTrunk::kFieldEnd1 || field == CTrunk::kFieldFixed1;
    const BOOL stored = field >= CTrunk::kFieldFixed1
                            ? SetTrunkFixedAssign(assign, isEnd1, TRUE, trunk)
                            : SetTrunkEnd(assign, isEnd1, TRUE, trunk);
    if (stored) UpdateAllFrameViews(nullptr, CUpdateHint::kTrunkDefs);
    return stored;
}

BOOL CKelvardinDoc::RefuseHeldAssign(BOOL isFixed, const CAssign& assign,
                                     const CAssignHolders& holders) {
    if (!assign.IsValid()) return TRUE;
    if (isFixed) {
        const int t = holders.end(assign);
        return t >= 0 ? Refuse(kFixedUsedAsEnd, {NumberText(t + 1)}) : TRUE;
    }
    if (const int t = holders.fixed(assign); t >= 0)
        return Refuse(kUsedAsFixed, {NumberText(t + 1)});
    if (const int t = holders.end(assign); t >= 0) return Refuse(kUsedAsEnd, {NumberText(t + 1)});
    return TRUE;
}

BOOL CKelvardinDoc::CheckTrunkPutBack(const CObjSpec& field, DWORD before,
                                      const CNewerHolders& holders) const {
    const DWORD id = field.m_nFieldId;
    if (id < CTrunk::kFieldEnd1 || id > CTrunk::kFieldFixed2) return TRUE;
    const int trunk = field.GetIndex();
    const BOOL isEnd1 = id == CTrunk::kFieldEnd1 || id == CTrunk::kFieldFixed1;
    const BOOL isFixed = id >= CTrunk::kFieldFixed1;
    const CAssign& assign =
        isFixed ? GetTrunkFixedAssign(trunk, isEnd1) : GetTrunkEnd(trunk, isEnd1);
    // Typing meets the other end's intercom only where it changes an end's intercom.
    const BYTE icom = assign.m_icom;
    if (!isFixed && icom != CAssign::kNoIcom && icom != CAssign::FromKey(before).m_icom) {
        const CTrunkSpec otherEnd(trunk, isEnd1 ? CTrunk::kFieldEnd2 : CTrunk::kFieldEnd1);
        if (GetTrunkEnd(trunk, !isEnd1).m_icom == icom && holders.IsNewer(otherEnd))
            return Refuse(kIcomAtOtherEnd);
    }
    return RefuseHeldAssign(isFixed, assign,
                            {[&](const CAssign& a) { return holders.FindEnd(a); },
                             [&](const CAssign& a) { return holders.FindFixed(a); }});
}

void CKelvardinDoc::FollowTrunkEdit(const CTrunkEdit& edit, CUndoObList* undo) {
    const int trunk = edit.trunk;
    if (!edit.isFixed) {
        // A fixed assignment belongs to its end's intercom.
        const CAssign fixed = GetTrunkFixedAssign(trunk, edit.isEnd1);
        if (fixed.m_icom != GetTrunkEnd(trunk, edit.isEnd1).m_icom) {
            const DWORD field = edit.isEnd1 ? CTrunk::kFieldFixed1 : CTrunk::kFieldFixed2;
            StoreRecorded(*this, CTrunkSpec(trunk, field), KeySpec(fixed.GetKey()), undo,
                          [&] { return SetTrunkFixedAssign(CAssign(), edit.isEnd1, TRUE, trunk); });
        }
    } else if (GetTrunkFixedAssign(trunk, edit.isEnd1).IsValid()) {
        FollowFlag(*this, trunk, CTrunk::kFieldFixed, TRUE, undo);
    }
    const BOOL fixed1 = GetTrunkFixedAssign(trunk, TRUE).IsValid();
    const BOOL fixed2 = GetTrunkFixedAssign(trunk, FALSE).IsValid();
    if (!fixed1 && !fixed2) FollowFlag(*this, trunk, CTrunk::kFieldFixed, FALSE, undo);
    if (fixed1 && fixed2) FollowFlag(*this, trunk, CTrunk::kFieldCascadable, FALSE, undo);
}
