#include "platform/ui/view.h"

void CView::OnUpdate(CView*, LPARAM, void*) {
    Invalidate();
}
