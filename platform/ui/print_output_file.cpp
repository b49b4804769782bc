#include "platform/ui/print_output_file.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace {

// An existing file is written through a link to where it really lies.
QString TargetOf(const QString& requested) {
    const QFileInfo info(requested);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

}  // namespace

CPrintOutputFile::CPrintOutputFile(QPrinter& printer)
    : m_printer(printer), m_requested(printer.outputFileName()) {
    if (m_requested.isEmpty()) return;
    m_target = TargetOf(m_requested);
    m_written = m_target;
    if (!QFileInfo::exists(m_target)) return;
    const QFileInfo info(m_target);
    QTemporaryFile beside(
        QStringLiteral("%1/.%2.XXXXXX").arg(info.absolutePath(), info.fileName()));
    beside.setAutoRemove(false);
    m_ready = beside.open();
    if (!m_ready) return;
    m_written = beside.fileName();
    // Without a pdf suffix the printer keeps the output format it has.
    m_printer.setOutputFileName(m_written);
}

CPrintOutputFile::~CPrintOutputFile() {
    if (m_requested.isEmpty()) return;
    if (!m_committed && m_ready) QFile::remove(m_written);
    m_printer.setOutputFileName(m_requested);
}

bool CPrintOutputFile::Commit() {
    if (m_requested.isEmpty() || m_written == m_target) return m_committed = true;
    QFile::setPermissions(m_written, QFile::permissions(m_target));
    // A rename within one folder replaces the file in one step: it is never half written.
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(m_written).constData(),
                            QFile::encodeName(m_target).constData(), error);
    m_committed = !error;
    return m_committed;
}
