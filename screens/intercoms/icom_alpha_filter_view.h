#pragma once

#include "screens/base/kelvardin_filter_view.h"
#include "screens/base/screen_ids.h"
#include "screens/popups/cool_edit.h"

class IScreenHost;
struct CContext;

// The alphas screen's selector pane: the intercom control (the base's) and, after it, the alpha
// type control. A choice goes into the screen's navigation context and the visible panes are
// refreshed, so that the screen shows the rows of that intercom and type only.
class CIcomAlphaFilterView : public CKelvardinFilterView {
public:
    static constexpr UINT kTypeEditId = 1005;
    static constexpr int kScreen = kScreenIcomAlphas;

    explicit CIcomAlphaFilterView(IScreenHost& host);
    ~CIcomAlphaFilterView() override;

    BOOL Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) override;
    CCoolEdit& GetTypeEdit() { return m_type; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;

private:
    CContext& Context() const;
    int ContextParam(int i) const;
    void FillIntercoms();
    void FillTypes();
    // The user chose another entry of a control: its item data goes into the context word.
    void OnChoice(CCoolEdit& edit, int param);
    void LayOut();

    IScreenHost& m_host;
    CCoolEdit m_type;
};
