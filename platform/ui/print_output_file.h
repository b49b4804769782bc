#pragma once

#include <QString>

class QPrinter;

// The file a print job writes. Over an existing file the job writes beside it, and the result
// replaces the file only when the job completed: a print that is cancelled, fails or prints
// nothing leaves the user's file as it was, and a new file not at all.
class CPrintOutputFile {
public:
    // Points a printer that prints to a file at where the job is to write.
    explicit CPrintOutputFile(QPrinter& printer);
    // Removes what a job that did not complete wrote, and gives the printer its file back.
    ~CPrintOutputFile();
    CPrintOutputFile(const CPrintOutputFile&) = delete;
    CPrintOutputFile& operator=(const CPrintOutputFile&) = delete;

    // False when there is nowhere beside the file to write.
    bool IsReady() const { return m_ready; }
    // Puts the completed print in place of the file; false when it could not.
    bool Commit();

private:
    QPrinter& m_printer;
    const QString m_requested;
    QString m_target;
    QString m_written;
    bool m_ready = true;
    bool m_committed = false;
};
