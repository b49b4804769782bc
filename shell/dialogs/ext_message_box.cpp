#include "shell/dialogs/ext_message_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/help_ids.h"
#include "shell/app/kelvardin_app.h"

namespace {

constexpr UINT kButtonSetMask = 0x0F;

struct Caption {
    UINT stringId;
    const char16_t* builtIn;
};

constexpr Caption kCaptions[] = {
    {2226, u"OK"},
    {2339, u"Cancel"},
    {2340, u"&Ignore"},
    {2341, u"&Retry"},
    {2342, u"&Abort"},
    {2343, u"&Help"},
    {2344, u"&Yes"},
    {2345, u"&No"},
    {2346, u"&Continue"},
    {2347, u"Don't ask me again"},
    {2348, u"Don't tell me again"},
    {2349, u"Yes to &All"},
    {2350, u"No to A&ll"},
};

QString ControlName(int id) {
    return QStringLiteral("ctl%1").arg(id);
}

QIcon StandardIcon(UINT icon) {
    QStyle* style = QApplication::style();
    switch (icon) {
        case MB_ICONSTOP: return style->standardIcon(QStyle::SP_MessageBoxCritical);
        case MB_ICONQUESTION: return style->standardIcon(QStyle::SP_MessageBoxQuestion);
        case MB_ICONEXCLAMATION: return style->standardIcon(QStyle::SP_MessageBoxWarning);
        default: return style->standardIcon(QStyle::SP_MessageBoxInformation);
    }
}

// The number of buttons the box counts towards its default button.
int CountedButtons(UINT set, UINT style) {
    int n = 0;
    switch (set) {
        case MB_OK: n = 1; break;
        case MB_OKCANCEL:
        case MB_YESNO:
        case MB_RETRYCANCEL:
        case MB_CONTINUEABORT: n = 2; break;
        case MB_ABORTRETRYIGNORE:
        case MB_YESNOCANCEL: n = 3; break;
        default: break;
    }
    if (style & MB_HELP) ++n;
    if (set != MB_OK && set != MB_CONTINUEABORT) {
        if (style & MB_YES_TO_ALL) ++n;
        if (style & MB_NO_TO_ALL) ++n;
    }
    return n;
}

// The box itself: a dialog laid out from the plan.
class CExtMessageBoxDlg : public QDialog {
public:
    CExtMessageBoxDlg(const CString& text, UINT helpId, QWidget* owner, UINT style)
        : QDialog(owner), m_plan(PlanExtMessageBox(style)), m_helpId(helpId) {
        setObjectName(QStringLiteral("ExtMessageBox"));
        const CString title = LoadResString(kIdsAppTitle);
        setWindowTitle(ToQString(title.IsEmpty() ? CString(u"Error") : title));
        setFont(ToQFont(GetMessageFont()));
        Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        // Without Cancel or a lone OK the box cannot be closed but by its buttons.
        if (m_plan.hasCancel || m_plan.okOnly) flags |= Qt::WindowCloseButtonHint;
        setWindowFlags(flags);
        if (style & MB_SYSTEMMODAL) setWindowModality(Qt::ApplicationModal);
        Build(text, (style & MB_NORESOURCE) != 0);
    }

    void reject() override {
        if (m_plan.hasCancel) {
            done(IDCANCEL);
        } else if (m_plan.okOnly) {
            done(IDOK);
        }
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_F1) {
            ShowHelp();
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    void Build(const CString& text, bool builtIn) {
        auto* root = new QVBoxLayout(this);
        root->setSizeConstraint(QLayout::SetFixedSize);
        auto* message = new QHBoxLayout;
        root->addLayout(message);
        const QScreen* screen = QGuiApplication::primaryScreen();
        int maxWidth = (screen ? screen->geometry().width() : 1024) / 2 + 100;
        if (m_plan.icon) {
            auto* icon = new QLabel;
            icon->setObjectName(ControlName(kExtBoxIconId));
            const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
            icon->setPixmap(StandardIcon(m_plan.icon).pixmap(size, size));
            message->addWidget(icon, 0, Qt::AlignTop);
            maxWidth -= 6 + size;
        }
        auto* label = new QLabel(ToQString(text));
        label->setObjectName(ControlName(kExtBoxTextId));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        const QRect measured = QFontMetrics(font()).boundingRect(QRect(0, 0, maxWidth, maxWidth),
                                                                 Qt::TextWordWrap, label->text());
        label->setMinimumWidth(std::min(measured.width() + 2, maxWidth));
        label->setMaximumWidth(maxWidth);
        message->addWidget(label, 1);

        auto* row = new QHBoxLayout;
        row->addStretch();
        for (int id : m_plan.buttons) {
            auto* button =
                new QPushButton(ToQString(ExtBoxCaption(ExtBoxButtonString(id), builtIn)));
            button->setObjectName(ControlName(id));
            button->setAutoDefault(false);
            if (id == m_plan.defaultButton) {
                button->setDefault(true);
                button->setFocus();
            }
            connect(button, &QPushButton::clicked, this, [this, id] { OnButton(id); });
            row->addWidget(button);
        }
        row->addStretch();
        root->addLayout(row);

        if (m_plan.checkBox) {
            m_check = new QCheckBox(
                ToQString(ExtBoxCaption(ExtBoxCheckString(m_plan.checkBox), builtIn)));
            m_check->setObjectName(ControlName(kExtBoxCheckId));
            m_check->setChecked(m_plan.preChecked);
            root->addWidget(m_check);
        }
    }

    void OnButton(int id) {
        if (id == IDHELP_BUTTON) {
            if (m_helpId) {
                GetKelvardinApp().WinHelp(m_helpId, HELP_CONTEXT);
            } else {
                GetKelvardinApp().WinHelp(0, HELP_PARTIALKEY);
            }
            return;
        }
        DWORD result = static_cast<DWORD>(id);
        if (m_check && m_check->isChecked()) result |= m_plan.checkBox;
        done(static_cast<int>(result));
    }

    void ShowHelp() {
        GetKelvardinApp().WinHelp(m_helpId, m_helpId ? HELP_CONTEXT : HELP_PARTIALKEY);
    }

    const CExtBoxPlan m_plan;
    const UINT m_helpId;
    QCheckBox* m_check = nullptr;
};

}  // namespace

CExtBoxPlan PlanExtMessageBox(UINT style) {
    CExtBoxPlan plan;
    const UINT set = style & kButtonSetMask;
    const bool yesToAll = (style & MB_YES_TO_ALL) != 0;
    const bool noToAll = (style & MB_NO_TO_ALL) != 0;
    auto& b = plan.buttons;
    switch (set) {
        case MB_OK:
            b = {IDOK};
            plan.okOnly = true;
            break;
        case MB_OKCANCEL: b = {IDOK, IDCANCEL}; break;
        case MB_ABORTRETRYIGNORE: b = {IDABORT, IDRETRY, IDIGNORE}; break;
        case MB_YESNOCANCEL:
        case MB_YESNO:
            b.push_back(IDYES);
            if (yesToAll) b.push_back(IDYESTOALL);
            b.push_back(IDNO);
            if (noToAll) b.push_back(IDNOTOALL);
            if (set == MB_YESNOCANCEL) b.push_back(IDCANCEL);
            break;
        case MB_RETRYCANCEL: b = {IDRETRY, IDCANCEL}; break;
        case MB_CONTINUEABORT: b = {IDCONTINUE, IDABORT}; break;
        default: b = {IDOK}; break;
    }
    plan.hasCancel = set == MB_OKCANCEL || set == MB_YESNOCANCEL || set == MB_RETRYCANCEL;
    if (style & MB_HELP) b.push_back(IDHELP_BUTTON);

    const int counted = CountedButtons(set, style);
    int number = static_cast<int>((style & MB_DEFMASK) >> 8) + 1;
    if (number > 6 || number > counted) number = 1;
    if (number <= static_cast<int>(b.size()))
        plan.defaultButton = b[static_cast<size_t>(number - 1)];

    if (style & MB_DONT_ASK_AGAIN) {
        plan.checkBox = kDontAskAgainChecked;
    } else if (style & MB_DONT_DISPLAY_AGAIN) {
        plan.checkBox = kSuppressChecked;
    }
    plan.preChecked = plan.checkBox != 0 && (style & MB_DEFAULT_CHECKED) != 0;
    const UINT icon = style & MB_ICONMASK;
    if (icon >= MB_ICONSTOP && icon <= MB_ICONINFORMATION) plan.icon = icon;
    return plan;
}

UINT ExtBoxButtonString(int buttonId) {
    switch (buttonId) {
        case IDOK: return 2226;
        case IDCANCEL: return 2339;
        case IDIGNORE: return 2340;
        case IDRETRY: return 2341;
        case IDABORT: return 2342;
        case IDHELP_BUTTON: return 2343;
        case IDYES: return 2344;
        case IDNO: return 2345;
        case IDCONTINUE: return 2346;
        case IDYESTOALL: return 2349;
        case IDNOTOALL: return 2350;
        default: return 0;
    }
}

UINT ExtBoxCheckString(DWORD checkBox) {
    return checkBox == kDontAskAgainChecked ? 2347 : 2348;
}

CString ExtBoxCaption(UINT stringId, bool builtIn) {
    if (!builtIn) {
        CString text = LoadResString(stringId);
        if (!text.IsEmpty()) return text;
    }
    for (const Caption& caption : kCaptions) {
        if (caption.stringId == stringId) return caption.builtIn;
    }
    return {};
}

DWORD ExtMessageBox(const CString& text, UINT helpId, QWidget* owner, UINT style) {
    if ((style & MB_ICONMASK) == MB_ICONSTOP && (style & MB_SYSTEMMODAL))
        return static_cast<DWORD>(SystemMessageBox(text, style, helpId));
    CExtMessageBoxDlg box(text, helpId, owner, style);
    if (!(style & MB_NOSOUND)) MessageBeep(style & MB_ICONMASK);
    return static_cast<DWORD>(ExecModalDialog(box));
}
