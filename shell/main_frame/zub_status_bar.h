#pragma once

#include <QLabel>
#include <QPixmap>
#include <QStatusBar>

#include <array>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"

// Pane styles.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x04000000;  // the pane shows no text
constexpr UINT SBPS_STRETCH = 0x08000000;   // the pane takes the room the others leave

class CStatusPane;

// The main window's status bar: panes by index, each with an id, a style and a width in
// pixels, and four activity indicators shown as two lamps in pane 7. The first lamp shows
// indicators 1 (normal) and 3 (error, which wins), the second indicators 2 and 4. An
// indicator turned on goes off by itself 250 ms after it came on; turning it on again
// meanwhile does not restart that time, so a busy link blinks. A passing message (the prompt
// of the menu item or tool button under the mouse) shows in pane 0 for as long as it lasts.
class CZubStatusBar : public QStatusBar {
public:
    static constexpr int kLampPane = 7;
    static constexpr UINT kBlinkMs = 250;
    // The ten lamp images are 13 pixels square at 14-pixel steps; two neighbours show both lamps.
    static constexpr int kLampSize = 13;
    static constexpr int kLampStep = 14;
    static constexpr int kLampPairWidth = 27;

    explicit CZubStatusBar(QWidget* parent = nullptr);
    ~CZubStatusBar() override;

    // Makes one pane per id, in order; an id of 0 makes a spacer.
    void SetIndicators(const std::vector<UINT>& ids);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    UINT GetItemID(int index) const;
    CString GetPaneText(int index) const;
    void SetPaneText(int index, const CString& text, bool update = true);
    // In the bar's client coordinates.
    CRect GetItemRect(int index) const;

    int IsIndicator1On() const { return m_indicators[0]; }
    int IsIndicator2On() const { return m_indicators[1]; }
    int IsIndicator3On() const { return m_indicators[2]; }
    int IsIndicator4On() const { return m_indicators[3]; }
    void SetIndicator1(int on) { SetIndicator(1, on); }
    void SetIndicator2(int on) { SetIndicator(2, on); }
    void SetIndicator3(int on) { SetIndicator(3, on); }
    void SetIndicator4(int on) { SetIndicator(4, on); }
    // Indicator 1 to 4.
    void SetIndicator(int indicator, int on);
    // Stores the value and repaints the lamps when it changed.
    void SetIndicatorFlag(int& flag, int value);
    // Repaints the lamps now.
    void DrawIndicators();
    // Where the lamp images start for the indicators as they are: 0 to 8.
    int GetIndicatorImage() const;
    const QPixmap& GetLampImages() const { return m_lamps; }

    // Set the pane's id, style and width to fit the text on one line, without showing it.
    void SizePaneToString(int index, UINT id, UINT style, UINT stringId);
    void SizePaneToText(int index, UINT id, UINT style, const CString& text);
    // Shows the text, sized to fit (or never narrower, with growOnly); 0 when the pane already
    // showed exactly that text.
    int SetPaneTextFit(int index, const CString& text, bool growOnly);

    // The help id of the pane at the point: 0x50000 and the pane's id.
    DWORD HelpHitTest(CPoint point) const;

protected:
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class CStatusPane;
    struct Pane {
        UINT id = 0;
        UINT style = 0;
        int width = 0;
        CStatusPane* widget = nullptr;
    };

    void ApplyPaneStyle(const Pane& pane);
    void OnMessageChanged(const QString& message);
    void PaintLamps(QPainter& painter, const QRect& rect) const;
    void BuildLampImages();

    std::vector<Pane> m_panes;
    std::array<int, 4> m_indicators{};
    std::array<int, 4> m_blinkTimers{};
    QPixmap m_lamps;
    // What pane 0 showed before the passing message.
    CString m_strBeforeMessage;
    bool m_bShowingMessage = false;
};
