#include "screens/icom_context_menu.h"

#include <QAction>
#include <QMenu>

#include <algorithm>
#include <vector>

#include "platform/ui/qt_convert.h"

namespace icom_menu {
namespace {

constexpr UINT kSeparator = 0;
constexpr int kComPorts = 31;

struct Entry {
    UINT id;
    const char16_t* text;
};

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = {
        {kCaption, u"Selected Intercom:"},
        {kSeparator, u""},
        {kConnectionMenu, u"C&onnection"},
        {kBaudMenu, u"&Baud Rate"},
        {kComMenu, u"COM &Port"},
        {kBrowseAddress, u"Browse for intercom &IP address..."},
        {kSeparator, u""},
        {kClearAllocations, u"&Clear trunk allocations"},
        {kClearErrors, u"&Clear communication errors"},
        {kClearChanges, u"&Clear changes"},
        {kSeparator, u""},
        {kViewSummary, u"View trunk &summary"},
        {kViewDefinitions, u"View trunk &definitions"},
        {kViewSetup, u"View intercom s&etup"},
        {kViewStatus, u"View intercom s&tatus"},
        {kViewAlphas, u"View &alphas"},
    };
    return entries;
}

QAction* AddItem(QMenu& menu, UINT id, const QString& text) {
    QAction* action = menu.addAction(text);
    action->setData(id);
    return action;
}

void FillSubmenu(QMenu& submenu, UINT which) {
    switch (which) {
        case kConnectionMenu:
            AddItem(submenu, kSerial, QStringLiteral("&Serial"));
            AddItem(submenu, kNetwork, QStringLiteral("&Network"));
            break;
        case kBaudMenu:
            AddItem(submenu, kBaud38400, QStringLiteral("38.4K"));
            AddItem(submenu, kBaud9600, QStringLiteral("9600"));
            break;
        default:
            AddItem(submenu, kComNone, QStringLiteral("<none>"));
            for (int port = 0; port < kComPorts; ++port)
                AddItem(submenu, kComFirst + static_cast<UINT>(port),
                        QStringLiteral("COM%1").arg(port + 1));
            break;
    }
    for (QAction* action : submenu.actions())
        action->setCheckable(true);
}

QAction* Find(QMenu& menu, UINT id) {
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator() && action->data().toUInt() == id) return action;
        if (QMenu* sub = action->menu()) {
            if (QAction* found = Find(*sub, id)) return found;
        }
    }
    return nullptr;
}

}  // namespace

void Build(QMenu& menu, std::initializer_list<UINT> omit) {
    const auto omitted = [&omit](UINT id) {
        return std::find(omit.begin(), omit.end(), id) != omit.end();
    };
    bool separatorDue = false;
    for (const Entry& entry : Entries()) {
        if (entry.id == kSeparator) {
            separatorDue = !menu.actions().isEmpty();
            continue;
        }
        if (omitted(entry.id)) continue;
        if (separatorDue) menu.addSeparator();
        separatorDue = false;
        const QString text = ToQString(entry.text);
        if (entry.id == kConnectionMenu || entry.id == kBaudMenu || entry.id == kComMenu) {
            QMenu* submenu = menu.addMenu(text);
            submenu->menuAction()->setData(entry.id);
            FillSubmenu(*submenu, entry.id);
        } else {
            AddItem(menu, entry.id, text);
        }
    }
}

void SetCaption(QMenu& menu, const CString& text) {
    if (QAction* caption = Find(menu, kCaption)) {
        // An intercom's name is shown as it is, never as a mnemonic.
        caption->setText(ToQString(text).replace(QLatin1Char('&'), QLatin1String("&&")));
        caption->setEnabled(false);
    }
}

void Enable(QMenu& menu, UINT id, bool enable) {
    if (QAction* action = Find(menu, id)) action->setEnabled(enable);
}

void SetDefault(QMenu& menu, UINT id) {
    menu.setDefaultAction(Find(menu, id));
}

}  // namespace icom_menu
