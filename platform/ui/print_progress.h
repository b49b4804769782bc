#pragma once

#include <memory>

#include "platform/base/cstring.h"

class QDialog;
class QLabel;
class QWidget;

// The small box a print job shows while it runs: which page of how many, and Cancel. Between
// pages the user interface runs, so the window repaints and Cancel is heard; the box blocks
// input to every other window meanwhile.
class CPrintProgress {
public:
    // pages: how many the job prints; 0 when not known beforehand.
    CPrintProgress(QWidget* parent, int pages);
    ~CPrintProgress();
    CPrintProgress(const CPrintProgress&) = delete;
    CPrintProgress& operator=(const CPrintProgress&) = delete;

    // Says that the job's nth page (from 1) is printing and lets the user interface run;
    // false once the user has cancelled.
    bool Step(int page);
    bool IsCancelled() const { return m_cancelled; }

    // "Printing page 3 of 150"; without a count, "Printing page 3".
    static CString PageText(int page, int pages);

private:
    const int m_pages;
    bool m_cancelled = false;
    std::unique_ptr<QDialog> m_box;
    QLabel* m_text;
};
