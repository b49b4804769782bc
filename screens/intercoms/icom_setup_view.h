#pragma once

#include "screens/intercoms/icom_grid_view.h"

// The intercom setup screen: one row per visible intercom with its names, connection, baud
// rate, COM port, addresses and cascade cost, which the user edits in the cells or, for
// several intercoms at once, from the context menu; and its link status. While it is current
// and ONLINE it asks the controller for the setup every 5 s, the status every second and the
// remote trunking every 2.5 s.
class CIcomSetupView : public CIcomGridView {
public:
    static constexpr int kScreen = 4;

    explicit CIcomSetupView(IScreenHost& host);

    BOOL IsReadOnlyView() override { return FALSE; }
    DWORD GetHelpID() override;
    void UpdateGrid() override;
    void ClearAllChanges() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    std::span<const CIcomColumn> ColumnTable() const override;
    int DefaultSortColumn() const override;
    CPopupMenu ContextMenu(const CKelvardinDoc& doc, const CIcomSelection& selection) override;
    void OnMenuCommand(UINT command, const CIcomSelection& selection) override;

private:
    // The value's text for one field of every intercom selected, as one undo step.
    void SetSelected(DWORD fieldId, const CString& text, const CIcomSelection& selection);
    // The addresses of a device the user finds for the intercom.
    void BrowseForAddresses(int icom);
};
