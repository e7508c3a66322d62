// The commands behind the buttons and the repaint of the preview box.
#include <QLineEdit>
#include <QPushButton>

#include <optional>

#include "app/controls.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/printer.h"
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

// ShowAnswers is 1 for the span of one drawing, and 0 again however it ends.
class TAnswersShown {
public:
    TAnswersShown() { ShowAnswers = 1; }
    ~TAnswersShown() { ShowAnswers = 0; }
    TAnswersShown(const TAnswersShown&) = delete;
    TAnswersShown& operator=(const TAnswersShown&) = delete;
};

}  // namespace

void TForm1::ShowShortfallWarning()
{
    Dialogs().Beep();
    Dialogs().MessageBox(this, QStringLiteral("警告"), QStringLiteral("今の条件では、指定された問題数が確保できません。"),
                         TDialogs::TIcon::Warning);
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

    if (QuestionCount > 3) {
        {
            const TAnswersShown answers;
            drawingPreview_ = true;
            struct TReset {
                bool& flag;
                ~TReset() { flag = false; }
            } reset{drawingPreview_};
            PaintBox1->RepaintNow();
        }
        PreviewReady = 1;
        btnPrint->setEnabled(true);
        btnPrintWithAns->setEnabled(true);
    }
}

void TForm1::PaintBox1Paint(TCanvas& canvas)
{
    if (drawingPreview_) {
        MakePrint(canvas, kPreviewWidth, kPreviewHeight);
    } else if (PreviewReady == 1 && QuestionCount > 0) {
        const TAnswersShown answers;
        MakePrint(canvas, kPreviewWidth, kPreviewHeight);
    }
}

void TForm1::PrintOneSheet(TPrinter& printer, int32_t W, int32_t H, bool answers)
{
    printer.SetTitle(kJobTitle);
    printer.BeginDoc();
    try {
        std::optional<TAnswersShown> shown;
        if (answers) shown.emplace();
        MakePrint(printer.Canvas(), W, H);
        printer.EndDoc();
    } catch (...) {
        // Nothing of a page that failed is printed, and the next command finds
        // no job open.
        printer.Abort();
        throw;
    }
}

void TForm1::PrintSheets(bool withAnswers)
{
    PrintNumber = ConvertText(PrnNum);
    TPrinter& printer = Printer();
    printer.SetPortrait();
    const int32_t H = printer.PageHeight();
    const int32_t W = printer.PageWidth();
    PrintOneSheet(printer, W, H, false);
    if (withAnswers) PrintOneSheet(printer, W, H, true);
    // The sheet number wraps from 2147483647 to -2147483648.
    PrintNumber = static_cast<int32_t>(static_cast<uint32_t>(PrintNumber) + 1u);
    PrnNum->setText(QString::number(PrintNumber));
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
