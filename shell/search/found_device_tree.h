#pragma once

#include <QIcon>

#include <array>

#include "platform/base/win_types.h"
#include "shell/io/found_device.h"

class CKelvardinTreeCtrl;
class QTreeWidgetItem;

// The tree of a device search. A device sits at the top under its label, except that the
// frames of a system that may consist of several frames gather under one entry per system,
// and the two halves of an active and standby pair under one entry, each half under its
// status. Every item carries one value: the address of the device it stands for, or for a
// system's entry its group key, or 0.
class CFoundDeviceTree {
public:
    static constexpr int kValueRole = Qt::UserRole;
    static constexpr int kImageRole = Qt::UserRole + 1;

    // images: the active and the standby picture.
    CFoundDeviceTree(CKelvardinTreeCtrl& tree, std::array<QIcon, 2> images);

    // The item that already stands for the device, or null after the device was placed.
    // An answer that names its partner's entry, or its own under the other status, is taken
    // as the same device with its status turned round.
    QTreeWidgetItem* FindOrPlace(CFoundDevice& device);

    static DWORD ValueOf(const QTreeWidgetItem* item);
    // Group keys and the 0 of a status entry never have a top byte.
    static bool IsAddress(DWORD value) { return (value >> 24) != 0; }
    // The item or the first of its first children that stands for a device; null for none.
    static QTreeWidgetItem* DeviceItem(QTreeWidgetItem* item);

private:
    QTreeWidgetItem* FindInSingleFrame(QTreeWidgetItem* root, CFoundDevice& d, bool& placed);
    QTreeWidgetItem* FindInMultiFrame(QTreeWidgetItem* root, CFoundDevice& d, bool& placed,
                                      QTreeWidgetItem*& place);

    void InsertRoot(const CFoundDevice& d);
    void InsertStatus(QTreeWidgetItem* parent, const CFoundDevice& d);
    void InsertFrame(QTreeWidgetItem* status, const CFoundDevice& d);
    QTreeWidgetItem* Insert(QTreeWidgetItem* parent, const CString& text, DWORD value, int image);

    CKelvardinTreeCtrl& m_tree;
    std::array<QIcon, 2> m_images;
};
