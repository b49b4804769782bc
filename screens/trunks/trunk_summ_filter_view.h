#pragma once

#include "model/view_context.h"
#include "screens/base/kelvardin_filter_view.h"

class IScreenHost;

// The intercom selector of the trunk summary and the trunk definitions: a list of the
// intercoms headed by "All Intercoms", stepped or dropped down. The choice lives in word 0 of
// the served screen's navigation context as the intercom + 1, 0 for all.
class CTrunkSummFilterView : public CKelvardinFilterView {
public:
    explicit CTrunkSummFilterView(IScreenHost& host);

    BOOL Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // The served screen's context; null while the pane serves none.
    CContext* Context() const;
    // The item data the context chooses: the intercom, -1 for all.
    LPARAM ChosenData() const;
    void Refill();
    void OnIcomSelected();

    IScreenHost& m_host;
};
