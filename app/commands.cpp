// The commands behind the buttons and the repaint of the preview box.
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>

#include <optional>
#include <string>

#include "app/controls.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/history_log.h"
#include "app/printer.h"
#include "render/qt_canvas.h"
#include "sheets/class_set.h"
#include "render/recorded_page.h"
#include "worksheet/errors.h"
#include "worksheet/generator.h"
#include "worksheet/problems.h"
#include "worksheet/text_to_int.h"

namespace {

constexpr int32_t kPreviewWidth = 320;
constexpr int32_t kPreviewHeight = 441;
const char* const kJobTitle = "Tavelin";

int32_t ConvertText(const QLineEdit* edit)
{
    return TextToInt(edit->text().toStdString());
}

// A page drawn now for a later job on the same printer: it measures text on
// the printer's current page, as that job's page will.
TRecordedPage PageMeasuredOn(TPrinter& printer)
{
    return TRecordedPage([&printer](const TFont& font, const std::string& text) {
        TCanvas& page = printer.Canvas();
        const TFont kept = page.Font;
        page.Font = font;
        const int32_t width = page.TextWidth(text);
        page.Font = kept;
        return width;
    });
}

}  // namespace

void TForm1::ShowShortfallWarning()
{
    Dialogs().Beep();
    Dialogs().MessageBox(this, QStringLiteral("警告"), QString::fromUtf8(kShortfallMessage), TDialogs::TIcon::Warning);
}

void TForm1::btnPreviewClick()
{
    PrintNumber = ConvertText(PrnNum);
    const TWorksheetSettings settings = Settings();
    const int32_t requested = RequestedCount(settings);
    const int32_t low = ConvertText(AnsLow);
    const int32_t high = ConvertText(AnsHigh);

    // The requested count stands in QuestionCount while the run seeks. A run
    // that fails (on a digit text) leaves the count as it was, so that no
    // repaint or print draws rows of entries this run never wrote.
    const int32_t previousCount = QuestionCount;
    QuestionCount = requested;
    try {
        GenerateProblems(settings, requested, low, high, [this] { ShowShortfallWarning(); });
    } catch (...) {
        QuestionCount = previousCount;
        throw;
    }
    previewSettings_ = settings;

    if (QuestionCount < 4) {
        // Too few problems for a sheet: nothing is left to print, and the
        // box no longer shows a sheet that the table does not hold.
        PreviewReady = 0;
        SetPrintingEnabled(false);
        PaintBox1->update();
    } else {
        {
            const TAnswersShown answers(true);
            drawingPreview_ = true;
            struct TReset {
                bool& flag;
                ~TReset() { flag = false; }
            } reset{drawingPreview_};
            PaintBox1->RepaintNow();
        }
        PreviewReady = 1;
        SetPrintingEnabled(true);
    }
}

void TForm1::PaintBox1Paint(TCanvas& canvas)
{
    if (drawingPreview_) {
        MakePrint(canvas, kPreviewWidth, kPreviewHeight);
    } else if (PreviewReady == 1 && QuestionCount > 0) {
        const TAnswersShown answers(true);
        MakePrint(canvas, kPreviewWidth, kPreviewHeight);
    }
}

void TForm1::AdvanceSheetNumber(int32_t printed)
{
    // The sheet number wraps from 2147483647 to -2147483648.
    PrintNumber = static_cast<int32_t>(static_cast<uint32_t>(printed) + 1u);
    PrnNum->setText(QString::number(PrintNumber));
    PaintBox1->update();
}

void TForm1::PrintSheets(bool withAnswers)
{
    PrintNumber = ConvertText(PrnNum);
    // The number this command prints: a Preview made while a job is handed
    // over sets PrintNumber again.
    const int32_t number = PrintNumber;
    TPrinter& printer = Printer();
    const auto [W, H] = PortraitArea(printer);
    // A file keeps both sheets as the pages of one document.
    const bool oneJob = printer.OutputIsFile();

    // Both sheets are drawn before anything is handed over, so that nothing
    // done while the first job goes out (a Preview) changes the second. The
    // job raises, and nothing counts, unless the sheet was accepted.
    std::optional<TRecordedPage> answerSheet;
    const TMadeSheet sheet = CurrentSheet();
    PrintJob(printer, kJobTitle, [&] {
        MakePrint(printer.Canvas(), W, H);
        if (!withAnswers) return;
        answerSheet.emplace(PageMeasuredOn(printer));
        {
            const TAnswersShown answers(true);
            MakePrint(*answerSheet, W, H);
        }
        if (oneJob) {
            printer.NewPage();
            answerSheet->ReplayOn(printer.Canvas());
        }
    });

    if (withAnswers && !oneJob) {
        try {
            PrintJob(printer, kJobTitle, [&] { answerSheet->ReplayOn(printer.Canvas()); });
        } catch (const std::exception& e) {
            // The problem sheet is in the tray: its number is used up.
            AdvanceSheetNumber(number);
            RecordSheet(sheet, false, printer.Destination());
            throw EPrinter(std::string("問題のプリントは印刷しましたが、答えのプリントは印刷できませんでした。\r\n") +
                           e.what());
        }
    }
    AdvanceSheetNumber(number);
    RecordSheet(sheet, withAnswers, printer.Destination());
}

void TForm1::RecordSheet(const TMadeSheet& sheet, bool withAnswers, const std::string& destination)
{
    // The settings that made the problems, with the sentence and the grid
    // the sheet was drawn with.
    TWorksheetSettings settings = previewSettings_;
    settings.QstSentence = QstSentence->text().toStdString();
    settings.Waku = rgWaku->ItemIndex();
    HistoryLog().Record(this, {HistorySheetOf(sheet, settings, withAnswers, destination)});
}

void TForm1::PaintSheetsOn(QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer)) throw EPrinter("選択したプリンタは有効ではありません");
    TQtCanvas canvas(painter);
    MakePrint(canvas, printer.width(), printer.height());
    printer.newPage();
    const TAnswersShown answers(true);
    MakePrint(canvas, printer.width(), printer.height());
}

void TForm1::btnPrintClick()
{
    PrintSheets(false);
}

void TForm1::btnPrintWithAnsClick()
{
    PrintSheets(true);
}

void TForm1::btnMaintenanceClick()
{
    Printer().Setup(this);
}
