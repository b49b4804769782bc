#include "platform/ui/print_progress.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/ui/qt_convert.h"

namespace {

constexpr char16_t kTitle[] = u"Printing";
constexpr char16_t kPageOfPages[] = u"Printing page %1 of %2";
constexpr char16_t kPage[] = u"Printing page %1";

}  // namespace

CPrintProgress::CPrintProgress(QWidget* parent, int pages)
    : m_pages(pages), m_box(std::make_unique<QDialog>(parent)), m_text(new QLabel) {
    m_box->setObjectName(QStringLiteral("printProgress"));
    m_box->setWindowTitle(ToQString(kTitle));
    m_box->setWindowModality(Qt::ApplicationModal);
    m_text->setObjectName(QStringLiteral("printPage"));
    // Wide enough for the longest text, so the box does not jump as the pages go by.
    m_text->setMinimumWidth(m_text->fontMetrics().horizontalAdvance(
        ToQString(PageText(std::max(pages, 1), std::max(pages, 1)))));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::rejected, m_box.get(), &QDialog::reject);
    // Escape and the window's close button cancel as Cancel does.
    QObject::connect(m_box.get(), &QDialog::rejected, m_box.get(), [this] { m_cancelled = true; });
    auto* layout = new QVBoxLayout(m_box.get());
    layout->addWidget(m_text);
    layout->addWidget(buttons, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CPrintProgress::~CPrintProgress() = default;

bool CPrintProgress::Step(int page) {
    if (m_cancelled) return false;
    m_text->setText(ToQString(PageText(page, m_pages)));
    if (!m_box->isVisible()) m_box->show();
    QApplication::processEvents();
    return !m_cancelled;
}

CString CPrintProgress::PageText(int page, int pages) {
    const CString number = CString::Formatted(u"%d", page);
    if (pages <= 0) return SubstituteArgs(kPage, {number});
    return SubstituteArgs(kPageOfPages, {number, CString::Formatted(u"%d", pages)});
}
