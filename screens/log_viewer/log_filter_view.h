#pragma once

#include "model/update_hint.h"
#include "request_log/log_day_file.h"
#include "screens/base/kelvardin_filter_view.h"

class CKelvardinDoc;
class IScreenServices;
struct CContext;

// The request log's selector: the day shown, picked from a calendar or stepped a day at a
// time (Ctrl+PgDn and Ctrl+PgUp); the day lives in the screen's navigation context, so Back
// and Forward bring it back.
class CLogFilterView : public CKelvardinFilterView {
public:
    explicit CLogFilterView(IScreenServices& services);

    BOOL Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) override;

    // The day the context holds.
    CLogDate GetDay() const;
    // Moves the day by so many days, keeping the day left on the Back history.
    void StepDay(int days);
    bool CanStepDay() const;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;

private:
    CContext* GetContext() const;
    CKelvardinDoc* GetDocument() const;
    void ShowDay();
    void OnDatePicked();
    void SendHint(CUpdateHint hint);

    IScreenServices& m_services;
};
