#pragma once

#include "model/update_hint.h"
#include "model/view_context.h"
#include "screens/base/kelvardin_filter_view.h"

class CKelvardinDoc;
class IScreenHost;

// The trunk inspection's selector: the visible trunks in a drop-down list with step buttons.
// A trunk chosen there, or the next or previous one by Ctrl+PgDn and Ctrl+PgUp, becomes the
// inspected trunk, the one shown before going onto the Back history.
class CTrunkNumbFilterView : public CKelvardinFilterView {
public:
    explicit CTrunkNumbFilterView(IScreenHost& host);

    BOOL Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;

private:
    // The context of the screen the pane serves; null while it serves none.
    CContext* GetContext() const;
    CKelvardinDoc* GetDocument() const;
    // The inspected trunk, 0 while the pane serves no screen.
    int GetInspectedTrunk() const;
    void RefillTrunks();
    void OnTrunkSelected();
    // Moves the inspection by one trunk, within the visible trunks.
    void StepTrunk(int step);
    void SendHint(CUpdateHint hint);

    IScreenHost& m_host;
};
