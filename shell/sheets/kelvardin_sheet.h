#pragma once

#include <QDialog>
#include <QPointer>

#include <vector>

#include "platform/base/message_box.h"
#include "platform/base/win_types.h"

class CKelvardinPage;
class QDialogButtonBox;
class QTabWidget;

// The property sheet of the program: its pages on tabs, OK and Cancel. OK applies the pages
// that were shown, in page order; a page that refuses becomes the current one and the sheet
// stays open. F1 asks for the current page's help; Shift+F1, or a click in the context help
// mode, for the help of the control or the tab under it. Its object name is "sheet" and the
// string id of its caption.
class CKelvardinSheet : public QDialog {
public:
    CKelvardinSheet(UINT captionId, QWidget* parent, int startPage);
    ~CKelvardinSheet() override;

    // The sheet shows the page but never deletes it: pages are members of the derived sheet.
    void AddPage(CKelvardinPage* page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CKelvardinPage* GetPage(int index) const;
    CKelvardinPage* GetActivePage() const;
    int GetActiveIndex() const;
    // Shows the page, making it first when it was never shown.
    bool SetActivePage(int index);

    // Makes every page when the sheet opens, so that the sheet takes the size of its largest
    // page from the start and keeps it: OK and Cancel stay where they are.
    void SetSizedToLargestPage() { m_bSizedToLargest = true; }

    // Runs the sheet modally, opening on the start page; IDOK or IDCANCEL.
    int DoModal();

    void accept() override;
    void reject() override { done(IDCANCEL); }

protected:
    // Runs once before the start page is made, when the sheet is run.
    virtual void OnInitDialog() {}
    // A help request for the control (null when none) at a screen point.
    virtual void OnHelpInfo(const QWidget* control, QPoint globalPos, bool shift);

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab goes from the page's tab through the page's controls to OK and Cancel.
    bool focusNextPrevChild(bool next) override;

private:
    void OnCurrentChanged(int index);
    void PutButtonsLastInTabOrder();
    // The page's tab, its controls in reading order, OK and Cancel.
    std::vector<QWidget*> TabStops() const;

    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
    std::vector<QPointer<CKelvardinPage>> m_pages;
    const int m_startPage;
    int m_current = -1;
    bool m_switching = false;
    bool m_bSizedToLargest = false;
};
