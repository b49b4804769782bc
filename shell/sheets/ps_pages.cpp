#include "shell/sheets/ps_pages.h"

#include "model/app_state.h"
#include "model/obj_spec.h"
#include "model/records.h"
#include "res/string_ids.h"

namespace {

// The title the options record shows in the name column.
constexpr DWORD kOptionsTitle = 1363;

}  // namespace

CPSPageIntercoms::CPSPageIntercoms(CKelvardinDoc* doc)
    : CPSListDragPage(
          {kTemplateId,
           1,
           CObjSpec::kIntercom,
           u"Intercoms",
           {{kIdsNumberHeading, CIntercom::kFieldRecord}, {kIdsNameHeading, CIntercom::kFieldName}},
           kIdsIntercomsSelected,
           kCompareTextEmptiesLast},
          doc) {}

int CPSPageIntercoms::GetFirstSortColumn() const {
    return GetApp().m_bSortIntercomsByIntercomNumber ? 0 : 1;
}

CPSPageGroups::CPSPageGroups(CKelvardinDoc* doc)
    : CPSListDragPage(
          {kTemplateId,
           2,
           CObjSpec::kGroup,
           u"Groups",
           {{kIdsNumberHeading, CGroup::kFieldRecord}, {kIdsNameHeading, CGroup::kFieldName}},
           kIdsGroupsSelected,
           kCompareText},
          doc) {}

CPSPageOptions::CPSPageOptions(CKelvardinDoc* doc)
    : CPSListDragPage(
          {kTemplateId,
           3,
           CObjSpec::kOptions,
           u"Options",
           {{kIdsNumberHeading, COptions::kFieldRecord}, {kIdsNameHeading, kOptionsTitle}},
           kIdsOptionsSelected,
           kCompareText},
          doc) {}
