// まとめて作成: a different sheet for every pupil, with their answer sheets,
// as one PDF or one print job.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include <memory>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/file_names.h"
#include "app/class_set_dialog.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/history_log.h"
#include "app/printer.h"
#include "app/printer_output.h"
#include "requests/requests.h"
#include "sheets/file_names.h"
#include "sheets/class_set_delivery.h"
#include "sheets/sheet_pdf.h"
#include "worksheet/operations.h"

void TForm1::ClassSetClick()
{
    TClassSetRequest request;
    request.Paper = pdfPaper_;
    RefuseWhilePrinting();
    if (!Dialogs().AskClassSet(this, request)) return;
    RefuseWhilePrinting();
    CheckedSheetCount(request.Sheets, std::to_string(request.Sheets));
    const uint64_t seed = TakeSeed();
    const TWorksheetSettings settings = Settings();
    const QString box = PrnNum->text();
    const int32_t first = shown_.ConvertNumber(box.toStdString());
    // Where the set goes is settled first: nothing is made for a dialog
    // called off.
    std::unique_ptr<TSheetOutput> output;
    std::optional<std::string> csvPath;
    if (request.ToPrinter) {
        TPrinter& printer = Printer();
        output = std::make_unique<TPrinterOutput>(printer, AskBeforeJob(this, printer));
    } else {
        const QString path = AskFileToWrite(
            QStringLiteral("まとめて作成"),
            QString::fromStdString(ProposedFileName(settings.Operation, false, first, static_cast<size_t>(request.Sheets), "pdf")),
            QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
        output = std::make_unique<TPdfFileOutput>(PathBytes(path), request.Paper);
        if (request.Csv) {
            // The answers beside the PDF, under its name.
            const QFileInfo pdf(path);
            const QString csv = pdf.dir().filePath(pdf.completeBaseName() + QStringLiteral(".csv"));
            CheckCsvBeside(PathBytes(path), PathBytes(csv));
            AskBeforeReplacing(this, csv);
            csvPath = PathBytes(csv);
        }
    }

    const size_t pages = PageOrder(static_cast<size_t>(request.Sheets), request.Order).size();
    std::unique_ptr<TProgress> progress =
        Dialogs().StartProgress(this, QStringLiteral("プリントを作っています…"), request.Sheets + static_cast<int>(pages));
    TClassSet set;
    try {
        set = DeliverClassSet(settings, request.Sheets, first, seed, request.Order, *output, HistoryLog(),
                              [&](int done) { return progress->Step(done); }, csvPath, request.RollNumbers);
    } catch (const EShortfall&) {
        // Nothing is written or printed; the progress goes before the warning.
        progress.reset();
        ShowShortfallWarning();
        return;
    }
    progress.reset();
    AdvanceSheetNumber(set.Sheets.back().Number, box);

    QString done = QStringLiteral("%1枚のプリントを作りました（No.%2～No.%3、乱数のもと %4）。")
                       .arg(set.Sheets.size())
                       .arg(set.Sheets.front().Number)
                       .arg(set.Sheets.back().Number)
                       .arg(seed);
    for (const std::string& note : ClassSetNotes(set)) done += QStringLiteral("\n") + QString::fromStdString(note);
    Dialogs().MessageBox(this, ApplicationTitle(), done, TDialogs::TIcon::Information);
}
