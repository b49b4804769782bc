#include "shell/sheets/ps_page_trunks.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/records.h"
#include "platform/ui/qt_convert.h"
#include "res/string_ids.h"
#include "shell/controls/list_combo_box.h"

namespace {

constexpr LPARAM kAllIntercoms = -1;

CPSListPageInfo TrunkPageInfo() {
    return {CPSPageTrunks::kTemplateId,
            0,
            CObjSpec::kTrunk,
            u"Trunks",
            {{2398, CTrunk::kFieldRecord},
             {2400, CTrunk::kFieldEnd1, CIntercom::kFieldName},
             {2401, CTrunk::kFieldEnd2, CIntercom::kFieldName}},
            kIdsTrunksSelected,
            kCompareTextEmptiesLast};
}

QWidget* Named(QWidget* widget, UINT id) {
    widget->setObjectName(QStringLiteral("ctl%1").arg(id));
    return widget;
}

}  // namespace

CPSPageTrunks::CPSPageTrunks(CKelvardinDoc* doc) : CPSListDragPage(TrunkPageInfo(), doc) {}

void CPSPageTrunks::AddPageControls(QVBoxLayout& layout) {
    auto* frame = new QGroupBox;
    auto* row = new QHBoxLayout(frame);
    auto* select = new QPushButton(QStringLiteral("Select &Trunks"));
    select->setAutoDefault(false);
    connect(select, &QPushButton::clicked, this, &CPSPageTrunks::OnSelectTrunks);
    auto* between = new QLabel(QStringLiteral("between"));
    auto* andLabel = new QLabel(QStringLiteral("and"));
    m_between = new CListComboBox;
    m_and = new CListComboBox;
    row->addWidget(Named(select, kSelectTrunks));
    row->addWidget(Named(between, kBetweenLabel));
    row->addWidget(Named(m_between, kBetweenCombo), 1);
    row->addWidget(Named(andLabel, kAndLabel));
    row->addWidget(Named(m_and, kAndCombo), 1);
    layout.addWidget(frame);
    connect(m_and, &QComboBox::activated, this, &CPSPageTrunks::OnAndPicked);
    m_rangeControls = {select, between, andLabel, m_between, m_and};
    FillCombos();
}

void CPSPageTrunks::FillCombos() {
    const LPARAM lo = m_between->count() > 0 ? m_between->GetCurSelData() : 0;
    const LPARAM hi = m_and->count() > 0 ? m_and->GetCurSelData() : kAllIntercoms;
    m_between->clear();
    m_and->clear();
    if (const CKelvardinDoc* doc = GetDocument()) {
        doc->FillIcomCombo(*m_between, FALSE, FALSE, FALSE);
        doc->FillIcomCombo(*m_and, FALSE, TRUE, FALSE);
    }
    m_between->SelectItemData(m_between->FindItemData(lo) >= 0 ? lo : 0);
    m_and->SelectItemData(m_and->FindItemData(hi) >= 0 ? hi : kAllIntercoms);
    const bool any = m_between->count() > 0;
    for (QWidget* control : m_rangeControls)
        control->setEnabled(any);
}

void CPSPageTrunks::OnInitDialog() {
    CPSListDragPage::OnInitDialog();
    m_shown = Shown();
}

CPSPageTrunks::CShown CPSPageTrunks::Shown() const {
    CShown shown;
    const CKelvardinDoc* doc = GetDocument();
    if (!doc) return shown;
    const int trunks = GetApp().GetConfig().m_wNumTrunks;
    shown.ends.reserve(2 * static_cast<size_t>(trunks));
    for (int trunk = 0; trunk < trunks; ++trunk) {
        for (BOOL first : {TRUE, FALSE})
            shown.ends.push_back(doc->GetTrunkEnd(trunk, first).GetKey());
    }
    const int alphaSize = GetApp().GetConfig().m_nAlphaSize;
    for (int icom = 0; icom <= CAssign::kNoIcom; ++icom)
        shown.names.push_back(doc->GetIcomText(icom, alphaSize, TRUE, FALSE));
    return shown;
}

void CPSPageTrunks::RefreshTexts() {
    if (!IsCreated() || !GetDocument()) return;
    const CShown before = std::exchange(m_shown, Shown());
    const CShown& now = m_shown;
    std::vector<bool> renamed(now.names.size(), true);
    for (size_t icom = 0; icom < before.names.size() && icom < renamed.size(); ++icom)
        renamed[icom] = before.names[icom] != now.names[icom];
    // An end shows the name of its intercom: a row can show other texts only when an end moved
    // or the intercom at one was renamed.
    std::vector<bool> stale(now.ends.size() / 2);
    for (size_t end = 0; end < now.ends.size(); ++end) {
        const DWORD key = now.ends[end];
        if (end >= before.ends.size() || key != before.ends[end] ||
            renamed[CAssign::FromKey(key).m_icom])
            stale[end / 2] = true;
    }
    RefreshRows([&](LPARAM trunk) {
        const auto index = static_cast<size_t>(trunk);
        return index >= stale.size() || stale[index];
    });
    if (std::find(renamed.begin(), renamed.end(), true) != renamed.end()) FillCombos();
}

void CPSPageTrunks::Refill() {
    CPSListDragPage::Refill();
    if (!IsCreated()) return;
    FillCombos();
    m_shown = Shown();
}

void CPSPageTrunks::OnAndPicked(int index) {
    if (m_and->GetItemData(index) == m_between->GetCurSelData())
        m_and->SelectItemData(kAllIntercoms);
}

void CPSPageTrunks::OnSelectTrunks() {
    const LPARAM lo = m_between->GetCurSelData();
    const LPARAM hi = m_and->GetCurSelData();
    const CKelvardinDoc* doc = GetDocument();
    if (!doc || lo < 0 || hi == CListComboBox::kNoData) return;
    SelectFocusedRows([&](LPARAM trunk) {
        const int t = static_cast<int>(trunk);
        return doc->IsTrunkLinkedToIcom(t, static_cast<int>(lo)) &&
               (hi < 0 || doc->IsTrunkLinkedToIcom(t, static_cast<int>(hi)));
    });
}
