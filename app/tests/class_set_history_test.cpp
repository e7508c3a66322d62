// Class sets and the history on the real window: the set as one PDF or one
// job, Cancel and the shortfall leaving nothing, every sheet recorded, the
// 履歴 window's reprints drawing exactly the recorded problems, and a history
// that cannot be used never stopping a print.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <set>

#include "app/fmain.h"
#include "app/history_log.h"
#include "app/history_window.h"
#include "cups_queue.h"
#include "window_fixture.h"
#include "test_main.h"
#include "worksheet/problems.h"

class ClassSetHistoryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    TWindowFixture window;
    std::unique_ptr<TForm1>& form = window.Form;
    std::unique_ptr<TFakePrinter>& printer = window.Printer;
    TRecordingDialogs& dialogs = window.Dialogs;

    QLineEdit* Edit(const char* name) { return window.Edit(name); }
    void WideSettings() { window.WideSettings(); }

    int64_t Recorded()
    {
        THistory* history = HistoryLog().History();
        return history ? history->Count() : -1;
    }

    void ClassSet(int sheets, bool toPrinter, TAnswerOrder order)
    {
        dialogs.ClassSetAnswer = TClassSetRequest{sheets, toPrinter, order, TPaper::A4};
        QTest::keyClick(form.get(), Qt::Key_M, Qt::ControlModifier);
    }

    QString Texts(const TRecordingCanvas& page)
    {
        QStringList texts;
        for (const TCanvasOp& op : page.OfKind(TCanvasOp::TextOp)) texts << QString::fromStdString(op.Text);
        return texts.join('|');
    }

private slots:
    void initTestCase() { window.InstallSeams(); }
    void cleanupTestCase() { window.RemoveSeams(); }

    void init()
    {
        // Each test has a history of its own.
        folder = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", folder->filePath("data").toUtf8());
        HistoryLog().Reset();
        QVERIFY(window.Open());
    }

    void cleanup()
    {
        window.Close();
        HistoryLog().Reset();
    }

    void classSetAsOnePdf()
    {
        WideSettings();
        Edit("PrnNum")->setText("12");
        dialogs.FileAnswer = folder->filePath("クラス.pdf");
        ClassSet(3, false, TAnswerOrder::After);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QVERIFY2(QRegularExpression("^3枚のプリントを作りました（No.12～No.14、乱数のもと [0-9]+）。$").match(dialogs.Boxes[0].Text).hasMatch(),
                 qPrintable(dialogs.Boxes[0].Text));
        QCOMPARE(PdfPageCount(dialogs.FileAnswer), 6);
        const QStringList words = PdfWords(dialogs.FileAnswer, 4);
        QVERIFY(words.contains("問題No.12"));
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("15"));
        QCOMPARE(Recorded(), 3);
        QVERIFY(printer->Printed.empty());
    }

    void classSetAsOneJob()
    {
        WideSettings();
        ClassSet(4, true, TAnswerOrder::Each);
        QCOMPARE(static_cast<int>(printer->Printed.size()), 1);
        const TFakePrinter::TJob& job = printer->Printed[0];
        QCOMPARE(job.Title, std::string("Tavelin"));
        QCOMPARE(job.NextPages.size(), 7u);
        QVERIFY(Texts(job.Page).contains("問題No.1|"));
        QVERIFY(Texts(job.NextPages[0]).contains("問題No.1|"));
        QVERIFY(Texts(job.NextPages[1]).contains("問題No.2|"));
        QVERIFY(Texts(job.NextPages[0]).size() > Texts(job.Page).size());  // the answers
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("5"));
        QCOMPARE(Recorded(), 4);
    }

    void cancelAndShortfallLeaveNothing_data()
    {
        QTest::addColumn<bool>("toPrinter");
        QTest::addColumn<int>("cancelAtStep");
        QTest::addColumn<bool>("wide");
        QTest::newRow("cancel while making, PDF") << false << 2 << true;
        QTest::newRow("cancel while drawing, PDF") << false << 5 << true;
        QTest::newRow("cancel while drawing, printer") << true << 5 << true;
        QTest::newRow("too few problems, PDF") << false << 0 << false;
        QTest::newRow("too few problems, printer") << true << 0 << false;
    }

    void cancelAndShortfallLeaveNothing()
    {
        QFETCH(bool, toPrinter);
        QFETCH(int, cancelAtStep);
        QFETCH(bool, wide);
        if (wide) WideSettings();
        dialogs.CancelAtStep = cancelAtStep;
        dialogs.FileAnswer = folder->filePath("none.pdf");
        ClassSet(3, toPrinter, TAnswerOrder::After);
        QVERIFY(!QFile::exists(dialogs.FileAnswer));
        QVERIFY(printer->Printed.empty());
        QVERIFY(!printer->Printing());
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("1"));
        QCOMPARE(Recorded(), 0);
        if (!wide) {
            QCOMPARE(dialogs.Beeps, 1);
            QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
            QCOMPARE(dialogs.Boxes[0].Caption, QStringLiteral("警告"));
            QCOMPARE(dialogs.Boxes[0].ProgressOpen, 0);  // the progress went before the warning
        } else {
            QVERIFY(dialogs.Boxes.empty());
        }
    }

    void shortSheetsAreMadeAndNamed()
    {
        // Ten problems (0 × 1 … 9 × 1) where twelve are asked.
        Edit("u1h")->setText("9");
        Edit("d1l")->setText("1");
        Edit("d1h")->setText("1");
        Edit("AnsHigh")->setText("9");
        ClassSet(2, true, TAnswerOrder::None);
        QCOMPARE(static_cast<int>(printer->Printed.size()), 1);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QVERIFY2(dialogs.Boxes[0].Text.endsWith(QStringLiteral("No.1、No.2 は、問題が 12 問そろいませんでした。")),
                 qPrintable(dialogs.Boxes[0].Text));
    }

    void historyWindowReprintsExactlyTheRecordedSheet()
    {
        WideSettings();
        form->btnPreviewClick();
        Edit("PrnNum")->setText("7");
        Edit("QstSentence")->setText("ていねいに");
        form->btnPrintClick();
        const std::string firstProblem = ProblemTable[1].MultiplicandText;
        form->btnPreviewClick();  // the table moves on
        QTest::keyClick(form.get(), Qt::Key_H, Qt::ControlModifier);
        THistoryWindow* window = form->HistoryWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->Model().rowCount(), 1);
        QCOMPARE(window->Model().data(window->Model().index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("No.7"));
        QCOMPARE(window->Model().data(window->Model().index(0, 3), Qt::DisplayRole).toString(), QStringLiteral("問題のみ"));
        QCOMPARE(window->Model().data(window->Model().index(0, 4), Qt::DisplayRole).toString(), QStringLiteral("FakePrinter"));
        // A long path never hides the file's name: the name first, the whole path in the tip.
        QCOMPARE(DestinationShown("/home/teacher/とても/長い/フォルダの/名前/3年2組-No7.pdf"),
                 QStringLiteral("3年2組-No7.pdf（/home/teacher/とても/長い/フォルダの/名前）"));
        QCOMPARE(window->Model().data(window->Model().index(0, 4), Qt::ToolTipRole).toString(), QStringLiteral("FakePrinter"));

        window->findChild<QPushButton*>("btnPrintAnswers")->click();
        QCOMPARE(static_cast<int>(printer->Printed.size()), 2);
        const QString reprint = Texts(printer->Printed[1].Page);
        QVERIFY(reprint.startsWith(QStringLiteral("かけ算|問題No.7|")));
        QVERIFY(reprint.contains(QStringLiteral("|ていねいに|") + QString::fromStdString(firstProblem) + "|"));
        QVERIFY(reprint.size() > Texts(printer->Printed[0].Page).size());  // with its answers
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("8"));  // a reprint is not a new sheet

        // Its settings back in the window, but for the sheet number.
        Edit("QstSentence")->setText("別の文");
        Edit("u2h")->setText("5");
        window->findChild<QPushButton*>("btnUseSettings")->click();
        QCOMPARE(Edit("QstSentence")->text(), QStringLiteral("ていねいに"));
        QCOMPARE(Edit("u2h")->text(), QStringLiteral("9"));
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("8"));

        window->findChild<QLineEdit*>("Search")->setText("99");
        QCOMPARE(window->Model().rowCount(), 0);
        QVERIFY(!window->findChild<QPushButton*>("btnDelete")->isEnabled());
        window->findChild<QLineEdit*>("Search")->setText("7");
        QCOMPARE(window->Model().rowCount(), 1);
        window->findChild<QPushButton*>("btnDelete")->click();
        QCOMPARE(static_cast<int>(dialogs.Questions.size()), 1);
        QCOMPARE(window->Model().rowCount(), 0);
        QCOMPARE(Recorded(), 0);
    }

    // ファイル ▸ 診断プリント: the operation chosen, twelve problems shown
    // with their key, printed and recorded as a diagnostic sheet; its
    // answers typed in from the 履歴 and the procedure told.
    void diagnosticSheetAndItsAnswers()
    {
        Edit("PrnNum")->setText("40");
        dialogs.ChoiceAnswer = -1;  // called off: nothing shown
        QTest::keyClick(form.get(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(static_cast<int>(dialogs.Choices.size()), 1);
        QCOMPARE(dialogs.Choices[0], (QStringList{"かけ算", "たし算", "ひき算", "わり算", "小数のたし算", "小数のひき算",
                                                  "小数のかけ算", "小数のわり算"}));
        QVERIFY(!form->Control("btnPrint")->isEnabled());

        dialogs.ChoiceAnswer = 0;  // かけ算, the window's own, whose digits give 0 × 0 alone
        QTest::keyClick(form.get(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QCOMPARE(dialogs.Boxes[0].Text, QStringLiteral("今の条件では、指定された問題数が確保できません。"));
        QVERIFY(!form->Control("btnPrint")->isEnabled());
        dialogs.Boxes.clear();

        dialogs.ChoiceAnswer = 2;  // ひき算, not the window's operation: every digit
        QTest::keyClick(form.get(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(dialogs.Boxes.empty());
        QVERIFY(form->Control("btnPrint")->isEnabled());
        form->btnPrintWithAnsClick();
        QCOMPARE(static_cast<int>(printer->Printed.size()), 2);
        QVERIFY(Texts(printer->Printed[0].Page).startsWith(QStringLiteral("ひき算（診断）|問題No.40|")));
        const QString key = Texts(printer->Printed[1].Page);
        QCOMPARE(key.count(QStringLiteral("|正答 ")), 12);
        QVERIFY(key.contains(QStringLiteral("記号の意味")));
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("41"));
        dialogs.FileAnswer.clear();  // the PDF dialog called off: its proposal is what counts
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY2(dialogs.FileProposals.back().endsWith(QStringLiteral("ひき算診断-No41.pdf")), qPrintable(dialogs.FileProposals.back()));

        QTest::keyClick(form.get(), Qt::Key_H, Qt::ControlModifier);
        THistoryWindow* window = form->HistoryWindow();
        QVERIFY(window);
        const THistorySheet recorded = *window->Selected();
        QVERIFY(recorded.Diagnostic);
        QCOMPARE(recorded.Problems.size(), size_t{12});
        QPushButton* enter = window->findChild<QPushButton*>("btnEnterAnswers");
        QVERIFY(enter->isEnabled());
        // Right answers but one left blank; the first try has a text that is not an answer.
        QStringList right;
        for (const auto& p : recorded.Problems) right << QString::number(p.Answer);
        right[5].clear();
        dialogs.AnswersTyped = {QStringList(right).replaceInStrings(QRegularExpression("^(\\d)"), "x\\1"), right};
        enter->click();
        QCOMPARE(static_cast<int>(dialogs.AnswerRequests.size()), 2);
        QCOMPARE(dialogs.AnswerRequests[1].second, dialogs.AnswersTyped[0]);  // asked again with what was typed
        QCOMPARE(dialogs.AnswerRequests[0].first.size(), 12);
        QCOMPARE(dialogs.AnswerRequests[0].first[0],
                 QStringLiteral("%1−%2").arg(recorded.Problems[0].First).arg(recorded.Problems[0].Second));
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 2);
        QVERIFY2(dialogs.Boxes[0].Text.startsWith(QStringLiteral("1問目の答え「x")), qPrintable(dialogs.Boxes[0].Text));
        QCOMPARE(dialogs.Boxes[1].Text, QStringLiteral("正しくできています。\n答えた11問のうち11問の答えが、正しい答えです。"));

        // A drill sheet has no answers to read.
        form->btnPreviewClick();
        form->btnPrintClick();
        window->Model().Reload();
        window->SelectRow(0);
        QVERIFY(!window->Selected()->Diagnostic);
        QVERIFY(!enter->isEnabled());
    }

    // A sheet that ends short records what its page shows: whole rows.
    void shortSheetRecordsTheProblemsOnItsPage()
    {
        // Ten problems (0 × 1 … 9 × 1) where twelve are asked: two rows.
        Edit("u1h")->setText("9");
        Edit("d1l")->setText("1");
        Edit("d1h")->setText("1");
        Edit("AnsHigh")->setText("9");
        form->btnPreviewClick();
        QCOMPARE(QuestionCount, 10);
        form->btnPrintClick();
        THistory* history = HistoryLog().History();
        const THistorySheet recorded = *history->Find(history->List(1).front().Id);
        QCOMPARE(recorded.Problems.size(), 8u);
        QVERIFY(QString::fromStdString(recorded.Summary).endsWith("・8問"));
    }

    // The search takes full-width digits, and says when a text is no number.
    void historySearch_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("says");
        QTest::newRow("digits") << "12" << 1 << "";
        QTest::newRow("full-width digits") << "１２" << 1 << "";
        QTest::newRow("another number") << "13" << 0 << "";
        QTest::newRow("no number") << "abc" << 0 << "「abc」はプリント番号ではありません";
        QTest::newRow("nothing typed") << "" << 2 << "";
    }

    void historySearch()
    {
        QFETCH(QString, typed);
        QFETCH(int, rows);
        QFETCH(QString, says);
        WideSettings();
        form->btnPreviewClick();
        Edit("PrnNum")->setText("11");
        form->btnPrintClick();
        form->btnPrintClick();
        QTest::keyClick(form.get(), Qt::Key_H, Qt::ControlModifier);
        THistoryWindow* window = form->HistoryWindow();
        window->findChild<QLineEdit*>("Search")->setText(typed);
        QCOMPARE(window->Model().rowCount(), rows);
        QCOMPARE(window->findChild<QLabel*>("SearchStatus")->text(), says);
    }

    // A history damaged further in is moved aside when the damage shows, and
    // the window says where it went.
    void historyDamagedLaterIsToldWithItsNewName()
    {
        WideSettings();
        form->btnPreviewClick();
        for (int i = 0; i < 60; ++i) form->btnPrintClick();
        HistoryLog().Reset();  // the file is closed before it is damaged
        const QString path = QString::fromStdString(DefaultHistoryPath());
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(4096);
            file.write(QByteArray(8192, '\x5a'));
        }
        dialogs.Clear();
        QTest::keyClick(form.get(), Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QVERIFY2(dialogs.Boxes[0].Text.contains(path + ".damaged-"), qPrintable(dialogs.Boxes[0].Text));
    }

    void historyThatCannotBeUsedNeverStopsAPrint_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("folder cannot be written") << false;
        QTest::newRow("file is not a database") << true;
    }

    void historyThatCannotBeUsedNeverStopsAPrint()
    {
        QFETCH(bool, damaged);
        if (damaged) {
            QDir().mkpath(folder->filePath("data/Tavelin"));
            QFile file(folder->filePath("data/Tavelin/history.sqlite3"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a database at all");
        } else {
            qputenv("XDG_DATA_HOME", "/dev/null/data");
        }
        HistoryLog().Reset();
        WideSettings();
        form->btnPreviewClick();
        form->btnPrintClick();
        form->btnPrintWithAnsClick();
        QCOMPARE(static_cast<int>(printer->Printed.size()), 3);
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("3"));
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);  // told once
        QVERIFY2(dialogs.Boxes[0].Text.contains(damaged ? "history.sqlite3.damaged-" : "履歴は記録されません"),
                 qPrintable(dialogs.Boxes[0].Text));
        QCOMPARE(Recorded(), damaged ? 2 : -1);
    }
};

TAVELIN_TEST_MAIN(ClassSetHistoryTest)
#include "class_set_history_test.moc"
