// まとめて作成: a different sheet for every pupil, with their answer sheets,
// as one PDF or one print job.
#include <QLineEdit>

#include "app/application.h"
#include "app/class_set_dialog.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/history_log.h"
#include "app/printer.h"
#include "sheets/class_set.h"
#include "sheets/pdf_pages.h"
#include "sheets/sheet_pdf.h"
#include "sheets/whole_file.h"
#include "worksheet/errors.h"
#include "worksheet/problems.h"
#include "worksheet/text_to_int.h"

namespace {

// Draws the set's pages on the printer as one job. Cancel drops the job
// (EAbort: nothing is said).
void PrintClassSet(TPrinter& printer, const TClassSet& set, TAnswerOrder order, const TPageView& view,
                   TProgress& progress, int doneBefore)
{
    const auto [W, H] = PortraitArea(printer);
    PrintJob(printer, "Tavelin", [&] {
        int done = doneBefore;
        for (const auto& [index, answers] : PageOrder(set.Sheets.size(), order)) {
            if (done > doneBefore) printer.NewPage();
            DrawMadeSheet(printer.Canvas(), W, H, set.Sheets[index], view, answers);
            if (!progress.Step(++done)) throw EAbort();
        }
    });
}

}  // namespace

void TForm1::ClassSetClick()
{
    TClassSetRequest request;
    request.Paper = pdfPaper_;
    if (!Dialogs().AskClassSet(this, request)) return;
    const TWorksheetSettings settings = Settings();
    PrintNumber = TextToInt(PrnNum->text().toStdString());
    const int32_t first = PrintNumber;
    // The file is asked for first: nothing is made for a dialog called off.
    QString path;
    if (!request.ToPrinter)
        path = AskFileToWrite(QStringLiteral("まとめて作成"), QStringLiteral("かけ算-No%1-%2枚.pdf").arg(first).arg(request.Sheets),
                              QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));

    const size_t pages = PageOrder(static_cast<size_t>(request.Sheets), request.Order).size();
    const std::unique_ptr<TProgress> progress =
        Dialogs().StartProgress(this, QStringLiteral("プリントを作っています…"), request.Sheets + static_cast<int>(pages));
    TClassSet set;
    try {
        set = MakeClassSet(settings, request.Sheets, first, [&](int done) { return progress->Step(done); });
    } catch (const EShortfall&) {
        // Nothing is written or printed.
        ShowShortfallWarning();
        return;
    }
    if (set.Sheets.empty()) return;  // cancelled

    const TPageView view = PageView();
    std::string destination;
    if (request.ToPrinter) {
        TPrinter& printer = Printer();
        PrintClassSet(printer, set, request.Order, view, *progress, request.Sheets);
        destination = printer.Destination();
    } else {
        const QByteArray pdf = MadeSheetsPdf(set.Sheets, request.Order, request.Paper, view,
                                             [&](int done) { return progress->Step(request.Sheets + done); });
        if (pdf.isEmpty()) return;  // cancelled
        WriteWholeFile(path, pdf);
        destination = path.toStdString();
    }
    AdvanceSheetNumber(set.Sheets.back().Number);

    std::vector<THistorySheet> recorded;
    for (const TMadeSheet& sheet : set.Sheets)
        recorded.push_back(HistorySheetOf(sheet, settings, request.Order != TAnswerOrder::None, destination));
    HistoryLog().Record(this, std::move(recorded));

    QString done = QStringLiteral("%1枚のプリントを作りました（No.%2～No.%3）。")
                       .arg(set.Sheets.size())
                       .arg(set.Sheets.front().Number)
                       .arg(set.Sheets.back().Number);
    if (!set.ShortSheets.empty()) {
        QStringList numbers;
        for (int32_t number : set.ShortSheets) numbers << QStringLiteral("No.%1").arg(number);
        done += QStringLiteral("\n%1 は、問題が %2 問そろいませんでした。").arg(numbers.join(QStringLiteral("、"))).arg(set.Requested);
    }
    Dialogs().MessageBox(this, ApplicationTitle(), done, TDialogs::TIcon::Information);
}
