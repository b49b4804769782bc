#pragma once

#include <functional>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class IModalScript;

// The paper, orientation and margins chosen in Print Setup, which every later print job
// starts from.
struct CPageChoice {
    int pageSizeId = -1;  // a page size id; -1 leaves the printer's own
    bool landscape = false;
    bool hasMargins = false;
    double marginsMm[4] = {};  // left, top, right, bottom
    // The file the last print went to, which the print dialog offers again; empty when it went
    // to a printer.
    CString outputFile;
};

// What the user interface takes from its surroundings and tests replace: the time scale of
// every timer and count-down, who hears the bell, who answers modal questions and who shows a
// message box. The one instance registers itself while it lives (an inner one stands in for
// an outer one until it goes); without one, timers run at their own pace, the bell rings and
// every modal runs for real.
class CUiEnvironment {
public:
    using MessageBoxPresenter = std::function<int(const CString& text, UINT type, UINT helpId)>;

    CUiEnvironment();
    ~CUiEnvironment();
    CUiEnvironment(const CUiEnvironment&) = delete;
    CUiEnvironment& operator=(const CUiEnvironment&) = delete;

    static CUiEnvironment* Current();

    // Every interval is multiplied by this (1 by default; tests shorten count-downs).
    void SetTimeScale(double scale) { m_timeScale = scale > 0 ? scale : 1.0; }
    double GetTimeScale() const { return m_timeScale; }

    // Hears MessageBeep instead of the bell.
    void SetBeepListener(std::function<void(UINT)> listener) { m_beep = std::move(listener); }
    const std::function<void(UINT)>& GetBeepListener() const { return m_beep; }

    // Answers every modal question while set; not owned.
    void SetModalScript(IModalScript* script) { m_script = script; }
    IModalScript* GetModalScript() const { return m_script; }

    // Shows the program's own message box; without one a plain box is shown.
    void SetMessageBoxPresenter(MessageBoxPresenter presenter) {
        m_presenter = std::move(presenter);
    }
    const MessageBoxPresenter& GetMessageBoxPresenter() const { return m_presenter; }

    CPageChoice& GetPageChoice() { return m_pageChoice; }

private:
    CUiEnvironment* m_outer;
    double m_timeScale = 1.0;
    std::function<void(UINT)> m_beep;
    IModalScript* m_script = nullptr;
    MessageBoxPresenter m_presenter;
    CPageChoice m_pageChoice;
};

// An interval in milliseconds under the time scale, never below 1.
UINT ScaledInterval(UINT milliseconds);
