#include "screens/popups/popup_month_cal.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "platform/ui/qt_convert.h"
#include "screens/popups/popup_list.h"

namespace {

QDate ToQDate(const std::chrono::year_month_day& date) {
    if (!date.ok()) return QDate();
    return QDate(static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                 static_cast<int>(unsigned(date.day())));
}

std::chrono::year_month_day FromQDate(const QDate& date) {
    if (!date.isValid()) return std::chrono::year_month_day{};
    return std::chrono::year_month_day{std::chrono::year(date.year()),
                                       std::chrono::month(static_cast<unsigned>(date.month())),
                                       std::chrono::day(static_cast<unsigned>(date.day()))};
}

bool IsEnterOrEscape(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

}  // namespace

// The pop-up window round the calendar: it closes itself on a click outside it, tells the owner
// of the user's picks, and answers Enter and Escape wherever the focus is inside it.
class CPopupMonthCal::CFrame : public QFrame {
public:
    explicit CFrame(CPopupMonthCal& owner)
        : QFrame(nullptr, Qt::Popup), m_owner(owner), m_calendar(new QCalendarWidget(this)) {
        setObjectName(QStringLiteral("Date"));
        setFrameStyle(QFrame::Box | QFrame::Plain);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_calendar);
        setFocusProxy(m_calendar);
        m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        QObject::connect(m_calendar, &QCalendarWidget::selectionChanged, this, [this] {
            if (!m_quiet) m_owner.Notify(MCN_SELCHANGE);
        });
        QObject::connect(m_calendar, &QCalendarWidget::clicked, this, [this] {
            if (!m_quiet) m_owner.Notify(MCN_SELECT);
        });
        for (QWidget* child : m_calendar->findChildren<QWidget*>())
            child->installEventFilter(this);
    }

    QCalendarWidget* Calendar() const { return m_calendar; }
    CRect m_closeRect;
    bool m_quiet = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (IsEnterOrEscape(event)) {
            m_owner.Notify(NM_CLICK);
            return true;
        }
        return QFrame::eventFilter(watched, event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (IsEnterOrEscape(event)) {
            m_owner.Notify(NM_CLICK);
            return;
        }
        QFrame::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        const CPoint at = FromQPoint(event->globalPosition().toPoint());
        if (m_closeRect.PtInRect(at)) setAttribute(Qt::WA_NoMouseReplay);
        QFrame::mousePressEvent(event);
    }
    void hideEvent(QHideEvent* event) override {
        QFrame::hideEvent(event);
        m_owner.Notify(NM_KILLFOCUS);
    }

private:
    CPopupMonthCal& m_owner;
    QCalendarWidget* m_calendar;  // owned by the frame
};

CPopupMonthCal::CPopupMonthCal(CWnd& owner)
    : m_pOwner(&owner), m_frame(std::make_unique<CFrame>(*this)) {}

CPopupMonthCal::~CPopupMonthCal() {
    m_pOwner = nullptr;
    m_frame.reset();
}

void CPopupMonthCal::Notify(int code) {
    if (!m_pOwner) return;
    NMHDR header;
    header.idFrom = kId;
    header.code = code;
    LRESULT result = 0;
    m_pOwner->OnNotify(kId, &header, &result);
}

void CPopupMonthCal::SetColors(COLORREF titleText, COLORREF titleBack, COLORREF trailingText) {
    QCalendarWidget* calendar = m_frame->Calendar();
    if (auto* title = calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"))) {
        QPalette palette = title->palette();
        palette.setColor(QPalette::Highlight, ToQColor(titleBack));
        palette.setColor(QPalette::HighlightedText, ToQColor(titleText));
        title->setPalette(palette);
    }
    // Days of the months before and after are drawn in the view's disabled text colour.
    if (auto* days = calendar->findChild<QAbstractItemView*>()) {
        QPalette palette = days->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text, ToQColor(trailingText));
        days->setPalette(palette);
    }
}

std::chrono::year_month_day CPopupMonthCal::GetCurSel() const {
    return FromQDate(m_frame->Calendar()->selectedDate());
}

CString CPopupMonthCal::GetCurSelText() const {
    return FromQString(
        QLocale::system().toString(m_frame->Calendar()->selectedDate(), QLocale::ShortFormat));
}

BOOL CPopupMonthCal::SetCurSel(const std::chrono::year_month_day& date) {
    const QDate day = ToQDate(date);
    QCalendarWidget* calendar = m_frame->Calendar();
    if (!day.isValid() || day < calendar->minimumDate() || day > calendar->maximumDate())
        return FALSE;
    m_frame->m_quiet = true;
    calendar->setSelectedDate(day);
    m_frame->m_quiet = false;
    return TRUE;
}

CSize CPopupMonthCal::GetMinReqRect() const {
    const QSize inner = m_frame->Calendar()->minimumSizeHint();
    const int frame = 2 * m_frame->frameWidth();
    return CSize(inner.width() + frame, inner.height() + frame);
}

void CPopupMonthCal::Show(const CRect& screenRect, const CRect& closeRect) {
    m_frame->m_closeRect = closeRect;
    m_frame->setAttribute(Qt::WA_NoMouseReplay, false);
    m_frame->setGeometry(ToQRect(screenRect));
    SetTransientParent(*m_frame, m_pOwner);
    m_frame->setEnabled(true);
    m_frame->show();
    m_frame->Calendar()->setFocus(Qt::PopupFocusReason);
}

void CPopupMonthCal::Hide() {
    m_frame->hide();
    m_frame->setEnabled(false);
}

BOOL CPopupMonthCal::IsOpen() const {
    return m_frame->isVisible();
}

CRect CPopupMonthCal::GetWindowRect() const {
    return m_frame->isVisible() ? FromQRect(m_frame->geometry()) : CRect();
}

QWidget* CPopupMonthCal::GetWidget() const {
    return m_frame->Calendar();
}
