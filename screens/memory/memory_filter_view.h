#pragma once

#include "model/update_hint.h"
#include "screens/base/kelvardin_filter_view.h"
#include "screens/popups/cool_edit.h"

class CCVDataMgr;
class CKelvardinDoc;

// The memory screen's selector: the controller's processor ("Active", and "Standby" when the
// link knows a standby controller) at the left, the window's start address as eight
// hexadecimal digits, stepped by 256, in the rest.
class CMemoryFilterView : public CKelvardinFilterView {
public:
    static constexpr UINT kCpuId = 1005;
    static constexpr DWORD kAddressStep = 256;

    explicit CMemoryFilterView(CCVDataMgr& data);
    // The link goes back to the active controller's memory.
    ~CMemoryFilterView() override;

    BOOL Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) override;
    CCoolEdit& GetCpuEdit() { return m_cpu; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void FillCpuList();
    void OnCpuChosen();
    void LayOut();
    CKelvardinDoc* GetDocument() const;
    void SendHint(CUpdateHint hint, LPARAM object = 0);

    CCVDataMgr& m_data;
    CCoolEdit m_cpu;
};
