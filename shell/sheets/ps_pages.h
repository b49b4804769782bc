#pragma once

#include "shell/sheets/ps_list_drag_page.h"

// The intercoms, groups and option records of the partial save.

class CPSPageIntercoms : public CPSListDragPage {
public:
    static constexpr UINT kTemplateId = 154;
    explicit CPSPageIntercoms(CKelvardinDoc* doc);

protected:
    // By name, or by number when the intercoms are sorted by number.
    int GetFirstSortColumn() const override;
};

class CPSPageGroups : public CPSListDragPage {
public:
    static constexpr UINT kTemplateId = 149;
    explicit CPSPageGroups(CKelvardinDoc* doc);
};

class CPSPageOptions : public CPSListDragPage {
public:
    static constexpr UINT kTemplateId = 151;
    explicit CPSPageOptions(CKelvardinDoc* doc);
};
