#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <algorithm>
#include <array>

#include "shell/sheets/partial_save_sheet.h"
#include "shell/sheets/preferences_sheet.h"
#include "tests/shell/small_setup.h"

namespace {

// The name of the control that has the focus: a control's inner editor stands for it.
QString FocusName(const QDialog& sheet) {
    for (const QWidget* w = sheet.focusWidget(); w && w != &sheet; w = w->parentWidget()) {
        if (w->objectName().startsWith("ctl")) return w->objectName();
        if (qobject_cast<const QTabBar*>(w)) return QStringLiteral("tabs");
    }
    return sheet.focusWidget() ? sheet.focusWidget()->metaObject()->className() : "none";
}

// The controls Tab (or Shift+Tab) reaches from the page's tab, until it comes back there.
std::string TabWalk(CKelvardinSheet& sheet, int page, bool back = false) {
    sheet.SetActivePage(page);
    // A page made now shows its controls once the loop has run.
    QCoreApplication::processEvents();
    sheet.findChild<QTabBar*>()->setFocus();
    QStringList walk;
    for (int step = 0; step < 40; ++step) {
        QTest::keyClick(sheet.focusWidget(), Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
        const QString name = FocusName(sheet);
        if (name == "tabs") break;
        walk << name;
    }
    return walk.join(' ').toStdString();
}

// Whether Tab from the page's tab reaches the list or tree, and it then looks other than it
// does once the focus has gone back to the tab.
bool ShowsTheFocusTabbedTo(CKelvardinSheet& sheet, int page, const QString& name) {
    sheet.SetActivePage(page);
    QCoreApplication::processEvents();
    auto* view = sheet.GetPage(page)->findChild<QAbstractItemView*>(name);
    if (!view) return false;
    auto* tabs = sheet.findChild<QTabBar*>();
    tabs->setFocus();
    for (int step = 0; step < 40 && FocusName(sheet) != name; ++step)
        QTest::keyClick(sheet.focusWidget(), Qt::Key_Tab);
    if (FocusName(sheet) != name) return false;
    const QImage focused = view->viewport()->grab().toImage();
    tabs->setFocus();
    return focused != view->viewport()->grab().toImage();
}

class SheetTabOrderTest : public SmallSetupTest {
protected:
    void TearDown() override {
        CPartialSaveSheet::SetLastPage(0);
        CPreferencesSheet::SetLastPage(0);
    }
    CModalScript script{env};
};

// The names of controls by id, OK and Cancel last.
std::string Stops(std::initializer_list<int> ids) {
    std::string names;
    for (int id : ids)
        names += "ctl" + std::to_string(id) + " ";
    return names + "ctl1 ctl2";
}

std::string Reversed(const std::string& stops) {
    QStringList names = QString::fromStdString(stops).split(' ');
    std::reverse(names.begin(), names.end());
    return names.join(' ').toStdString();
}

TEST_F(SheetTabOrderTest, TabGoesFromThePartialSavePagesTabThroughItsControlsToOkAndCancel) {
    app.m_bAllowAlphasInPartialSave = TRUE;
    doc.StoreAlpha(CAssign(0, 0, 0), u"A0");
    CPartialSaveSheet sheet(&doc);
    script.ExpectDialog("sheet2407", [&](QDialog&) {
        const std::string trunks = Stops({1019, 1020, 1023, 1024, 1025, 1026, 1042, 1043});
        const std::string lists = Stops({1019, 1020, 1023, 1024, 1025});
        // The alphas start selected in the available tree, so Add comes alive.
        const std::string expected[] = {trunks, lists, lists, lists, Stops({1027, 1021, 1028})};
        for (int page = 0; page < sheet.GetPageCount(); ++page) {
            SCOPED_TRACE(page);
            EXPECT_EQ(TabWalk(sheet, page), expected[page]);
            EXPECT_EQ(TabWalk(sheet, page, true), Reversed(expected[page]));
        }
        // Add is there once rows are chosen, between the lists as it shows.
        auto* page = static_cast<CPSListDragPage*>(sheet.GetPage(1));
        page->GetAvailableList()->topLevelItem(0)->setSelected(true);
        EXPECT_EQ(TabWalk(sheet, 1), Stops({1019, 1021, 1020, 1023, 1024, 1025}));
        return IDCANCEL;
    });
    sheet.DoModal();
}

TEST_F(SheetTabOrderTest, EveryPartialSaveListAndTreeShowsTheFocusTabReachesEmptyOrNot) {
    app.m_bAllowAlphasInPartialSave = TRUE;
    doc.StoreAlpha(CAssign(0, 0, 0), u"A0");
    CPartialSaveSheet sheet(&doc);
    script.ExpectDialog("sheet2407", [&](QDialog&) {
        for (int page = 0; page < sheet.GetPageCount(); ++page) {
            SCOPED_TRACE(page);
            const bool trees = page == sheet.GetPageCount() - 1;
            for (const char* name :
                 trees ? std::array{"ctl1027", "ctl1028"} : std::array{"ctl1019", "ctl1020"})
                EXPECT_TRUE(ShowsTheFocusTabbedTo(sheet, page, name)) << name;
        }
        // Nothing is chosen yet: the chosen lists were empty.
        EXPECT_EQ(static_cast<CPSListDragPage*>(sheet.GetPage(1))->GetChosenList()->GetItemCount(),
                  0);
        return IDCANCEL;
    });
    sheet.DoModal();
}

TEST_F(SheetTabOrderTest, TabGoesFromTheConfigurationPagesTabThroughItsControlsToOkAndCancel) {
    app.m_strComPort = u"NUL:";
    CPreferencesSheet sheet(nullptr, nullptr);
    script.ExpectDialog("sheet2406", [&](QDialog&) {
        const std::string expected[] = {Stops({1042, 1043, 1034, 1073, 1038, 1039, 1036, 1037}),
                                        Stops({1034, 1035, 1036, 1037, 1038, 1039, 1046, 1047}),
                                        Stops({1034, 1035, 1036, 1037, 1038, 1039, 1073}),
                                        Stops({1046, 1021, 1047, 1022, 3003, 1023})};
        for (int page = 0; page < sheet.GetPageCount(); ++page) {
            SCOPED_TRACE(page);
            EXPECT_EQ(TabWalk(sheet, page), expected[page]);
            EXPECT_EQ(TabWalk(sheet, page, true), Reversed(expected[page]));
        }
        // The controls that show or come alive take their places in the order.
        QWidget& general = sheet.GetCommPage();
        Ctl<QComboBox>(general, 1042)->setCurrentText("NET:");
        Ctl<QCheckBox>(general, 1073)->click();
        EXPECT_EQ(TabWalk(sheet, CPreferencesSheet::kGeneral),
                  Stops({1042, 1047, 1046, 1021, 1034, 1073, 1035, 1038, 1039, 1036, 1037}));
        Ctl<QCheckBox>(sheet.GetAdvancedPage(), 1038)->click();
        EXPECT_EQ(TabWalk(sheet, CPreferencesSheet::kAdvanced),
                  Stops({1034, 1035, 1036, 1037, 1038, 1039, 1046, 1047, 1042}));
        return IDCANCEL;
    });
    sheet.DoModal();
}

}  // namespace
