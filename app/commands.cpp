// The commands behind the buttons, the repaint of the preview box, and the
// sheet the window shows.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>

#include <string>

#include "app/controls.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/history_log.h"
#include "app/printer.h"
#include "app/printer_output.h"
#include "errors/errors.h"
#include "render/large_cell_page.h"
#include "render/paper_size.h"
#include "render/qt_canvas.h"
#include "render/reference_page.h"
#include "sheets/class_set.h"
#include "sheets/sheet_recorder.h"
#include "worksheet/lcg.h"
#include "worksheet/operations.h"

void TForm1::ShowShortfallWarning()
{
    Dialogs().Beep();
    Dialogs().MessageBox(this, QStringLiteral("警告"), QString::fromUtf8(kShortfallMessage), TDialogs::TIcon::Warning);
}

void TForm1::btnPreviewClick()
{
    PreviewWithSeed(TakeSeed());
}

uint64_t TForm1::TakeSeed()
{
    const uint64_t seed = nextSeed_.value_or(FreshSeed());
    nextSeed_.reset();
    return seed;
}

void TForm1::ShowSheet(const TSheet& sheet)
{
    shown_.Show(sheet);
    PaintBox1->RepaintNow();
    SetPrintingEnabled(true);
    StatusLine->setText(QString::fromStdString(PreviewNote(sheet)));
}

void TForm1::SeedClick()
{
    QString typed = nextSeed_ ? QString::number(*nextSeed_) : QString();
    if (!Dialogs().AskText(this, QStringLiteral("乱数のもとを指定"),
                           QStringLiteral("乱数のもと（ページやコマンドラインで作ったプリントの番号のとなりにある数。空なら毎回ちがう問題）："),
                           typed))
        return;
    const std::string text = typed.toStdString();
    if (text.find_first_not_of(" \t") == std::string::npos) {
        nextSeed_.reset();
        StatusLine->clear();
        return;
    }
    nextSeed_ = ReadSeed(text);
    StatusLine->setText(QStringLiteral("次に作るプリント（プレビュー、診断プリント、まとめて作成）の乱数のもと：%1").arg(*nextSeed_));
}

void TForm1::PreviewWithSeed(uint64_t seed)
{
    TPreview preview;
    try {
        preview = shown_.Preview(Settings(), seed, PaperName(pdfPaper_));
    } catch (const ELayoutDoesNotFit& e) {
        // 大きなマス that do not fit the paper: said with what would, and nothing drawn.
        ClearPreview();
        Dialogs().Beep();
        Dialogs().MessageBox(this, QStringLiteral("警告"), QString::fromStdString(WithFinalPeriod(e.what())),
                             TDialogs::TIcon::Warning);
        return;
    }
    if (preview.Short) ShowShortfallWarning();
    if (!preview.Printable) {
        // Too few problems for a sheet: the box no longer shows a sheet.
        ClearPreview();
        return;
    }
    {
        drawingPreview_ = true;
        struct TReset {
            bool& flag;
            ~TReset() { flag = false; }
        } reset{drawingPreview_};
        PaintBox1->RepaintNow();
    }
    SetPrintingEnabled(true);
    StatusLine->setText(QString::fromStdString(PreviewNote(*shown_.Shown())));
}

void TForm1::PaintBox1Paint(TCanvas& canvas)
{
    // Every operation through the one page routine, with its answers.
    if (drawingPreview_ || shown_.Ready())
        DrawSheetPage(canvas, kReferenceWidth, kReferenceHeight, PageView(), shown_.Sheet(Settings()), true);
}

void TForm1::ClearPreview()
{
    shown_.Forget();
    StatusLine->clear();
    SetPrintingEnabled(false);
    PaintBox1->update();
}

void TForm1::ShowPrinting(bool printing)
{
    ShowBusy(printing ? QStringLiteral("印刷中…") : QString());
}

void TForm1::ShowBusy(const QString& words)
{
    if (!words.isEmpty()) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        setWindowTitle(QStringLiteral("Tavelin - ") + words);
        // Seen at once, before the wait.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
        QApplication::restoreOverrideCursor();
        setWindowTitle(QStringLiteral("Tavelin"));
    }
}

void TForm1::RefuseWhilePrinting() const
{
    if (Printer().Printing()) throw EPrinter("現在印刷中です");
}

void TForm1::AdvanceSheetNumber(int32_t printed, const QString& boxText)
{
    if (PrnNum->text() != boxText) return;
    PrnNum->setText(QString::number(shown_.Advance(printed)));
    PaintBox1->update();
}

TSheet TForm1::SheetToMake()
{
    return shown_.SheetToMake(PrnNum->text().toStdString(), Settings());
}

void TForm1::PrintSheets(bool withAnswers)
{
    const QString box = PrnNum->text();
    // The job carries this value: nothing done while it goes out (a
    // Preview, a new sentence) changes what it prints or records.
    const TSheet sheet = SheetToMake();
    const int32_t number = sheet.Number;
    TPrinter& printer = Printer();
    const TPrintArea area = AskBeforeJob(this, printer);
    // A file keeps both sheets as the pages of one document.
    const bool oneJob = printer.OutputIsFile();

    TPrinterOutput problems(printer, area);
    if (!withAnswers || oneJob) {
        DeliverSheets({sheet}, withAnswers ? TAnswerOrder::After : TAnswerOrder::None, problems, HistoryLog());
    } else {
        // Recorded with its answers before the problem sheet goes out; taken
        // back if it does not, and recorded without them if only the answer
        // sheet does not.
        std::vector<int64_t> recorded;
        try {
            PutOutPage(sheet, false, problems,
                       [&] { recorded = HistoryLog().Record({sheet}, true, printer.Destination()); });
        } catch (...) {
            HistoryLog().Forget(recorded);
            throw;
        }
        try {
            TPrinterOutput answers(printer, area);
            PutOutPage(sheet, true, answers);
        } catch (const std::exception& e) {
            // The problem sheet is in the tray: its number is used up.
            HistoryLog().Forget(recorded);
            try {
                HistoryLog().Record({sheet}, false, printer.Destination());
            } catch (const ERecordFailed&) {
                // The problem sheet is out whatever the history says.
            }
            AdvanceSheetNumber(number, box);
            throw EPrinter("問題のプリントは印刷しましたが、答えのプリントは印刷できませんでした。\r\n" + ReasonOf(e));
        }
    }
    AdvanceSheetNumber(number, box);
}

void TForm1::PaintSheetsOn(QPrinter& printer, const TSheet& sheet)
{
    QPainter painter;
    if (!painter.begin(&printer)) throw EPrinter("選択したプリンタは有効ではありません");
    TQtCanvas canvas(painter);
    TPageView view = PageViewOf(sheet.Settings);
    // 大きなマス in millimetres of the printer's paper.
    view.DotsPerMm = printer.resolution() / 25.4;
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    view.MarginMm = std::max(0.0, kSheetMarginMm - std::max(paint.left(), paint.top()));
    DrawSheetPage(canvas, printer.width(), printer.height(), view, sheet, false);
    canvas.FlushLines();
    printer.newPage();
    DrawSheetPage(canvas, printer.width(), printer.height(), view, sheet, true);
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
