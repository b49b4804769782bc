#include "shell/sheets/ps_page_alphas.h"

#include <QPainter>
#include <QPixmap>

#include <vector>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/records.h"
#include "platform/ui/qt_convert.h"
#include "res/string_ids.h"

namespace {

constexpr int kImageSize = 20;

enum class CItemKind { kAlphas, kIntercom, kType };

// The small pictures of the three levels, drawn in the palette's text colour so that they
// read on light and dark backgrounds alike.
QIcon ItemIcon(CItemKind kind) {
    QPixmap picture(kImageSize, kImageSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = QPalette().color(QPalette::Text);
    painter.setPen(QPen(ink, 1.5));
    switch (kind) {
        case CItemKind::kAlphas:  // a label
            painter.drawPolygon(QPolygonF({{3, 6}, {13, 6}, {18, 10}, {13, 14}, {3, 14}}));
            painter.drawEllipse(QPointF(6, 10), 1, 1);
            break;
        case CItemKind::kIntercom:  // a frame with its cards
            painter.drawRect(QRectF(3, 4, 14, 12));
            for (int x = 6; x <= 14; x += 4)
                painter.drawLine(QPointF(x, 6), QPointF(x, 14));
            break;
        case CItemKind::kType:  // a row of ports
            for (int x = 4; x <= 14; x += 5)
                painter.drawEllipse(QRectF(x, 8, 3, 3));
            break;
    }
    return QIcon(picture);
}

QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const CString& text, CItemKind kind, DWORD data) {
    auto* item = new QTreeWidgetItem(parent, {ToQString(text).left(CPSTreeDragPage::kMaxItemText)});
    item->setIcon(0, ItemIcon(kind));
    CPSTreeDragPage::SetItemData(item, data);
    return item;
}

// Whether the controller knows the resource type of an alpha list index.
bool IsTypeOffered(int index) {
    const CCVConfig& config = GetApp().GetConfig();
    if (index == 6) return config.HasFlag(CCVConfig::kNewCorvane);
    if (index == 7) return config.HasCapability(CCVConfig::kIFBSLSupport);
    return true;
}

}  // namespace

CPSPageAlphas::CPSPageAlphas(CKelvardinDoc* doc)
    : CPSTreeDragPage(kTemplateId, 4, u"Alphas", kIdsAlphasSelected), m_doc(doc) {}

void CPSPageAlphas::SetChosen(DWORD data, bool chosen) {
    if (m_doc)
        m_doc->SetIcomAlphaFlags(static_cast<int>(data >> 24),
                                 static_cast<int>((data >> 16) & 0xFF), CCVObject::kPartialChoice,
                                 chosen);
}

CString CPSPageAlphas::IcomText(int icom) const {
    return m_doc->GetIcomText(icom, GetApp().GetConfig().m_nAlphaSize, TRUE, TRUE);
}

void CPSPageAlphas::RefreshTexts() {
    if (!IsCreated() || !m_doc) return;
    for (CKelvardinTreeCtrl* tree : {GetAvailableTree(), GetChosenTree()}) {
        QTreeWidgetItem* root = tree->topLevelItem(0);
        if (!root) continue;
        bool renamed = false;
        for (int i = 0; i < root->childCount(); ++i) {
            QTreeWidgetItem* item = root->child(i);
            const auto icom = static_cast<int>(GetItemData(item) >> 24);
            const QString text = ToQString(IcomText(icom)).left(kMaxItemText);
            if (item->text(0) == text) continue;
            item->setText(0, text);
            renamed = true;
        }
        if (renamed && !GetApp().m_bSortIntercomsByIntercomNumber)
            root->sortChildren(0, Qt::AscendingOrder);
    }
}

void CPSPageAlphas::Refill() {
    if (!IsCreated() || !m_doc) return;
    // A fresh setup knows nothing of the choice: the trees say what the user chose.
    for (CKelvardinTreeCtrl* tree : {GetAvailableTree(), GetChosenTree()}) {
        const bool chosen = tree == GetChosenTree();
        tree->WalkItems(
            tree->invisibleRootItem(),
            [this, chosen](QTreeWidgetItem* item) {
                SetChosen(GetItemData(item), chosen);
                return false;
            },
            CKelvardinTreeCtrl::kSkipStart);
        tree->clear();
    }
    FillTrees();
}

void CPSPageAlphas::FillTrees() {
    CKelvardinTreeCtrl& available = *GetAvailableTree();
    CKelvardinTreeCtrl& chosen = *GetChosenTree();
    if (!m_doc) return;
    const CAppState& app = GetApp();
    const int visible = app.GetVisibleIcomCount();
    std::vector<const CIntercom*> intercoms(static_cast<size_t>(visible), nullptr);
    QTreeWidgetItem* root = nullptr;
    for (int i = 0; i < visible; ++i) {
        const auto* icom = dynamic_cast<const CIntercom*>(m_doc->FindObject(CIcomSpec(i, 1)));
        intercoms[static_cast<size_t>(i)] = icom;
        // An intercom whose alphas are all of types the controller lacks has nothing to offer.
        bool offered = false;
        for (int index = 0; icom && index < kAlphaListCount; ++index)
            offered = offered || (IsTypeOffered(index) && icom->GetAlphaCount(index) > 0);
        if (!offered) continue;
        if (!root)
            root = AddItem(available.invisibleRootItem(), u"Alphas", CItemKind::kAlphas,
                           ItemData(kAllIntercoms, kAllTypes));
        QTreeWidgetItem* parent =
            AddItem(root, IcomText(i), CItemKind::kIntercom, ItemData(i, kAllTypes));
        for (int index = 0; index < kAlphaListCount; ++index) {
            const int count = icom->GetAlphaCount(index);
            if (IsTypeOffered(index) && count > 0)
                AddItem(parent, m_doc->GetResourceTypeText(index), CItemKind::kType,
                        ItemData(i, index, static_cast<DWORD>(count)));
        }
    }
    // What the sheet found chosen starts in the chosen tree.
    for (int i = 0; i < visible; ++i) {
        const CIntercom* icom = intercoms[static_cast<size_t>(i)];
        for (int index = 0; icom && index < kAlphaListCount; ++index) {
            const int count = icom->GetAlphaCount(index);
            if (count == 0 || !(icom->GetAlphaFlags(index) & CCVObject::kPartialChoice)) continue;
            const DWORD data = ItemData(i, index, static_cast<DWORD>(count));
            QTreeWidgetItem* item = available.WalkItems(
                available.invisibleRootItem(), MatchItemData(data),
                CKelvardinTreeCtrl::kFirstMatch | CKelvardinTreeCtrl::kSkipStart);
            if (!item) continue;
            available.setCurrentItem(item);
            MoveSelected(available, chosen);
        }
    }
    if (!app.m_bSortIntercomsByIntercomNumber && available.topLevelItemCount() > 0)
        available.topLevelItem(0)->sortChildren(0, Qt::AscendingOrder);
    for (CKelvardinTreeCtrl* tree : {&available, &chosen}) {
        if (QTreeWidgetItem* top = tree->topLevelItem(0)) {
            top->setExpanded(false);
            tree->setCurrentItem(top);
        }
    }
    UpdateCounters();
}
