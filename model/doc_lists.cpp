#include <algorithm>
#include <vector>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/list_control.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace {

constexpr LPARAM kDataAll = -1;
constexpr LPARAM kDataSelected = -2;

// Gives a list its one column when it has none, and empties it.
void StartList(IListControl& list, const char16_t* heading) {
    if (list.GetColumnCount() == 0) list.AddColumn(heading);
    list.DeleteAll();
}

}  // namespace

void CKelvardinDoc::AddIcomItems(IListControl& control) const {
    const CAppState& app = GetApp();
    const int count = app.GetVisibleIcomCount();
    for (int i = 0; i < count; ++i) {
        const CString text = GetIcomText(i, app.GetConfig().m_nAlphaSize, TRUE, FALSE);
        if (text.IsEmpty()) continue;
        if (app.m_bSortIntercomsByIntercomNumber)
            control.InsertItem(-1, text, i);
        else
            control.AddItem(text, i);
    }
}

void CKelvardinDoc::FillIcomCombo(IListControl& combo, BOOL selectedEntry, BOOL allEntry,
                                  BOOL anyEntry) const {
    AddIcomItems(combo);
    if (selectedEntry) combo.InsertItem(0, LoadResString(kIdsSelectedIntercoms), kDataSelected);
    if (allEntry)
        combo.InsertItem(0, LoadResString(kIdsAllIntercoms), kDataAll);
    else if (anyEntry)
        combo.InsertItem(0, LoadResString(kIdsAnyIntercom), kDataAll);
}

void CKelvardinDoc::FillIcomList(IListControl& list, BOOL allEntry) const {
    StartList(list, u"Icom");
    AddIcomItems(list);
    if (allEntry) list.InsertItem(0, GetIcomText(-1, 0, FALSE, FALSE), kDataAll);
}

void CKelvardinDoc::FillTrunkList(IListControl& list) const {
    StartList(list, u"Trunk");
    const int count = GetApp().GetVisibleTrunkCount();
    for (int i = 0; i < count; ++i)
        list.InsertItem(-1, CString::Formatted(u"Trunk #%d", i + 1), i);
}

void CKelvardinDoc::FillTypeList(IListControl& list, BOOL allEntry) const {
    StartList(list, u"Type");
    if (allEntry) list.InsertItem(-1, LoadResString(kIdsAllTypes), kDataAll);
    const CCVConfig& config = GetApp().GetConfig();
    for (int index = 0; index < kAlphaListCount; ++index) {
        if (index == 6 && !config.HasFlag(CCVConfig::kNewCorvane)) continue;
        if (index == 7 && !config.HasCapability(CCVConfig::kIFBSLSupport)) continue;
        list.InsertItem(-1, GetResourceTypeText(index), index);
    }
}

BOOL CKelvardinDoc::FillChoiceCombo(const CObjSpec& objSpec, IListControl& combo) const {
    if (objSpec.m_nType != CObjSpec::kIntercom) return FALSE;
    switch (objSpec.m_nFieldId) {
        case CIntercom::kFieldConnection:
            for (int type : {0, 1})
                combo.InsertItem(-1, GetConnTypeText(type), type);
            return TRUE;
        case CIntercom::kFieldBaudRate:
            // A blank for none, then the two rates the baud cell accepts.
            for (int choice : {-1, 1, 2})
                combo.InsertItem(-1, GetBaudRateText(choice), choice);
            return TRUE;
        default: return FALSE;
    }
}

void CKelvardinDoc::FillObjectList(int type, std::span<const DWORD> fieldIds, int secondType,
                                   std::span<const DWORD> secondIds, IListControl* available,
                                   IListControl* chosen) const {
    // The list pages show trunks, the options, intercoms and groups.
    if (fieldIds.empty() || type < CObjSpec::kTrunk || type > CObjSpec::kGroup) return;
    for (IListControl* list : {available, chosen}) {
        if (list) list->SetRedraw(FALSE);
    }
    const int count = GetApp().GetConfig().GetObjectCount(type, FALSE);
    std::vector<CString> texts;
    for (int i = 0; i < count; ++i) {
        const CObjSpec object(static_cast<DWORD>(type), static_cast<DWORD>(i), fieldIds[0]);
        const CCVObject* record = FindObject(object);
        if (!record) continue;
        IListControl* list = record->GetFlags() & CCVObject::kPartialChoice ? chosen : available;
        if (!list) continue;
        texts.assign(1, GetObjectText(object));
        for (size_t j = 1; j < fieldIds.size(); ++j) {
            const CObjSpec field(object.m_nType, object.m_nIndex, fieldIds[j]);
            const DWORD secondId = j < secondIds.size() ? secondIds[j] : 0;
            texts.push_back(GetObjectListText(field, secondType, secondId));
        }
        list->InsertRow(-1, texts, i);
    }
    for (IListControl* list : {available, chosen}) {
        if (list) list->SetRedraw(TRUE);
    }
}

CString CKelvardinDoc::GetObjectListText(const CObjSpec& field, int secondType,
                                         DWORD secondId) const {
    if (secondType == 0 || secondId == 0) return GetObjectText(field);
    // The column's value names the record whose field is shown.
    const DWORD value = field.m_nType == CObjSpec::kTrunk ? GetTrunkValue(field) : 0;
    return GetObjectText(CObjSpec(static_cast<DWORD>(secondType), value, secondId));
}
