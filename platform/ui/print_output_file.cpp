#include "platform/ui/print_output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/ui/qt_convert.h"

namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;

// An existing file is written through a link to where it really lies.
QString TargetOf(const QString& requested) {
    const QFileInfo info(requested);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

// A new file beside an existing one; empty when none can be made there.
QString FileBeside(const QString& target) {
    const QFileInfo info(target);
    QTemporaryFile beside(
        QStringLiteral("%1/.%2.XXXXXX").arg(info.absolutePath(), info.fileName()));
    beside.setAutoRemove(false);
    return beside.open() ? beside.fileName() : QString();
}

void CloseFd(int& fd) {
    if (fd < 0) return;
    ::close(fd);
    fd = -1;
}

}  // namespace

CPrintOutputFile::CPrintOutputFile(QPrinter& printer)
    : m_printer(printer), m_requested(printer.outputFileName()) {
    if (m_requested.isEmpty()) return;
    m_target = TargetOf(m_requested);
    const bool exists = QFileInfo::exists(m_target);
    m_written = exists ? FileBeside(m_target) : m_target;
    m_created = exists && !m_written.isEmpty();
    m_ready = !m_written.isEmpty() && m_out.Open(FromQString(m_written), CBinaryFile::modeCreate);
    m_created = m_created || m_ready;
    int pipe[2];
    m_ready = m_ready && ::pipe2(pipe, O_CLOEXEC) == 0;
    if (!m_ready) return;
    m_pipeRead = pipe[0];
    m_pipeWrite = pipe[1];
    m_copier = std::thread([this] { Copy(); });
    // The printer opens the pipe anew by this name; without a pdf suffix it keeps the output
    // format it has.
    m_printer.setOutputFileName(QStringLiteral("/proc/self/fd/%1").arg(m_pipeWrite));
}

CPrintOutputFile::~CPrintOutputFile() {
    if (m_requested.isEmpty()) return;
    EndCopy();
    m_out.Abort();
    if (!m_committed && m_created) QFile::remove(m_written);
    m_printer.setOutputFileName(m_requested);
}

void CPrintOutputFile::Copy() {
    std::vector<char> buffer(kCopyChunk);
    for (;;) {
        const ssize_t n = ::read(m_pipeRead, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            m_copyFailed = m_copyFailed || n < 0;
            return;
        }
        // After a failure the rest is still read, so that the printer never waits on the pipe.
        if (m_copyFailed) continue;
        try {
            m_out.Write(buffer.data(), static_cast<UINT>(n));
        } catch (const CFileException&) {
            m_copyFailed = true;
        }
    }
}

void CPrintOutputFile::EndCopy() {
    CloseFd(m_pipeWrite);
    if (m_copier.joinable()) m_copier.join();
    CloseFd(m_pipeRead);
}

CPrintOutputFile::Result CPrintOutputFile::Commit() {
    if (m_requested.isEmpty()) {
        m_committed = true;
        return Result::kDone;
    }
    EndCopy();
    try {
        if (m_copyFailed) return Result::kNotWritten;
        m_out.Flush();
        m_out.Close();
    } catch (const CFileException&) {
        return Result::kNotWritten;
    }
    if (m_written != m_target) {
        QFile::setPermissions(m_written, QFile::permissions(m_target));
        // A rename within one folder replaces the file in one step: it is never half written.
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(m_written).constData(),
                                QFile::encodeName(m_target).constData(), error);
        if (error) return Result::kNotReplaced;
    }
    m_committed = true;
    return Result::kDone;
}
