#include "shell/main_frame/zub_status_bar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>

#include "platform/ui/qt_convert.h"
#include "platform/ui/ui_environment.h"
#include "res/string_table.h"
#include "shell/app/help_ids.h"
#include "shell/main_frame/lamp_images.h"

namespace {

// Room beside a pane's text, each side.
constexpr int kPaneMargin = 3;

}  // namespace

// One pane: its text, unless its style hides it, and the lamps when it is the lamp pane.
class CStatusPane : public QLabel {
public:
    CStatusPane(CZubStatusBar& bar, int index) : QLabel(&bar), m_bar(bar), m_index(index) {
        setContentsMargins(kPaneMargin, 0, kPaneMargin, 0);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        const auto& pane = m_bar.m_panes[static_cast<size_t>(m_index)];
        if (!(pane.style & SBPS_DISABLED)) QLabel::paintEvent(event);
        if (m_index == CZubStatusBar::kLampPane) {
            QPainter painter(this);
            m_bar.PaintLamps(painter, contentsRect());
        }
    }

private:
    CZubStatusBar& m_bar;
    const int m_index;
};

CZubStatusBar::CZubStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    BuildLampImages();
    // The bar's own message area lies left of the permanent panes, where pane 0 leaves it no
    // room: the message goes into pane 0.
    connect(this, &QStatusBar::messageChanged, this, &CZubStatusBar::OnMessageChanged);
}

void CZubStatusBar::OnMessageChanged(const QString& message) {
    if (m_panes.empty()) return;
    if (!m_bShowingMessage) m_strBeforeMessage = GetPaneText(0);
    m_bShowingMessage = !message.isEmpty();
    SetPaneText(0, m_bShowingMessage ? FromQString(message) : m_strBeforeMessage, false);
}

CZubStatusBar::~CZubStatusBar() {
    for (int indicator = 4; indicator >= 1; --indicator)
        SetIndicator(indicator, 0);
}

void CZubStatusBar::SetIndicators(const std::vector<UINT>& ids) {
    for (Pane& pane : m_panes) {
        removeWidget(pane.widget);
        delete pane.widget;
    }
    m_panes.clear();
    for (UINT id : ids) {
        Pane pane;
        pane.id = id;
        pane.widget = new CStatusPane(*this, static_cast<int>(m_panes.size()));
        m_panes.push_back(pane);
        ApplyPaneStyle(pane);
        // Permanent panes keep their place when a passing message shows.
        addPermanentWidget(pane.widget, 0);
    }
}

void CZubStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    if (index < 0 || index >= GetCount()) return;
    Pane& pane = m_panes[static_cast<size_t>(index)];
    const bool stretchChanged = ((pane.style ^ style) & SBPS_STRETCH) != 0;
    pane.id = id;
    pane.style = style;
    pane.width = width;
    ApplyPaneStyle(pane);
    if (stretchChanged) {
        // The stretch factor is fixed when a widget is added.
        removeWidget(pane.widget);
        insertPermanentWidget(index, pane.widget, (style & SBPS_STRETCH) ? 1 : 0);
        pane.widget->show();
    }
}

void CZubStatusBar::ApplyPaneStyle(const Pane& pane) {
    CStatusPane* widget = pane.widget;
    if (pane.style & SBPS_STRETCH) {
        widget->setMinimumWidth(pane.width + 2 * kPaneMargin);
        widget->setMaximumWidth(QWIDGETSIZE_MAX);
    } else {
        widget->setFixedWidth(pane.width + 2 * kPaneMargin);
    }
    widget->setFrameShape((pane.style & SBPS_NOBORDERS) ? QFrame::NoFrame : QFrame::StyledPanel);
    widget->setFrameShadow((pane.style & SBPS_POPOUT) ? QFrame::Raised : QFrame::Sunken);
    widget->update();
}

void CZubStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    id = style = 0;
    width = 0;
    if (index < 0 || index >= GetCount()) return;
    const Pane& pane = m_panes[static_cast<size_t>(index)];
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

UINT CZubStatusBar::GetItemID(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].id : 0;
}

CString CZubStatusBar::GetPaneText(int index) const {
    if (index < 0 || index >= GetCount()) return {};
    return FromQString(m_panes[static_cast<size_t>(index)].widget->text());
}

void CZubStatusBar::SetPaneText(int index, const CString& text, bool update) {
    if (index < 0 || index >= GetCount()) return;
    CStatusPane* widget = m_panes[static_cast<size_t>(index)].widget;
    widget->setText(ToQString(text));
    if (update) widget->repaint();
}

CRect CZubStatusBar::GetItemRect(int index) const {
    if (index < 0 || index >= GetCount()) return {};
    return FromQRect(m_panes[static_cast<size_t>(index)].widget->geometry());
}

void CZubStatusBar::SetIndicator(int indicator, int on) {
    if (indicator < 1 || indicator > 4) return;
    const auto i = static_cast<size_t>(indicator - 1);
    SetIndicatorFlag(m_indicators[i], on);
    int& timer = m_blinkTimers[i];
    if (on && timer == 0) {
        timer = startTimer(static_cast<int>(ScaledInterval(kBlinkMs)), Qt::PreciseTimer);
    } else if (!on && timer != 0) {
        killTimer(timer);
        timer = 0;
    }
}

void CZubStatusBar::SetIndicatorFlag(int& flag, int value) {
    if (flag == value) return;
    flag = value;
    DrawIndicators();
}

void CZubStatusBar::DrawIndicators() {
    if (GetCount() > kLampPane) m_panes[kLampPane].widget->repaint();
}

int CZubStatusBar::GetIndicatorImage() const {
    static constexpr int kImageStart[] = {0, 1, 4, 3, 2, 7, 8, 6, 5};
    const int first = m_indicators[2] ? 2 : m_indicators[0] ? 1 : 0;
    const int second = m_indicators[3] ? 2 : m_indicators[1] ? 1 : 0;
    return kImageStart[3 * first + second];
}

void CZubStatusBar::PaintLamps(QPainter& painter, const QRect& rect) const {
    const int x = rect.left() + (rect.width() - kLampPairWidth) / 2;
    const int y = rect.top() + (rect.height() - kLampSize) / 2;
    painter.drawPixmap(x, y, m_lamps, kLampStep * GetIndicatorImage(), 0, kLampPairWidth,
                       kLampSize);
}

void CZubStatusBar::BuildLampImages() {
    m_lamps = MakeLampImages(palette());
}

void CZubStatusBar::SizePaneToString(int index, UINT id, UINT style, UINT stringId) {
    SizePaneToText(index, id, style, LoadResString(stringId));
}

void CZubStatusBar::SizePaneToText(int index, UINT id, UINT style, const CString& text) {
    SetPaneInfo(index, id, style, QFontMetrics(font()).horizontalAdvance(ToQString(text)));
}

int CZubStatusBar::SetPaneTextFit(int index, const CString& text, bool growOnly) {
    if (index < 0 || index >= GetCount()) return 0;
    if (GetPaneText(index) == text) return 0;
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    GetPaneInfo(index, id, style, width);
    const int measured = QFontMetrics(font()).horizontalAdvance(ToQString(text));
    SetPaneInfo(index, id, style, growOnly ? std::max(measured, width) : measured);
    SetPaneText(index, text, true);
    return 1;
}

DWORD CZubStatusBar::HelpHitTest(CPoint point) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (GetItemRect(i).PtInRect(point)) return kHelpBasePane + GetItemID(i);
    }
    return kHelpBasePane;
}

void CZubStatusBar::timerEvent(QTimerEvent* event) {
    QStatusBar::timerEvent(event);
    for (int i = 0; i < 4; ++i) {
        if (m_blinkTimers[static_cast<size_t>(i)] == event->timerId()) SetIndicator(i + 1, 0);
    }
}

void CZubStatusBar::changeEvent(QEvent* event) {
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        BuildLampImages();
        DrawIndicators();
    }
}
