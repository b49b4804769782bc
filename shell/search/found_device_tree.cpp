#include "shell/search/found_device_tree.h"

#include "platform/ui/qt_convert.h"
#include "shell/controls/kelvardin_tree_ctrl.h"

namespace {

constexpr int kActiveImage = 0;
constexpr int kStandbyImage = 1;

int StatusImage(const CFoundDevice& d) {
    return d.active ? kActiveImage : kStandbyImage;
}

QTreeWidgetItem* ChildWithText(QTreeWidgetItem* parent, const CString& text) {
    if (!parent) return nullptr;
    const QString wanted = ToQString(text);
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == wanted) return parent->child(i);
    }
    return nullptr;
}

CString OtherStatusText(const CFoundDevice& d) {
    return d.active ? u"Standby" : u"Active";
}

}  // namespace

CFoundDeviceTree::CFoundDeviceTree(CKelvardinTreeCtrl& tree, std::array<QIcon, 2> images)
    : m_tree(tree), m_images(std::move(images)) {}

DWORD CFoundDeviceTree::ValueOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kValueRole).toUInt() : 0;
}

QTreeWidgetItem* CFoundDeviceTree::DeviceItem(QTreeWidgetItem* item) {
    while (item && !IsAddress(ValueOf(item)))
        item = item->childCount() > 0 ? item->child(0) : nullptr;
    return item;
}

QTreeWidgetItem* CFoundDeviceTree::FindOrPlace(CFoundDevice& d) {
    const QString label = ToQString(d.GetLabel());
    const DWORD key = d.GetKey();
    QTreeWidgetItem* top = m_tree.invisibleRootItem();
    // The first system entry that lacks this frame takes it, unless a later one knows it.
    QTreeWidgetItem* place = nullptr;
    for (int i = 0; i < top->childCount(); ++i) {
        QTreeWidgetItem* root = top->child(i);
        if (root->text(0) != label || ValueOf(root) != key) continue;
        if (IsAddress(key)) return root;
        const bool knownSingle = IsAddress(ValueOf(root->child(0)));
        if (knownSingle != static_cast<bool>(d.IsSingleFrame())) continue;
        bool placed = false;
        QTreeWidgetItem* found = d.IsSingleFrame() ? FindInSingleFrame(root, d, placed)
                                                   : FindInMultiFrame(root, d, placed, place);
        if (found || placed) return found;
    }
    if (!place) {
        InsertRoot(d);
    } else if (place->parent()) {
        InsertFrame(place, d);
    } else {
        InsertStatus(place, d);
    }
    return nullptr;
}

QTreeWidgetItem* CFoundDeviceTree::FindInSingleFrame(QTreeWidgetItem* root, CFoundDevice& d,
                                                     bool& placed) {
    if (QTreeWidgetItem* status = ChildWithText(root, d.GetStatusText())) {
        if (ValueOf(status) == d.address) return status;
        if (ValueOf(status) == d.partner) {
            d.active = !d.active;
            return status;
        }
        return nullptr;
    }
    QTreeWidgetItem* first = root->child(0);
    if (d.partner == ValueOf(first)) {
        // The other half of the pair.
        InsertStatus(root, d);
        placed = true;
        return nullptr;
    }
    if (d.address == ValueOf(first)) {
        d.active = !d.active;
        return first;
    }
    return nullptr;
}

QTreeWidgetItem* CFoundDeviceTree::FindInMultiFrame(QTreeWidgetItem* root, CFoundDevice& d,
                                                    bool& placed, QTreeWidgetItem*& place) {
    QTreeWidgetItem* status = ChildWithText(root, d.GetStatusText());
    if (QTreeWidgetItem* frame = ChildWithText(status, d.GetFrameText())) {
        if (ValueOf(frame) == d.address) return frame;
        if (ValueOf(frame) == d.partner) {
            d.active = !d.active;
            return frame;
        }
        return nullptr;
    }
    QTreeWidgetItem* other = ChildWithText(root, OtherStatusText(d));
    if (QTreeWidgetItem* frame = ChildWithText(other, d.GetFrameText())) {
        if (ValueOf(frame) == d.partner) {
            if (status) {
                InsertFrame(status, d);
            } else {
                InsertStatus(root, d);
            }
            placed = true;
            return nullptr;
        }
        if (ValueOf(frame) == d.address) {
            d.active = !d.active;
            return frame;
        }
        return nullptr;
    }
    if (!place) place = status ? status : root;
    return nullptr;
}

void CFoundDeviceTree::InsertRoot(const CFoundDevice& d) {
    const bool standbyController = d.IsController() && !d.active;
    const int image = standbyController || d.IsSystem() ? kStandbyImage : kActiveImage;
    QTreeWidgetItem* root = Insert(m_tree.invisibleRootItem(), d.GetLabel(), d.GetKey(), image);
    if (d.IsSystem()) InsertStatus(root, d);
}

void CFoundDeviceTree::InsertStatus(QTreeWidgetItem* parent, const CFoundDevice& d) {
    QTreeWidgetItem* status =
        Insert(parent, d.GetStatusText(), d.IsSingleFrame() ? d.address : 0, StatusImage(d));
    if (!d.IsSingleFrame()) InsertFrame(status, d);
}

void CFoundDeviceTree::InsertFrame(QTreeWidgetItem* status, const CFoundDevice& d) {
    Insert(status, d.GetFrameText(), d.address, StatusImage(d));
}

// Siblings stay in the order of their texts.
QTreeWidgetItem* CFoundDeviceTree::Insert(QTreeWidgetItem* parent, const CString& text, DWORD value,
                                          int image) {
    const QString itemText = ToQString(text);
    int at = 0;
    while (at < parent->childCount() &&
           parent->child(at)->text(0).compare(itemText, Qt::CaseInsensitive) <= 0)
        ++at;
    auto* item = new QTreeWidgetItem(QStringList(itemText));
    item->setData(0, kValueRole, static_cast<uint>(value));
    item->setData(0, kImageRole, image);
    item->setIcon(0, m_images[static_cast<size_t>(image)]);
    parent->insertChild(at, item);
    return item;
}
