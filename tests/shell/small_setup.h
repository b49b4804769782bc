#pragma once

#include <QStringList>
#include <QTest>
#include <QTreeWidget>

#include "model/kelvardin_doc.h"
#include "tests/shell/shell_fixture.h"

// A document of a small controller: named intercoms, trunks joining neighbouring intercoms
// (trunk i from intercom i % 6 to (i + 1) % 6) and a few alphas.
class SmallSetupTest : public ShellTest {
protected:
    void SetUp() override {
        CCVConfig& config = app.GetConfig();
        config.m_wNumTrunks = 120;
        config.m_wNumIntercoms = 8;
        config.m_wNumGroups = 4;
        doc.ResetToDefaultSetup();
        for (int i = 0; i < 6; ++i)
            Intercom(i).SetName(4, CString::Formatted(u"IC%d", i), FALSE);
        for (int t = 0; t < 120; ++t) {
            doc.SetTrunkEnd(CAssign(BYTE(t % 6), 0, WORD(t)), TRUE, FALSE, t);
            doc.SetTrunkEnd(CAssign(BYTE((t + 1) % 6), 0, WORD(t)), FALSE, FALSE, t);
        }
    }
    CIntercom& Intercom(int i) {
        return dynamic_cast<CIntercom&>(*doc.FindObject(CIcomSpec(i, 1)));
    }
    DWORD Flags(int type, int index) const {
        return doc.FindObject(CObjSpec(DWORD(type), DWORD(index), 1))->GetFlags();
    }
    // The data of a list's rows, in order.
    static QList<qlonglong> Rows(const QTreeWidget& list) {
        QList<qlonglong> rows;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            rows << list.topLevelItem(i)->data(0, Qt::UserRole).toLongLong();
        return rows;
    }
    // As the user does it: a click, then the second press. Without an item, below the rows.
    static void DoubleClick(QTreeWidget& list, const QTreeWidgetItem* item) {
        const QPoint at =
            item ? list.visualItemRect(item).center() : QPoint(5, list.viewport()->height() - 5);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    }
    static QStringList Texts(const QTreeWidget& list, int column) {
        QStringList texts;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            texts << list.topLevelItem(i)->text(column);
        return texts;
    }

    CKelvardinDoc doc;
};
