#pragma once

#include <vector>

#include "platform/base/cstring.h"
#include "shell/sheets/ps_list_drag_page.h"

class CListComboBox;
class QLabel;

// The trunks of the partial save. Besides the moves of every list page it selects, in the
// list that last had the focus, the trunks with an end at one intercom, or the trunks between
// two.
class CPSPageTrunks : public CPSListDragPage {
public:
    static constexpr UINT kTemplateId = 152;
    enum TrunkControlId : UINT {
        kSelectTrunks = 1026,
        kBetweenCombo = 1042,
        kAndCombo = 1043,
        kBetweenLabel = 1068,
        kAndLabel = 1069,
    };

    explicit CPSPageTrunks(CKelvardinDoc* doc);

    // Selects the trunks with an end at the "between" intercom and, unless "and" is "All
    // Intercoms", the other end at the "and" intercom.
    void OnSelectTrunks();

    // The trunks' ends and the two intercom lists show the names as they are now; only rows
    // of trunks whose ends or whose intercoms' names changed are looked at, and the lists are
    // filled again only when a name changed.
    void RefreshTexts() override;
    void Refill() override;

protected:
    void OnInitDialog() override;
    void AddPageControls(QVBoxLayout& layout) override;

private:
    // What the rows and the intercom lists show: the two ends of every trunk (keys of their
    // assignments) and the name of every intercom an end can name.
    struct CShown {
        std::vector<DWORD> ends;
        std::vector<CString> names;
    };
    CShown Shown() const;

    void OnAndPicked(int index);
    // Lists the named intercoms, keeping the choices that are still there; the range
    // selection is offered only when an intercom is.
    void FillCombos();

    CListComboBox* m_between = nullptr;
    CListComboBox* m_and = nullptr;
    std::vector<QWidget*> m_rangeControls;
    CShown m_shown;
};
