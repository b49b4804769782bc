#pragma once

#include <QString>

#include <thread>

#include "platform/io/binary_file.h"

class QPrinter;

// The file a print job writes. The printer writes into a pipe, and what comes out of it is
// copied into the file here, so that a write that fails (a full disk) is seen: the printer's
// own file output does not report one. Over an existing file the copy goes beside it, and
// the result replaces the file only when the job completed and every byte reached the disk:
// a print that is cancelled, fails or prints nothing leaves the user's file as it was, and a
// new file not at all.
class CPrintOutputFile {
public:
    enum class Result { kDone, kNotWritten, kNotReplaced };

    // Points a printer that prints to a file at where the job is to write.
    explicit CPrintOutputFile(QPrinter& printer);
    // Removes what a job that did not complete wrote, and gives the printer its file back.
    ~CPrintOutputFile();
    CPrintOutputFile(const CPrintOutputFile&) = delete;
    CPrintOutputFile& operator=(const CPrintOutputFile&) = delete;

    // False when there is nowhere to write.
    bool IsReady() const { return m_ready; }
    // Once the printer has ended the job: puts the completed print in place of the file.
    Result Commit();
    // The file the user asked for.
    const QString& GetRequested() const { return m_requested; }

private:
    void Copy();
    // The copy ends once the printer and this side have both let go of the pipe.
    void EndCopy();

    QPrinter& m_printer;
    const QString m_requested;
    QString m_target;
    QString m_written;
    CBinaryFile m_out;
    int m_pipeRead = -1;
    int m_pipeWrite = -1;
    std::thread m_copier;
    bool m_copyFailed = false;  // written by the copier until it is joined
    bool m_ready = true;
    bool m_created = false;
    bool m_committed = false;
};
