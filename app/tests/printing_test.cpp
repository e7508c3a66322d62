// Printing for real: a private CUPS scheduler with a cups-pdf printer as the
// default destination (CUPS_SERVER), the PDFs it writes read back.
#include <QApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <cmath>

#include <memory>

#include "errors/errors.h"
#include "app/fmain.h"
#include "app/printer.h"
#include "app/qt_printer.h"
#include "cups_queue.h"
#include "app/controls.h"
#include "window_fixture.h"
#include "render/page_layout.h"
#include "render/qt_canvas.h"
#include "render/recorded_page.h"
#include "test_main.h"
#include "worksheet/problems.h"

namespace {

bool HasAll(const QStringList& words, const QStringList& wanted)
{
    return std::all_of(wanted.begin(), wanted.end(), [&](const QString& w) { return words.contains(w); });
}

bool HasNone(const QStringList& words, const QStringList& unwanted)
{
    return std::none_of(unwanted.begin(), unwanted.end(), [&](const QString& w) { return words.contains(w); });
}

TQtPrinter& QtPrinter()
{
    return dynamic_cast<TQtPrinter&>(Printer());
}

// The page layout of the selected printer, selecting the default one first.
QPageLayout SelectedLayout()
{
    Printer().PageWidth();
    return QtPrinter().Selected()->pageLayout();
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

    TPrintingWindowFixture window;
    std::unique_ptr<TForm1>& form = window.Form;
    TRecordingDialogs& dialogs = window.Dialogs;
    size_t jobsBefore = 0;

    QLineEdit* PrnNum() { return static_cast<QLineEdit*>(form->Control("PrnNum")); }

    void Click(QPushButton* button)
    {
        button->setEnabled(true);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // The PDFs of the jobs this test made, after they have all completed.
    QStringList NewPdfs(size_t count)
    {
        const std::vector<TQueuedJob> jobs = WaitForCompletedJobs(jobsBefore + count);
        if (jobs.size() != jobsBefore + count) return {};
        QStringList pdfs;
        for (size_t i = jobsBefore; i < jobs.size(); ++i) {
            if (jobs[i].Title != QStringLiteral("Tavelin")) return {};
            pdfs << PdfOfJob(jobs[i].Id);
        }
        return pdfs;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("CUPS_SERVER"), "run through ctest: it starts the scheduler");
        window.InstallSeams();
    }
    void cleanupTestCase() { window.RemoveSeams(); }

    void init()
    {
        QVERIFY(window.Open(false));
        form->ShowSheet(KnownSheet());
        jobsBefore = QueuedJobs().size();
    }
    void cleanup() { window.Close(); }

    void printMakesOneProblemSheet()
    {
        PrnNum()->setText("7");
        Click(form->btnPrint);
        QVERIFY(dialogs.Boxes.empty());
        QCOMPARE(PrnNum()->text(), QStringLiteral("8"));
        const QStringList pdfs = NewPdfs(1);
        QCOMPARE(pdfs.size(), 1);
        const QSizeF page = PdfPageSize(pdfs[0]);
        QVERIFY2(page.width() > 0 && page.width() < page.height(), "portrait");
        const QStringList words = PdfWords(pdfs[0]);
        QVERIFY2(words.contains("問題No.7"), qPrintable(words.join(' ')));
        QVERIFY(words.contains("かけ算"));
        QVERIFY(HasAll(words, kProblemWords));
        QVERIFY(HasNone(words, kAnswerWords));
    }

    void printWithAnswersMakesTwoJobs()
    {
        PrnNum()->setText("7");
        Click(form->btnPrintWithAns);
        QVERIFY(dialogs.Boxes.empty());
        QCOMPARE(PrnNum()->text(), QStringLiteral("8"));
        const QStringList pdfs = NewPdfs(2);
        QCOMPARE(pdfs.size(), 2);
        const QStringList problems = PdfWords(pdfs[0]), answers = PdfWords(pdfs[1]);
        QVERIFY(problems.contains("問題No.7"));
        QVERIFY(answers.contains("問題No.7"));
        QVERIFY(HasAll(problems, kProblemWords));
        QVERIFY(HasNone(problems, kAnswerWords));
        QVERIFY2(HasAll(answers, kProblemWords), qPrintable(answers.join(' ')));
        QVERIFY2(HasAll(answers, kAnswerWords), qPrintable(answers.join(' ')));
        QCOMPARE(ShowAnswers, 0);
    }

    // 大きなマス on paper: a printed page's cells are as many millimetres as
    // asked, whatever the printer's resolution.
    void largeCellsHoldOnPaper()
    {
        window.WideSettings();
        form->SetLayout(12);
        form->SetProblemCount(6);
        form->btnPreviewClick();
        QVERIFY2(dialogs.Boxes.empty(), qPrintable(dialogs.Boxes.empty() ? QString() : dialogs.Boxes[0].Text));
        Click(form->btnPrintWithAns);
        QVERIFY(dialogs.Boxes.empty());
        const QStringList pdfs = NewPdfs(2);
        QCOMPARE(pdfs.size(), 2);
        const std::vector<TPdfWord> words = PdfWordBoxes(pdfs[1], 1);
        // Two digits side by side in one number: their centres a cell apart.
        double pitch = 0;
        for (const TPdfWord& a : words)
            for (const TPdfWord& b : words)
                if (a.Text.size() == 1 && b.Text.size() == 1 && a.Text[0].isDigit() && b.Text[0].isDigit() &&
                    std::abs(a.Top - b.Top) < 0.5 && b.Left > a.Left && (b.Left - a.Left) < 50 && a.Top > 90)
                    pitch = pitch == 0 ? b.Left - a.Left : std::min(pitch, b.Left - a.Left);
        QVERIFY2(std::abs(pitch * 25.4 / 72 - 12) <= 0.2, qPrintable(QString::number(pitch * 25.4 / 72)));
    }

    void landscapeChosenInSetupStillPrintsPortrait()
    {
        dialogs.AnswerPrinterSetup = [](QPrinter& printer) {
            printer.setPageOrientation(QPageLayout::Landscape);
            return true;
        };
        QTest::mouseClick(form->btnMaintenance, Qt::LeftButton);
        QCOMPARE(dialogs.PrinterSetups, 1);
        QVERIFY(dialogs.Boxes.empty());
        QCOMPARE(SelectedLayout().orientation(), QPageLayout::Landscape);
        Click(form->btnPrint);
        const QStringList pdfs = NewPdfs(1);
        QCOMPARE(pdfs.size(), 1);
        const QSizeF page = PdfPageSize(pdfs[0]);
        QVERIFY2(page.width() > 0 && page.width() < page.height(), "portrait");
    }

    void paperChosenInSetupStays()
    {
        dialogs.AnswerPrinterSetup = [](QPrinter& printer) {
            printer.setPageSize(QPageSize(QPageSize::A5));
            return true;
        };
        QTest::mouseClick(form->btnMaintenance, Qt::LeftButton);
        Click(form->btnPrint);
        const QStringList pdfs = NewPdfs(1);
        QCOMPARE(pdfs.size(), 1);
        const QSizeF page = PdfPageSize(pdfs[0]);
        QVERIFY2(qAbs(page.width() - 420) < 3 && qAbs(page.height() - 595) < 3,
                 qPrintable(QStringLiteral("%1 x %2").arg(page.width()).arg(page.height())));
        // Back to A4 for the tests after this one.
        dialogs.AnswerPrinterSetup = [](QPrinter& printer) {
            printer.setPageSize(QPageSize(QPageSize::A4));
            return true;
        };
        QTest::mouseClick(form->btnMaintenance, Qt::LeftButton);
    }

    void cancelInSetupChangesNothing()
    {
        const QPageLayout layout = SelectedLayout();
        QPrinter* before = QtPrinter().Selected();
        dialogs.AnswerPrinterSetup = [](QPrinter& printer) {
            printer.setPageSize(QPageSize(QPageSize::Letter));
            printer.setPageOrientation(QPageLayout::Landscape);
            return false;
        };
        QTest::mouseClick(form->btnMaintenance, Qt::LeftButton);
        QVERIFY(dialogs.Boxes.empty());
        QCOMPARE(dialogs.PrinterSetups, 1);
        QCOMPARE(QtPrinter().Selected(), before);
        QVERIFY(SelectedLayout().isEquivalentTo(layout));
    }

    void sheetNumberWrapsAndReadsHexadecimal_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("after");
        QTest::newRow("wraps") << "2147483647" << "問題No.2147483647" << "-2147483648";
        QTest::newRow("hexadecimal") << "$10" << "問題No.16" << "17";
    }

    void sheetNumberWrapsAndReadsHexadecimal()
    {
        QFETCH(QString, typed);
        QFETCH(QString, printed);
        QFETCH(QString, after);
        PrnNum()->setText(typed);
        Click(form->btnPrint);
        QVERIFY(dialogs.Boxes.empty());
        QCOMPARE(PrnNum()->text(), after);
        const QStringList pdfs = NewPdfs(1);
        QCOMPARE(pdfs.size(), 1);
        QVERIFY(PdfWords(pdfs[0]).contains(printed));
    }

    void gridLinesReachThePaper()
    {
        // The length of the grid's lines on the sheet, from the page as the
        // printer measures it, in pixels at 100 dpi.
        TPrinter& printer = Printer();
        printer.SetPortrait();
        QPrinter& device = *QtPrinter().Selected();
        TQtCanvas measurer(static_cast<QPaintDevice&>(device));
        TRecordedPage page([&](const TFont& font, const std::string& text) {
            measurer.Font = font;
            return measurer.TextWidth(text);
        });
        PrintNumber = 1;
        MakePrint(page, printer.PageWidth(), printer.PageHeight(), form->PageView());
        double dots = 0;
        for (const TCanvasOp& op : page.Ops()) {
            if (op.Pen.Style != psDot) continue;
            if (op.Kind == TCanvasOp::LineOp) dots += std::abs(op.X2 - op.X1) + std::abs(op.Y2 - op.Y1);
            if (op.Kind == TCanvasOp::RectOp) dots += 2.0 * ((op.X2 - op.X1) + (op.Y2 - op.Y1));
        }
        const double gridPixels = dots * 100 / device.resolution();
        QVERIFY(gridPixels > 500);

        Click(form->btnPrint);
        form->rgWaku->SetItemIndex(1);
        Click(form->btnPrint);
        const QStringList pdfs = NewPdfs(2);
        QCOMPARE(pdfs.size(), 2);
        const int withGrid = PdfDarkPixels(pdfs[0], 100), without = PdfDarkPixels(pdfs[1], 100);
        QVERIFY2(withGrid - without > 0.6 * gridPixels,
                 qPrintable(QStringLiteral("%1 dark pixels with the grid, %2 without, %3 of grid expected")
                                .arg(withGrid).arg(without).arg(gridPixels)));
    }

    void oneJobAtATimeAndAbortPrintsNothing()
    {
        TPrinter& printer = Printer();
        printer.SetPortrait();
        QVERIFY(printer.PageWidth() > 0);
        QVERIFY(printer.PageWidth() < printer.PageHeight());
        printer.SetTitle("Tavelin");
        printer.BeginDoc();
        QVERIFY(printer.Printing());
        try {
            printer.BeginDoc();
            QFAIL("a second job began");
        } catch (const EPrinter& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("現在印刷中です"));
        }
        QVERIFY_THROWS_EXCEPTION(EPrinter, printer.SetPortrait());
        printer.Canvas().TextOut(100, 100, "ABORTED");
        printer.Abort();
        QVERIFY(!printer.Printing());

        printer.BeginDoc();
        printer.Canvas().Font.Name = "ＭＳ 明朝";
        printer.Canvas().Font.Height = 100;
        printer.Canvas().Brush.Style = bsClear;
        printer.Canvas().TextOut(100, 100, "KEPT");
        printer.EndDoc();
        QVERIFY(!printer.Printing());
        const QStringList pdfs = NewPdfs(1);  // the aborted job never reached the queue
        QCOMPARE(pdfs.size(), 1);
        QCOMPARE(PdfWords(pdfs[0]), QStringList{"KEPT"});
    }
};

TAVELIN_TEST_MAIN(PrintingTest)
#include "printing_test.moc"
