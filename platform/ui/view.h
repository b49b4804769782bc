#pragma once

#include "platform/ui/cmd_target.h"
#include "platform/ui/print.h"
#include "platform/ui/wnd.h"

// A window that shows part of the document: it hears the document's update hints, draws
// through OnDraw on screen and on paper, and takes the commands routed to it.
class CView : public CWnd, public CCmdTarget, public IPrintView {
public:
    // Once, after the view's window exists and before it is first shown.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
    // hint 0 means everything changed; the base repaints.
    virtual void OnUpdate(CView* sender, LPARAM hint, void* hintObject);
    virtual void OnDraw(CDC& dc) { (void)dc; }

    void OnPaint(CDC& dc) override { OnDraw(dc); }

    void OnBeginPrinting(CDC&, CPrintInfo&) override {}
    void OnPrint(CDC& dc, CPrintInfo&) override { OnDraw(dc); }
    void OnEndPrinting(CDC&, CPrintInfo&) override {}
};
