#include "shell/ps_pages.h"

#include "model/app_state.h"
#include "model/obj_spec.h"
#include "model/records.h"

namespace {

constexpr UINT kNumberHeading = 2398;
constexpr UINT kNameHeading = 2399;
// The title the options record shows in the name column.
constexpr DWORD kOptionsTitle = 1363;

}  // namespace

CPSPageIntercoms::CPSPageIntercoms(CKelvardinDoc* doc)
    : CPSListDragPage(
          {kTemplateId,
           1,
           CObjSpec::kIntercom,
           u"Intercoms",
           {{kNumberHeading, CIntercom::kFieldRecord}, {kNameHeading, CIntercom::kFieldName}},
           2391,
           kCompareTextEmptiesLast},
          doc) {}

int CPSPageIntercoms::GetFirstSortColumn() const {
    return GetApp().m_bSortIntercomsByIntercomNumber ? 0 : 1;
}

CPSPageGroups::CPSPageGroups(CKelvardinDoc* doc)
    : CPSListDragPage({kTemplateId,
                       2,
                       CObjSpec::kGroup,
                       u"Groups",
                       {{kNumberHeading, CGroup::kFieldRecord}, {kNameHeading, CGroup::kFieldName}},
                       2392,
                       kCompareText},
                      doc) {}

CPSPageOptions::CPSPageOptions(CKelvardinDoc* doc)
    : CPSListDragPage({kTemplateId,
                       3,
                       CObjSpec::kOptions,
                       u"Options",
                       {{kNumberHeading, COptions::kFieldRecord}, {kNameHeading, kOptionsTitle}},
                       2395,
                       kCompareText},
                      doc) {}
