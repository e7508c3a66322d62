// Printing where there is nothing to print on: a scheduler without any
// destination (CUPS_SERVER), and then no reachable scheduler at all.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cups/cups.h>

#include <memory>

#include "app/fmain.h"
#include "cups_queue.h"
#include "window_fixture.h"
#include "test_main.h"
#include "worksheet/problems.h"

class NoPrinterTest : public QObject {
    Q_OBJECT

    TPrintingWindowFixture window;
    std::unique_ptr<TForm1>& form = window.Form;
    TRecordingDialogs& dialogs = window.Dialogs;

    QLineEdit* PrnNum() { return static_cast<QLineEdit*>(form->Control("PrnNum")); }

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
        ProblemTable[1] = {7, 8, "7", "8"};
        QuestionCount = 4;
    }
    void cleanup() { window.Close(); }

    void printTellsThereIsNoDefaultPrinter_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("print") << "btnPrint";
        QTest::newRow("print with answers") << "btnPrintWithAns";
        QTest::newRow("print setup") << "btnMaintenance";
    }

    void printTellsThereIsNoDefaultPrinter()
    {
        QFETCH(QString, button);
        PrnNum()->setText("7");
        auto* b = static_cast<QPushButton*>(form->Control(button.toStdString()));
        b->setEnabled(true);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QCOMPARE(dialogs.Boxes[0].Text, QStringLiteral("デフォルト プリンタが存在しません."));
        QCOMPARE(dialogs.Boxes[0].Caption, ApplicationTitle());
        QCOMPARE(PrnNum()->text(), QStringLiteral("7"));
        QCOMPARE(dialogs.PrinterSetups, 0);
        QVERIFY(QueuedJobs().empty());
    }

    void unreachableSchedulerIsASystemError()
    {
        cupsSetServer("/nonexistent/tavelin-test.sock");
        form->btnPrint->setEnabled(true);
        QTest::mouseClick(form->btnPrint, Qt::LeftButton);
        cupsSetServer(nullptr);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QVERIFY2(dialogs.Boxes[0].Text.startsWith(QStringLiteral("システムエラー。コード：")),
                 qPrintable(dialogs.Boxes[0].Text));
        QVERIFY(dialogs.Boxes[0].Text.contains(QStringLiteral(".\r\n")));
        QCOMPARE(PrnNum()->text(), QStringLiteral("1"));
    }
};

TAVELIN_TEST_MAIN(NoPrinterTest)
#include "no_printer_test.moc"
