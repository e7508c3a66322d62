// What the print tests read back from the CUPS scheduler named by
// CUPS_SERVER and from the PDFs its cups-pdf printer writes.
#pragma once

#include "worksheet/sheet.h"

#include <QString>
#include <QStringList>

#include <vector>

#include "pdf_reading.h"

struct TQueuedJob {
    int Id;
    QString Title;
    bool Completed;
};

// A multiplication sheet of four problems whose answers share no number with
// the problems themselves; the words of the problems and of the answers as
// pdftotext reads them.
TSheet KnownSheet();
extern const QStringList kProblemWords;
extern const QStringList kAnswerWords;

// Every job the scheduler knows, oldest first.
std::vector<TQueuedJob> QueuedJobs();

// Waits (up to 90 s) until the scheduler knows `count` jobs and all of them
// have completed; returns them, or fewer when that did not happen.
std::vector<TQueuedJob> WaitForCompletedJobs(size_t count);

// The PDF cups-pdf wrote for a job, in the folder named by TAVELIN_PDF_DIR;
// empty when there is none.
QString PdfOfJob(int jobId);

// Runs a CUPS administration command (lpadmin, cupsreject, ...) against the
// scheduler named by CUPS_SERVER; its standard output, or an empty text.
QString RunCupsCommand(const QString& program, const QStringList& arguments);
