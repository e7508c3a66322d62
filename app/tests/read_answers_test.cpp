// 答案を読み取る on the real window: a photo of a pupil's sheet and a page
// that is none, the page that is none named, the undecided answers asked
// with what was read, the class's table shown and its CSV and marked PDF
// saved.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <random>

#include "answer_scans.h"
#include "app/fmain.h"
#include "app/history_log.h"
#include "requests/requests.h"
#include "sheets/presets.h"
#include "test_main.h"
#include "window_fixture.h"

class ReadAnswersTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    TWindowFixture window;
    TRecordingDialogs& dialogs = window.Dialogs;

private slots:
    void initTestCase()
    {
        window.InstallSeams();
        qputenv("XDG_DATA_HOME", folder.filePath("data").toUtf8());
        HistoryLog().Reset();
    }
    void cleanupTestCase() { window.RemoveSeams(); }
    void init() { QVERIFY(window.Open()); }
    void cleanup() { window.Close(); }

    void aPupilsPageIsReadMarkedAndSaved()
    {
        TWorksheetSettings settings;
        ApplyNamed(PresetFor(*FindPreset("2けた×1けた（十の位でくり上がり）"), "A4"), settings);
        const TSheet sheet = MakeClassSetOf(settings, 1, 8, 99u).Sheets.front();
        std::vector<std::optional<TWrittenAnswer>> answers;
        for (const TSheetProblem& p : sheet.Problems) answers.push_back(EveryAnswer(TOperation::Multiplication, p.First, p.Second)[0]);
        answers[1] = TWrittenAnswer(answers[1]->Value + 1, 0);
        std::mt19937 random(3);
        // Beside the pupil's page: a file that is no picture at all (it
        // stops nothing) and a white page (the back of a duplex scan).
        const QString photo = folder.filePath("photo.png"), zero = folder.filePath("zero.png"), blank = folder.filePath("white.png");
        QVERIFY(FilledScan(sheet, answers, 23, FaceHand("Klee One"), {}, random).save(photo));
        QImage white(800, 1100, QImage::Format_RGB32);
        white.fill(Qt::white);
        QVERIFY(white.save(blank));
        {
            QFile empty(zero);
            QVERIFY(empty.open(QIODevice::WriteOnly));
        }

        dialogs.Clear();
        dialogs.FilesAnswer = {zero, photo, blank};
        dialogs.FileAnswer = folder.filePath("class.csv");
        dialogs.ResultActionsToRun = {"結果を CSV に保存(&C)…"};
        QTest::keyClick(window.Form.get(), Qt::Key_E, Qt::ControlModifier);

        QCOMPARE(dialogs.Boxes.size(), size_t(1));
        QVERIFY2(dialogs.Boxes[0].Text.contains("zero.png: "), qPrintable(dialogs.Boxes[0].Text));
        QVERIFY2(dialogs.Boxes[0].Text.contains("白紙のページ 1 枚は読みませんでした"), qPrintable(dialogs.Boxes[0].Text));
        // Whatever was asked was left as it was: the teacher stopped at the first.
        QVERIFY(dialogs.ReadAnswerRequests.size() <= 1);
        QCOMPARE(dialogs.Results.size(), size_t(1));
        const auto& shown = dialogs.Results[0];
        QCOMPARE(shown.Rows.size(), size_t(1));
        QCOMPARE(shown.Rows[0][0], "23");
        QCOMPARE(shown.Rows[0][1], "No.8");
        QVERIFY2(shown.Footer.startsWith("1枚を読みました（3ページ中）"), qPrintable(shown.Footer));
        if (dialogs.ReadAnswerRequests.empty()) {
            QCOMPARE(shown.Rows[0][3], "×");
            QCOMPARE(shown.Rows[0][2], "○");
        }
        QFile csv(folder.filePath("class.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readAll().startsWith("shusseki,sheet,problem,answer,correct,decided,procedure,operation,seed\n23,8,1,"));

        // The marked pages, and a typed answer where the reader asks.
        dialogs.Clear();
        dialogs.FilesAnswer = {photo};
        dialogs.FileAnswer = folder.filePath("marked.pdf");
        dialogs.ResultActionsToRun = {"採点済みの PDF を保存(&P)…"};
        dialogs.ReadAnswersTyped = std::vector<QString>(20, QString());
        window.Form->Action("actReadAnswers")->trigger();
        QVERIFY(dialogs.Boxes.empty());
        QVERIFY(!dialogs.Results.front().Footer.contains("決めていない"));
        QVERIFY(QFile(folder.filePath("marked.pdf")).size() > 1000);
        // Each review's end put the pupil's answers in the history.
        QVERIFY(HistoryLog().History());
        QCOMPARE(HistoryLog().History()->Readings(10).size(), size_t(2));
        // Cancelled: nothing read, nothing shown.
        dialogs.Clear();
        window.Form->Action("actReadAnswers")->trigger();
        QVERIFY(dialogs.Results.empty());
    }

    void eachPupilsNextSheetIsMadeFromTheTable()
    {
        // A pupil who borrowed without taking one from the next place on
        // every problem that asks it: their next sheet, with its answer
        // sheet, from the class's table.
        TWorksheetSettings settings;
        ApplyNamed(PresetFor(*FindPreset("3けた−3けた（くり下がり2回）"), "A4"), settings);
        const TSheet sheet = MakeClassSetOf(settings, 1, 20, 5u).Sheets.front();
        const std::vector<TWrongProcedure>& catalogue = WrongProcedures(TOperation::Subtraction);
        const size_t noDecrement = static_cast<size_t>(
            std::find_if(catalogue.begin(), catalogue.end(), [](const TWrongProcedure& p) { return std::string(p.Id) == "borrow-no-decrement"; }) -
            catalogue.begin() + 1);
        std::vector<std::optional<TWrittenAnswer>> answers;
        for (const TSheetProblem& p : sheet.Problems) answers.push_back(EveryAnswer(TOperation::Subtraction, p)[noDecrement]);
        std::mt19937 random(4);
        const QString photo = folder.filePath("pupil.png");
        QVERIFY(FilledScan(sheet, answers, 7, FaceHand("Klee One"), {}, random).save(photo));
        dialogs.Clear();
        dialogs.FilesAnswer = {photo};
        dialogs.FileAnswer = folder.filePath("next.pdf");
        dialogs.ReadAnswersTyped = std::vector<QString>(20, QString());
        dialogs.ResultActionsToRun = {"一人ひとりのプリントを作る(&N)…"};
        window.Form->Action("actReadAnswers")->trigger();
        QCOMPARE(dialogs.Results.size(), size_t(1));
        QVERIFY(dialogs.Results[0].Actions.contains("一人ひとりのプリントを作る(&N)…"));
        QVERIFY(!dialogs.Boxes.empty());
        QVERIFY2(dialogs.Boxes.back().Text.startsWith("一人ひとりのプリントを 1枚作りました（No.21～No.21"), qPrintable(dialogs.Boxes.back().Text));
        // Their answers named the procedure: no diagnostic sheet again.
        QVERIFY(!dialogs.Boxes.back().Text.contains("診断プリント"));
        QVERIFY(QFile(folder.filePath("next.pdf")).size() > 1000);
        // Recorded, as every sheet that goes out is.
        QCOMPARE(HistoryLog().History()->List(1).front().Number, 21);
    }
};

TAVELIN_TEST_MAIN(ReadAnswersTest)

#include "read_answers_test.moc"
