#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <set>

#include "app/controls.h"
#include "app/class_set_dialog.h"
#include "app/fmain.h"
#include "app/history_log.h"
#include "fake_printer.h"
#include "sheets/settings_file.h"
#include "window_fixture.h"
#include "render/page_layout.h"
#include "render/qt_canvas.h"
#include "test_main.h"
#include "worksheet/operations.h"
#include "worksheet/problems.h"
#include "worksheet/text_to_int.h"

namespace {

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        Paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Every text a page drew.
std::multiset<std::string> TextsOf(const TRecordingCanvas& page)
{
    std::multiset<std::string> texts;
    for (const TCanvasOp& t : page.OfKind(TCanvasOp::TextOp)) texts.insert(t.Text);
    return texts;
}

const char* const kDigitBoxes[] = {"u1l", "u1h", "u2l", "u2h", "u3l", "u3h", "u4l", "u4h",
                                   "d1l", "d1h", "d2l", "d2h", "d3l", "d3h", "d4l", "d4h"};

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

    TWindowFixture window;
    std::unique_ptr<TForm1>& form = window.Form;
    std::unique_ptr<TFakePrinter>& printer = window.Printer;
    TRecordingDialogs& dialogs = window.Dialogs;

    QLineEdit* Edit(const char* name) { return static_cast<QLineEdit*>(form->Control(name)); }

    // Ranges as two-character "lh" texts, ones first, for both rows.
    void SetDigits(const QStringList& multiplicand, const QStringList& multiplier)
    {
        for (int place = 0; place < 4; ++place) {
            const QString u = multiplicand.value(place, "00"), d = multiplier.value(place, "00");
            Edit(kDigitBoxes[place * 2])->setText(u.left(1));
            Edit(kDigitBoxes[place * 2 + 1])->setText(u.mid(1, 1));
            Edit(kDigitBoxes[8 + place * 2])->setText(d.left(1));
            Edit(kDigitBoxes[8 + place * 2 + 1])->setText(d.mid(1, 1));
        }
    }

    // Settings with plenty of problems: three digits by two.
    void SetWideSettings()
    {
        SetDigits({"09", "19", "19"}, {"29", "19"});
        Edit("AnsLow")->setText("1");
        Edit("AnsHigh")->setText("999999");
    }

    // What the window shows where the preview box is.
    QImage Shown()
    {
        const QRect box(form->PaintBox1->mapTo(form.get(), QPoint(0, 0)), form->PaintBox1->size());
        return form->grab(box).toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The answer sheet of the table's problems, with the window's number,
    // sentence and grid, as the one page routine draws it on a 320 × 441
    // image over the window's background: MakePrint's page with 「答え」 in
    // its name box.
    QImage Expected()
    {
        QImage image(320, 441, QImage::Format_RGB32);
        image.fill(form->palette().color(QPalette::Window));
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        TSheet sheet;
        sheet.Number = PrintNumber;
        for (int k = 1; k <= QuestionCount; ++k)
            sheet.Problems.push_back(RulesOf(TOperation::Multiplication).Solve(ProblemTable[k].Multiplicand, ProblemTable[k].Multiplier));
        DrawSheetPage(canvas, 320, 441, form->PageView(), sheet, true);
        return image;
    }

    QImage Background()
    {
        QImage image(320, 441, QImage::Format_RGB32);
        image.fill(form->palette().color(QPalette::Window));
        return image;
    }

    void GoodPreview(int pattern = 0)
    {
        SetWideSettings();
        form->QNumPattern->SetItemIndex(pattern);
        form->btnPreviewClick();
        QCOMPARE(QuestionCount, pattern ? 16 : 12);
    }

private slots:
    void initTestCase() { window.InstallSeams(); }
    void cleanupTestCase() { window.RemoveSeams(); }

    void init() { QVERIFY(window.Open()); }

    void cleanup() { window.Close(); }

    void startShowsNothingInTheBox()
    {
        QCOMPARE(Shown(), Background());
        QVERIFY(!form->btnPrint->isEnabled());
    }

    void defaultsEndInTheShortfallAndNoDrawing()
    {
        TPaintCounter counter;
        form->PaintBox1->installEventFilter(&counter);
        form->btnPreviewClick();
        QCOMPARE(QuestionCount, 1);
        QCOMPARE(ProblemTable[1].MultiplicandText, std::string("0"));
        QCOMPARE(dialogs.Beeps, 1);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QCOMPARE(dialogs.Boxes[0].Caption, QStringLiteral("警告"));
        QCOMPARE(dialogs.Boxes[0].Text, QStringLiteral("今の条件では、指定された問題数が確保できません。"));
        QVERIFY(dialogs.Boxes[0].Icon == TDialogs::TIcon::Warning);
        QCOMPARE(dialogs.Boxes[0].Owner, form.get());
        QCOMPARE(counter.Paints, 0);
        QCOMPARE(PreviewReady, 0);
        QVERIFY(!form->btnPrint->isEnabled());
        QVERIFY(!form->btnPrintWithAns->isEnabled());
        QCOMPARE(Shown(), Background());
    }

    void sixteenProblemPreviewShowsThePageWithAnswers()
    {
        TPaintCounter counter;
        form->PaintBox1->installEventFilter(&counter);
        GoodPreview(1);
        QVERIFY(counter.Paints >= 1);
        QVERIFY(dialogs.Boxes.empty());
        QCOMPARE(PreviewReady, 1);
        QCOMPARE(ShowAnswers, 0);
        QVERIFY(form->btnPrint->isEnabled());
        QVERIFY(form->btnPrintWithAns->isEnabled());
        QCOMPARE(Shown(), Expected());
    }

    // The window's sheet is a value with its seed: the status line says it,
    // and the seed given again (乱数のもとを指定) makes the same sheet once.
    void aPreviewSaysItsSeedAndItsSeedMakesItAgain()
    {
        SetWideSettings();
        form->btnPreviewClick();
        const TSheet first = *form->ShownSheet();
        const QString status = static_cast<QLabel*>(form->findChild<QLabel*>("StatusLine"))->text();
        QCOMPARE(status, QStringLiteral("No.1（12問）乱数のもと %1").arg(*first.Seed));
        dialogs.TextTyped = QString::number(*first.Seed);
        form->Action("actSeed")->trigger();
        form->btnPreviewClick();
        QCOMPARE(form->ShownSheet()->Problems, first.Problems);
        form->btnPreviewClick();  // the seed was for one sheet
        QVERIFY(form->ShownSheet()->Seed != first.Seed);
        // A seed that is not one is said, and nothing changes.
        dialogs.TextTyped = QStringLiteral("0x10");
        form->Action("actSeed")->trigger();
        QCOMPARE(dialogs.Boxes.back().Text, QStringLiteral("乱数のもと「0x10」は、0～18446744073709551615 の整数ではありません。"));
    }

    void laterSmallPreviewClearsTheBoxAndDisablesPrinting()
    {
        GoodPreview();
        // Only 1 × 1 and 2 × 1 can be made.
        SetDigits({"12"}, {"11"});
        Edit("AnsLow")->setText("0");
        Edit("AnsHigh")->setText("9");
        form->btnPreviewClick();
        QCOMPARE(QuestionCount, 2);
        QCOMPARE(dialogs.Beeps, 1);
        QCOMPARE(PreviewReady, 0);
        QVERIFY(!form->btnPrint->isEnabled());
        QVERIFY(!form->btnPrintWithAns->isEnabled());
        QCOMPARE(Shown(), Background());
        GoodPreview();
        QVERIFY(form->btnPrint->isEnabled());
    }

    void failedConversionsChangeNothingButTheSheetNumber_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("emptied AnsHigh") << "AnsHigh" << "" << "'' は整数ではありません.";
        QTest::newRow("AnsLow") << "AnsLow" << "1e3" << "'1e3' は整数ではありません.";
        QTest::newRow("blank digit") << "d1l" << " " << "' ' は整数ではありません.";
        QTest::newRow("letter digit") << "u3h" << "a" << "'a' は整数ではありません.";
    }

    void failedConversionsChangeNothingButTheSheetNumber()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        GoodPreview();
        const QImage before = Shown();
        const std::string firstProblem = ProblemTable[1].MultiplicandText;
        Edit("PrnNum")->setText("5");
        form->QNumPattern->SetItemIndex(1);  // asks for 16
        Edit(box.toLatin1().constData())->setText(text);
        TPaintCounter counter;
        form->PaintBox1->installEventFilter(&counter);
        QTest::mouseClick(form->btnPreview, Qt::LeftButton);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QCOMPARE(dialogs.Boxes[0].Text, message);
        QVERIFY(dialogs.Boxes[0].Icon == TDialogs::TIcon::Critical);
        QCOMPARE(dialogs.Boxes[0].Caption, ApplicationTitle());
        QCOMPARE(PrintNumber, 5);
        QCOMPARE(QuestionCount, 12);  // the count of the sheet still shown
        QCOMPARE(ProblemTable[1].MultiplicandText, firstProblem);
        QCOMPARE(counter.Paints, 0);
        QCOMPARE(PreviewReady, 1);
        QVERIFY(form->btnPrint->isEnabled());
        Edit("PrnNum")->setText("1");
        PrintNumber = 1;
        QCOMPARE(Shown(), before);
    }

    void conversionFailureAtTheSheetNumberChangesNothing()
    {
        GoodPreview();
        const std::string firstProblem = ProblemTable[1].MultiplicandText;
        Edit("PrnNum")->setText("1x");
        SetDigits({"99"}, {"99"});
        QVERIFY_THROWS_EXCEPTION(EConvertError, form->btnPreviewClick());
        QCOMPARE(PrintNumber, 1);
        QCOMPARE(QuestionCount, 12);
        QCOMPARE(ProblemTable[1].MultiplicandText, firstProblem);
    }

    void blankDigitBoxGetsZeroBeforePreviewRuns()
    {
        SetWideSettings();
        Edit("u3h")->setFocus(Qt::TabFocusReason);
        Edit("u3h")->clear();
        QTest::mouseClick(form->btnPreview, Qt::LeftButton);
        QCOMPARE(Edit("u3h")->text(), QStringLiteral("0"));
        QVERIFY(dialogs.Boxes.empty());
        QCOMPARE(QuestionCount, 12);
        for (int k = 1; k <= 12; ++k) QVERIFY(ProblemTable[k].Multiplicand < 200);  // hundreds from 0 to 1
    }

    void gridAndSentenceChangeTheRepaintButDigitRangesDoNot()
    {
        GoodPreview();
        const QImage first = Shown();
        SetDigits({"99", "99", "99"}, {"99", "99"});
        QCOMPARE(Shown(), first);
        form->rgWaku->SetItemIndex(1);
        const QImage noGrid = Shown();
        QVERIFY(noGrid != first);
        QCOMPARE(noGrid, Expected());
        Edit("QstSentence")->setText("ていねいに書こう");
        QCOMPARE(Shown(), Expected());
        QVERIFY(Shown() != noGrid);
    }

    void boxRepaintsAtOnceWhenWhatItShowsChanges()
    {
        GoodPreview();
        TPaintCounter counter;
        form->PaintBox1->installEventFilter(&counter);
        const std::function<void()> changes[] = {
            [&] { Edit("QstSentence")->setText("ていねいに書こう"); },
            [&] { form->rgWaku->SetItemIndex(1); },
            [&] { form->btnPrintClick(); },
        };
        for (const auto& change : changes) {
            QCoreApplication::processEvents();
            counter.Paints = 0;
            change();
            QTRY_VERIFY(counter.Paints > 0);
        }
        QCOMPARE(Shown(), Expected());
    }

    void printDrawsTheProblemSheetAndAdvancesTheNumber()
    {
        GoodPreview();
        Edit("PrnNum")->setText("7");
        QTest::mouseClick(form->btnPrint, Qt::LeftButton);
        QVERIFY(dialogs.Boxes.empty());
        const std::vector<std::string> expected = {"SetPortrait", "PageHeight", "PageWidth", "SetTitle", "BeginDoc", "EndDoc"};
        QCOMPARE(printer->Calls, expected);
        QCOMPARE(static_cast<int>(printer->Printed.size()), 1);
        const TFakePrinter::TJob& job = printer->Printed[0];
        QCOMPARE(job.Title, std::string("Tavelin"));
        QCOMPARE(job.ShowAnswersAtEnd, 0);
        const auto texts = TextsOf(job.Page);
        QCOMPARE(texts.count("問題No.7"), 1u);
        // Problem sheets carry the two rows of each problem and nothing more.
        QCOMPARE(job.Page.OfKind(TCanvasOp::TextOp).size(), 4u + 12 * 2);
        QCOMPARE(job.Page.OfKind(TCanvasOp::RectOp).front().X2, 2392);  // drawn at W × H of the printer
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("8"));
        QCOMPARE(PrintNumber, 8);
        QCOMPARE(ShowAnswers, 0);
        QCOMPARE(Shown(), Expected());  // the next repaint shows 8
    }

    void printWithAnswersMakesTwoJobsWithOneNumber()
    {
        GoodPreview();
        Edit("PrnNum")->setText("7");
        QTest::mouseClick(form->btnPrintWithAns, Qt::LeftButton);
        QVERIFY(dialogs.Boxes.empty());
        const std::vector<std::string> expected = {"SetPortrait", "PageHeight", "PageWidth", "SetTitle", "BeginDoc",
                                                   "EndDoc",      "SetTitle",   "BeginDoc",  "EndDoc"};
        QCOMPARE(printer->Calls, expected);
        QCOMPARE(static_cast<int>(printer->Printed.size()), 2);
        for (const auto& job : printer->Printed) {
            QCOMPARE(job.Title, std::string("Tavelin"));
            QCOMPARE(TextsOf(job.Page).count("問題No.7"), 1u);
        }
        QCOMPARE(printer->Printed[0].ShowAnswersAtEnd, 0);
        QCOMPARE(printer->Printed[0].Page.OfKind(TCanvasOp::TextOp).size(), 4u + 12 * 2);
        // Three-digit by two-digit problems add two partial products and the
        // product; the answer sheet says 「答え」 in its name box.
        QCOMPARE(printer->Printed[1].Page.OfKind(TCanvasOp::TextOp).size(), 5u + 12 * 5);
        QCOMPARE(printer->Printed[1].Page.OfKind(TCanvasOp::TextOp)[3].Text, std::string("答え"));
        QVERIFY(TextsOf(printer->Printed[0].Page).count("答え") == 0);
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("8"));
        QCOMPARE(ShowAnswers, 0);
    }

    void printWithAnswersIntoAFileIsOneJobOfTwoPages()
    {
        GoodPreview();
        printer->ToFile = true;
        QTest::mouseClick(form->btnPrintWithAns, Qt::LeftButton);
        QVERIFY(dialogs.Boxes.empty());
        const std::vector<std::string> expected = {"SetPortrait", "PageHeight", "PageWidth", "SetTitle",
                                                   "BeginDoc",    "NewPage",    "EndDoc"};
        QCOMPARE(printer->Calls, expected);
        QCOMPARE(static_cast<int>(printer->Printed.size()), 1);
        const TFakePrinter::TJob& job = printer->Printed[0];
        QCOMPARE(job.NextPages.size(), 1u);
        QCOMPARE(job.Page.OfKind(TCanvasOp::TextOp).size(), 4u + 12 * 2);
        QCOMPARE(job.NextPages[0].OfKind(TCanvasOp::TextOp).size(), 5u + 12 * 5);
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("2"));
    }

    void sheetNumberArithmetic_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("after");
        QTest::newRow("wraps") << "2147483647" << "問題No.2147483647" << "-2147483648";
        QTest::newRow("hexadecimal") << "$10" << "問題No.16" << "17";
        QTest::newRow("negative") << "-1" << "問題No.-1" << "0";
        QTest::newRow("leading zeros") << "007" << "問題No.7" << "8";
    }

    void sheetNumberArithmetic()
    {
        QFETCH(QString, typed);
        QFETCH(QString, printed);
        QFETCH(QString, after);
        GoodPreview();
        Edit("PrnNum")->setText(typed);
        form->btnPrintClick();
        QCOMPARE(TextsOf(printer->Printed.at(0).Page).count(printed.toStdString()), 1u);
        QCOMPARE(Edit("PrnNum")->text(), after);
    }

    void emptiedSheetNumberPrintsNothing()
    {
        GoodPreview();
        Edit("PrnNum")->setText("");
        QTest::mouseClick(form->btnPrint, Qt::LeftButton);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QCOMPARE(dialogs.Boxes[0].Text, QStringLiteral("'' は整数ではありません."));
        QVERIFY(printer->Calls.empty());
        QCOMPARE(Edit("PrnNum")->text(), QString());
    }

    void printerErrors_data()
    {
        QTest::addColumn<bool>("withAnswers");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("occurrence");
        QTest::addColumn<int>("drawingFailsInJob");
        QTest::addColumn<int>("printed");
        QTest::addColumn<int>("aborted");
        // The problem sheet was accepted and the answer sheet was not.
        QTest::addColumn<bool>("problemSheetPrinted");
        QTest::newRow("portrait") << false << "SetPortrait" << 1 << 0 << 0 << 0 << false;
        QTest::newRow("page height") << false << "PageHeight" << 1 << 0 << 0 << 0 << false;
        QTest::newRow("page width") << true << "PageWidth" << 1 << 0 << 0 << 0 << false;
        QTest::newRow("begin") << false << "BeginDoc" << 1 << 0 << 0 << 0 << false;
        QTest::newRow("begin, answers") << true << "BeginDoc" << 1 << 0 << 0 << 0 << false;
        QTest::newRow("end") << false << "EndDoc" << 1 << 0 << 0 << 1 << false;
        QTest::newRow("end, answers") << true << "EndDoc" << 1 << 0 << 0 << 1 << false;
        QTest::newRow("drawing") << false << "" << 0 << 1 << 0 << 1 << false;
        QTest::newRow("second begin") << true << "BeginDoc" << 2 << 0 << 1 << 0 << true;
        QTest::newRow("second end") << true << "EndDoc" << 2 << 0 << 1 << 1 << true;
        QTest::newRow("answer drawing") << true << "" << 0 << 2 << 1 << 1 << true;
    }

    void printerErrors()
    {
        QFETCH(bool, withAnswers);
        QFETCH(QString, failing);
        QFETCH(int, occurrence);
        QFETCH(int, drawingFailsInJob);
        QFETCH(int, printed);
        QFETCH(int, aborted);
        QFETCH(bool, problemSheetPrinted);
        GoodPreview();
        Edit("PrnNum")->setText("7");
        PrintNumber = 1;
        printer->FailAt[failing.toStdString()] = occurrence;
        printer->FailDrawingOfJob = drawingFailsInJob;
        printer->FailMessage = "デフォルト プリンタが存在しません";
        QTest::mouseClick(withAnswers ? form->btnPrintWithAns : form->btnPrint, Qt::LeftButton);

        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QString expected = drawingFailsInJob ? "描画に失敗しました。" : "デフォルト プリンタが存在しません.";
        if (problemSheetPrinted)
            expected.prepend(QStringLiteral("問題のプリントは印刷しましたが、答えのプリントは印刷できませんでした。\r\n"));
        QCOMPARE(dialogs.Boxes[0].Text, expected);
        QCOMPARE(static_cast<int>(printer->Printed.size()), printed);
        QCOMPARE(printer->Aborted, aborted);
        QVERIFY(!printer->Printing());
        QCOMPARE(ShowAnswers, 0);
        // Sheet 7 is used up only when it is in the tray.
        const int next = problemSheetPrinted ? 8 : 7;
        QCOMPARE(Edit("PrnNum")->text(), QString::number(next));
        QCOMPARE(PrintNumber, next);

        // The next command works.
        printer->FailAt.clear();
        printer->FailDrawingOfJob = 0;
        form->btnPrintClick();
        QCOMPARE(Edit("PrnNum")->text(), QString::number(next + 1));
    }

    // While a job goes out, no other command gives out a number, and the job
    // records and advances exactly what it took.
    void oneNumberOneSheetWhileAJobGoesOut_data()
    {
        QTest::addColumn<bool>("teacherWritesANumber");
        QTest::addColumn<QString>("after");
        QTest::newRow("the box as it was") << false << QStringLiteral("8");
        QTest::newRow("a new number written meanwhile") << true << QStringLiteral("20");
    }

    void oneNumberOneSheetWhileAJobGoesOut()
    {
        QFETCH(bool, teacherWritesANumber);
        GoodPreview();
        Edit("PrnNum")->setText("7");
        const std::string sentence = Edit("QstSentence")->text().toStdString();
        dialogs.FileAnswer = "/tmp/tavelin-never-written.pdf";
        dialogs.ClassSetAnswer = TClassSetRequest{3, false, TAnswerOrder::After, TPaper::A4};
        printer->WhileHandingOver = [&] {
            Edit("QstSentence")->setText("別の文");
            for (const char* command : {"actSavePdf", "actSavePdfWithAnswers", "actClassSet", "actPrint"})
                form->Action(command)->trigger();
            // A preset clears the preview; the job keeps its own sheet.
            form->PresetClick(3);
            if (teacherWritesANumber) Edit("PrnNum")->setText("20");
        };
        form->btnPrintClick();
        QCOMPARE(static_cast<int>(printer->Printed.size()), 1);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 4);
        for (const auto& box : dialogs.Boxes) QCOMPARE(box.Text, QStringLiteral("現在印刷中です."));
        QVERIFY(!QFile::exists(dialogs.FileAnswer));
        QFETCH(QString, after);
        QCOMPARE(Edit("PrnNum")->text(), after);
        // The record is of the sheet the job drew.
        THistory* history = HistoryLog().History();
        QVERIFY(history);
        const THistorySheet recorded = *history->Find(history->List(1).front().Id);
        QCOMPARE(recorded.Number, 7);
        const TSettingsFile settings = ParseSettingsFile(recorded.Settings);
        QCOMPARE(settings.Values.QstSentence, sentence);
        QCOMPARE(settings.Values.u1h, std::string("9"));
    }

    // An answer sheet that did not print is said once, with its reason.
    void partialPrintSaysOnceWhy()
    {
        GoodPreview();
        printer->FailAt["EndDoc"] = 2;
        printer->FailMessage = "プリンタ「TavelinPDF」は今、印刷を受け付けていません";
        printer->FailConsequence = "プリントは印刷されていません";
        QTest::mouseClick(form->btnPrintWithAns, Qt::LeftButton);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QCOMPARE(dialogs.Boxes[0].Text,
                 QStringLiteral("問題のプリントは印刷しましたが、答えのプリントは印刷できませんでした。\r\n"
                                "プリンタ「TavelinPDF」は今、印刷を受け付けていません。"));
        THistory* history = HistoryLog().History();
        QVERIFY(!history->Find(history->List(1).front().Id)->WithAnswers);
    }

    void printSetupOpensTheDialogOfThePrinter()
    {
        QTest::mouseClick(form->btnMaintenance, Qt::LeftButton);
        QCOMPARE(printer->Calls, std::vector<std::string>{"Setup"});
        printer->FailAt["Setup"] = 2;
        QTest::mouseClick(form->btnMaintenance, Qt::LeftButton);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QCOMPARE(dialogs.Boxes[0].Text, QStringLiteral("選択したプリンタは有効ではありません."));
    }
};

TAVELIN_TEST_MAIN(CommandsTest)
#include "commands_test.moc"
