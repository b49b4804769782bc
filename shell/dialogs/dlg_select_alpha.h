#pragma once

#include <QTreeWidget>

#include <utility>
#include <vector>

#include "model/select_alpha.h"
#include "shell/dialogs/kelvardin_dialog.h"

class CKelvardinDoc;

// "Select Alpha": the alpha typed names more than one resource; the user picks one of them by
// its intercom and assignment. The candidates keep the caller's order.
class CDlgSelectAlpha : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 161;
    static constexpr UINT kList = 1019;

    CDlgSelectAlpha(const CKelvardinDoc* doc, std::vector<CAlphaChoice> candidates,
                    QWidget* parent = nullptr);

    // After OK: the position of the candidate chosen, -1 for none.
    int m_nResult = -1;

    QTreeWidget& GetList() { return m_list; }
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    const CKelvardinDoc* const m_doc;
    const std::vector<CAlphaChoice> m_candidates;
    QTreeWidget m_list;
};

// Asks the user which of several alphas an edit means, for the document.
class CAlphaChooser : public ISelectAlpha {
public:
    CAlphaChooser(const CKelvardinDoc& doc, QWidget* parent) : m_doc(doc), m_parent(parent) {}

    int DoSelectAlpha(const std::vector<CAlphaChoice>& candidates) override;

private:
    const CKelvardinDoc& m_doc;
    QWidget* const m_parent;
};
