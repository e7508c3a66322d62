// Printing where the print service fails, for real: a private CUPS scheduler
// (CUPS_SERVER) whose printers are deleted or reject jobs and which is
// stopped at the end, sockets that do not answer, and printing into a file.
// Every case ends in a sheet or a message, with the sheet number advanced
// only for a sheet that was accepted.
#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cups/cups.h>

#include <memory>

#include "app/controls.h"
#include "app/fmain.h"
#include "app/printer.h"
#include "app/qt_printer.h"
#include "cups_queue.h"
#include "window_fixture.h"
#include "socket_stubs.h"
#include "test_main.h"
#include "worksheet/problems.h"

namespace {

// Paint events of a widget, and how many came while a print was under way.
class TPaintWatch : public QObject {
public:
    int WhilePrinting = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && Printer().Printing()) ++WhilePrinting;
        return false;
    }
};

}  // namespace

class PrintFailuresTest : public QObject {
    Q_OBJECT

    TPrintingWindowFixture window;
    std::unique_ptr<TForm1>& form = window.Form;
    std::unique_ptr<TQtPrinter>& printer = window.Printer;
    TRecordingDialogs& dialogs = window.Dialogs;
    size_t jobsBefore = 0;

    QLineEdit* PrnNum() { return static_cast<QLineEdit*>(form->Control("PrnNum")); }

    void Click(QPushButton* button)
    {
        button->setEnabled(true);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Chooses a printer as the setup dialog would.
    void Choose(const QString& name)
    {
        dialogs.AnswerPrinterSetup = [name](QPrinter& p) {
            p.setPrinterName(name);
            return true;
        };
        Click(form->btnMaintenance);
        dialogs.AnswerPrinterSetup = nullptr;
        QCOMPARE(printer->Selected()->printerName(), name);
    }

    QString OnlyBox()
    {
        return dialogs.Boxes.size() == 1 ? dialogs.Boxes[0].Text : QStringLiteral("(%1 boxes)").arg(dialogs.Boxes.size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("CUPS_SERVER"), "run through ctest: it starts the scheduler");
        qputenv("TAVELIN_PRINT_TIMEOUT", "1");
        window.InstallSeams();
    }
    void cleanupTestCase() { window.RemoveSeams(); }

    void init()
    {
        QVERIFY(window.Open(false));
        form->ShowSheet(KnownSheet());
        PrnNum()->setText("7");
        jobsBefore = QueuedJobs().size();
    }
    void cleanup()
    {
        cupsSetServer(nullptr);
        window.Close();
    }

    void refusedJobsAreToldAndNotCounted_data()
    {
        QTest::addColumn<QString>("queue");
        QTest::addColumn<bool>("deleteIt");
        QTest::addColumn<QString>("message");
        QTest::newRow("queue deleted while the program runs")
            << "TavelinGone" << true << "プリンタ「TavelinGone」が見つかりません。削除されたか、名前が変わった可能性があります。";
        QTest::newRow("queue rejects jobs")
            << "TavelinRefuses" << false << "プリンタ「TavelinRefuses」は今、印刷を受け付けていません。";
    }

    void refusedJobsAreToldAndNotCounted()
    {
        QFETCH(QString, queue);
        QFETCH(bool, deleteIt);
        QFETCH(QString, message);
        if (deleteIt) {
            // A queue like the default one, chosen, then deleted.
            const QString uri = RunCupsCommand("lpstat", {"-v", "TavelinPDF"}).section(": ", 1).trimmed();
            RunCupsCommand("lpadmin", {"-p", queue, "-E", "-v", uri, "-P", "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"});
        }
        Choose(queue);
        if (deleteIt) RunCupsCommand("lpadmin", {"-x", queue});
        for (QPushButton* button : {form->btnPrint, form->btnPrintWithAns}) {
            dialogs.Clear();
            Click(button);
            QVERIFY2(OnlyBox().startsWith(message), qPrintable(OnlyBox()));
            QVERIFY(OnlyBox().endsWith(QStringLiteral("プリントは印刷されていません。")));
            QCOMPARE(PrnNum()->text(), QStringLiteral("7"));
            QVERIFY(!printer->Printing());
        }
        if (deleteIt) {
            // The print preview refuses it as printing does.
            dialogs.Clear();
            form->Action("actPrintPreview")->setEnabled(true);
            form->Action("actPrintPreview")->trigger();
            QVERIFY2(OnlyBox().startsWith(message), qPrintable(OnlyBox()));
            QCOMPARE(dialogs.Previews, 0);
        }
        QCOMPARE(QueuedJobs().size(), jobsBefore);
    }

    void schedulersThatDoNotAnswerAreSystemErrors_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("printerChosenFirst");
        QTest::newRow("no socket, no printer yet") << ENOENT << false;
        QTest::newRow("no socket, printer chosen") << ENOENT << true;
        QTest::newRow("nobody listens") << ECONNREFUSED << true;
        QTest::newRow("never answers, no printer yet") << ETIMEDOUT << false;
        QTest::newRow("never answers, printer chosen") << ETIMEDOUT << true;
    }

    void schedulersThatDoNotAnswerAreSystemErrors()
    {
        QFETCH(int, code);
        QFETCH(bool, printerChosenFirst);
        if (printerChosenFirst) Printer().SetPortrait();
        const TSilentListener silent;
        const TStaleSocket stale;
        const std::string path = code == ETIMEDOUT ? silent.Path() : code == ECONNREFUSED ? stale.Path() : "/tmp/tavelin-none.sock";
        cupsSetServer(path.c_str());
        QElapsedTimer timer;
        timer.start();
        Click(form->btnPrintWithAns);
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY2(OnlyBox().startsWith(QStringLiteral("システムエラー。コード：%1.\r\n").arg(code)), qPrintable(OnlyBox()));
        QVERIFY(OnlyBox().contains(QString::fromStdString(path)));
        QVERIFY(!OnlyBox().contains(QStringLiteral("Success")));
        QCOMPARE(PrnNum()->text(), QStringLiteral("7"));
        dialogs.Clear();
        Click(form->btnMaintenance);
        QVERIFY2(OnlyBox().startsWith(QStringLiteral("システムエラー。コード：%1.").arg(code)), qPrintable(OnlyBox()));
        QCOMPARE(dialogs.PrinterSetups, 0);
    }

    // A print service whose answers come in two parts, the header at once and
    // the body later: every print that printed is counted.
    void answersInTwoPartsArePrintedAndCounted_data()
    {
        QTest::addColumn<int>("delayMs");
        QTest::newRow("0.3 s") << 300;
        QTest::newRow("0.7 s") << 700;
    }

    void answersInTwoPartsArePrintedAndCounted()
    {
        QFETCH(int, delayMs);
        const TSplittingRelay relay(qEnvironmentVariable("CUPS_SERVER").toStdString(), std::chrono::milliseconds(delayMs));
        cupsSetServer(relay.Path().c_str());
        // The default printer is asked for first, through the relay too.
        Click(form->btnPrint);
        Click(form->btnPrintWithAns);
        window.WideSettings();
        dialogs.ClassSetAnswer = TClassSetRequest{3, true, TAnswerOrder::Each, TPaper::A4, false};
        form->Action("actClassSet")->setEnabled(true);
        form->Action("actClassSet")->trigger();
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QVERIFY2(dialogs.Boxes[0].Text.startsWith(QStringLiteral("3枚のプリントを作りました（No.9～No.11、乱数のもと ")), qPrintable(OnlyBox()));
        QCOMPARE(PrnNum()->text(), QStringLiteral("12"));
        QCOMPARE(QueuedJobs().size(), jobsBefore + 4);
    }

    void windowPaintsRefusesASecondPrintAndClosesWhileAJobHangs()
    {
        Printer().SetPortrait();
        const TSilentListener silent;
        cupsSetServer(silent.Path().c_str());
        TPaintWatch paints;
        form->PaintBox1->installEventFilter(&paints);
        bool closed = false;
        QString titleMeanwhile;
        bool busyPointer = false;
        QTimer::singleShot(100, form.get(), [&] {
            form->PaintBox1->update();
            titleMeanwhile = form->windowTitle();
            busyPointer = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor;
        });
        QTimer::singleShot(200, form.get(), [&] { QTest::mouseClick(form->btnPrint, Qt::LeftButton); });
        QTimer::singleShot(300, form.get(), [&] { closed = form->close(); });
        Click(form->btnPrint);
        QVERIFY(paints.WhilePrinting > 0);
        // A sign that printing is under way, gone when the job ends.
        QCOMPARE(titleMeanwhile, QStringLiteral("Tavelin - 印刷中…"));
        QVERIFY(busyPointer);
        QCOMPARE(form->windowTitle(), QStringLiteral("Tavelin"));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(closed);
        QVERIFY(!form->isVisible());
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 2);
        QCOMPARE(dialogs.Boxes[0].Text, QStringLiteral("現在印刷中です."));
        QVERIFY2(dialogs.Boxes[1].Text.startsWith(QStringLiteral("システムエラー。コード：%1.").arg(ETIMEDOUT)),
                 qPrintable(dialogs.Boxes[1].Text));
        QCOMPARE(PrnNum()->text(), QStringLiteral("7"));
    }

    void printingIntoAFileKeepsBothSheetsAndAsksBeforeReplacing()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("かけ算.pdf");
        dialogs.AnswerPrinterSetup = [path](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(path);
            return true;
        };
        Click(form->btnMaintenance);
        Click(form->btnPrintWithAns);
        QVERIFY2(dialogs.Boxes.empty(), qPrintable(OnlyBox()));
        QVERIFY(dialogs.Questions.empty());
        QCOMPARE(PrnNum()->text(), QStringLiteral("8"));
        QCOMPARE(PdfPageCount(path), 2);
        QVERIFY(PdfWords(path, 1).contains("問題No.7"));
        QVERIFY(!PdfWords(path, 1).contains("41472"));
        QVERIFY(PdfWords(path, 2).contains("41472"));

        // Kept when the user says no; replaced when the user agrees.
        dialogs.ConfirmAnswer = false;
        Click(form->btnPrint);
        QCOMPARE(static_cast<int>(dialogs.Questions.size()), 1);
        QVERIFY(dialogs.Questions[0].contains(path));
        QVERIFY(dialogs.Boxes.empty());
        QCOMPARE(PrnNum()->text(), QStringLiteral("8"));
        QCOMPARE(PdfPageCount(path), 2);
        dialogs.ConfirmAnswer = true;
        Click(form->btnPrint);
        QCOMPARE(PrnNum()->text(), QStringLiteral("9"));
        QCOMPARE(PdfPageCount(path), 1);
        QVERIFY(PdfWords(path).contains("問題No.8"));
        QCOMPARE(QueuedJobs().size(), jobsBefore);
    }

    // Last: it stops this test's scheduler.
    void stoppedSchedulerIsASystemError()
    {
        Click(form->btnPrint);
        QVERIFY2(dialogs.Boxes.empty(), qPrintable(OnlyBox()));
        QCOMPARE(PrnNum()->text(), QStringLiteral("8"));
        RunCupsCommand(qEnvironmentVariable("TAVELIN_CUPS_SCRIPT"), {"stop", qEnvironmentVariable("TAVELIN_CUPS_DIR")});
        Click(form->btnPrintWithAns);
        QVERIFY2(OnlyBox().contains(QRegularExpression("^システムエラー。コード：(2|111)\\.\r\n")), qPrintable(OnlyBox()));
        QCOMPARE(PrnNum()->text(), QStringLiteral("8"));
    }
};

TAVELIN_TEST_MAIN(PrintFailuresTest)
#include "print_failures_test.moc"
