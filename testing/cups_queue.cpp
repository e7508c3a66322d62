#include "cups_queue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cups/cups.h>

#include "pdf_reading.h"

#include "worksheet/operations.h"

TSheet KnownSheet()
{
    TSheet sheet;
    sheet.Requested = 12;
    const TOperationRules& rules = RulesOf(TOperation::Multiplication);
    for (const auto& [first, second] : {std::pair{123, 45}, {7, 8}, {12, 3456}, {9, 9}}) sheet.Problems.push_back(rules.Solve(first, second));
    return sheet;
}

const QStringList kProblemWords = {"123", "45", "7", "8", "12", "3456", "9"};
const QStringList kAnswerWords = {"615", "492", "5535", "56", "72", "60", "48", "36", "41472", "81"};

std::vector<TQueuedJob> QueuedJobs()
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    std::vector<TQueuedJob> out;
    for (int i = 0; i < count; ++i)
        out.push_back({jobs[i].id, QString::fromUtf8(jobs[i].title), jobs[i].state == IPP_JSTATE_COMPLETED});
    cupsFreeJobs(count, jobs);
    std::sort(out.begin(), out.end(), [](const TQueuedJob& a, const TQueuedJob& b) { return a.Id < b.Id; });
    return out;
}

std::vector<TQueuedJob> WaitForCompletedJobs(size_t count)
{
    QElapsedTimer timer;
    timer.start();
    std::vector<TQueuedJob> jobs;
    while (timer.elapsed() < 90000) {
        jobs = QueuedJobs();
        const bool done = jobs.size() >= count &&
                          std::all_of(jobs.begin(), jobs.end(), [](const TQueuedJob& j) { return j.Completed; });
        if (done) return jobs;
        QThread::msleep(100);
    }
    return {};
}

QString PdfOfJob(int jobId)
{
    const QDir folder(qEnvironmentVariable("TAVELIN_PDF_DIR"));
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        const QStringList found = folder.entryList({QStringLiteral("*-job_%1.pdf").arg(jobId)}, QDir::Files);
        if (!found.isEmpty() && QFileInfo(folder.filePath(found.front())).size() > 0)
            return folder.filePath(found.front());
        QThread::msleep(100);
    }
    return {};
}




QString RunCupsCommand(const QString& program, const QStringList& arguments)
{
    return RunProgram(program, arguments);
}


