// The menu bar on the real window: captions, shortcuts pressed as keys,
// enabled states, and the commands behind the items.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QPainter>
#include <QTest>

#include <memory>

#include "app/controls.h"
#include "app/fmain.h"
#include "app/help_texts.h"
#include "cups_queue.h"
#include "window_fixture.h"
#include "render/page_layout.h"
#include "render/qt_canvas.h"
#include "sheets/presets.h"
#include "sheets/settings_file.h"
#include "test_main.h"
#include "worksheet/operations.h"
#include "worksheet/problems.h"

class MenuTest : public QObject {
    Q_OBJECT

    TWindowFixture window;
    std::unique_ptr<TForm1>& form = window.Form;
    std::unique_ptr<TFakePrinter>& printer = window.Printer;
    TRecordingDialogs& dialogs = window.Dialogs;
    QTemporaryDir folder;

    QLineEdit* Edit(const char* name) { return window.Edit(name); }

    void GoodPreview()
    {
        window.WideSettings();
        form->btnPreviewClick();
        QCOMPARE(QuestionCount, 12);
    }

    // The window's settings as a settings file would hold them.
    QByteArray SettingsNow() { return QByteArray::fromStdString(SettingsFileText(form->Settings())); }

private slots:
    void initTestCase() { window.InstallSeams(); }
    void cleanupTestCase() { window.RemoveSeams(); }
    void init() { QVERIFY(window.Open()); }
    void cleanup() { window.Close(); }

    void captionsAndShortcuts_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("save PDF") << "actSavePdf" << "PDFに保存（問題）(&S)…" << "Ctrl+S";
        QTest::newRow("save PDF with answers") << "actSavePdfWithAnswers" << "PDFに保存（答えつき）(&A)…" << "Ctrl+Shift+S";
        QTest::newRow("print preview") << "actPrintPreview" << "印刷プレビュー(&V)…" << "Ctrl+Shift+P";
        QTest::newRow("print") << "actPrint" << "印刷(&P)" << "Ctrl+P";
        QTest::newRow("quit") << "actQuit" << "終了(&X)" << "Ctrl+Q";
        QTest::newRow("open settings") << "actOpenSettings" << "設定を開く(&O)…" << "Ctrl+O";
        QTest::newRow("save settings") << "actSaveSettings" << "設定を保存(&W)…" << "";
        QTest::newRow("start-up settings") << "actResetSettings" << "最初の設定に戻す(&D)" << "";
        QTest::newRow("marks") << "actCarryMarks" << "答えに補助数字を書く(&C)" << "";
        QTest::newRow("multiplication") << "actMultiplication" << "かけ算(&M)" << "Ctrl+1";
        QTest::newRow("addition") << "actAddition" << "たし算(&A)" << "Ctrl+2";
        QTest::newRow("subtraction") << "actSubtraction" << "ひき算(&S)" << "Ctrl+3";
        QTest::newRow("division") << "actDivision" << "わり算(&D)" << "Ctrl+4";
        QTest::newRow("help") << "actHelp" << "使い方(&U)" << "";
        QTest::newRow("about") << "actAbout" << "このプログラムについて(&A)" << "";
    }

    void captionsAndShortcuts()
    {
        QFETCH(QString, action);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QAction* a = form->Action(action.toStdString());
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut().toString(), shortcut);
        QStringList menus;
        for (QAction* menu : form->MenuBar->actions()) menus << menu->text();
        QCOMPARE(menus, (QStringList{"ファイル(&F)", "計算(&K)", "設定(&O)", "ヘルプ(&H)"}));
        // The presets in a submenu for each operation.
        int presets = 0;
        for (QAction* group : form->findChild<QMenu*>("mnuPresets")->actions()) presets += group->menu()->actions().size();
        QCOMPARE(presets, static_cast<int>(Presets().size()));
        QCOMPARE(form->findChild<QMenu*>("mnuPaper")->actions().size(), 4);
    }

    void sheetCommandsWaitForAGoodPreview()
    {
        const char* needSheet[] = {"actSavePdf", "actSavePdfWithAnswers", "actPrintPreview", "actPrint"};
        for (const char* name : needSheet) QVERIFY(!form->Action(name)->isEnabled());
        QVERIFY(form->Action("actOpenSettings")->isEnabled());
        // Pressed while disabled, the shortcut does nothing.
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(dialogs.FileProposals.empty());
        GoodPreview();
        for (const char* name : needSheet) QVERIFY(form->Action(name)->isEnabled());
        // A Preview that finds too few problems disables them again.
        for (const char* box : {"u1h", "u2l", "u2h"}) Edit(box)->setText("0");
        Edit("d1h")->setText("2");  // only 0 × 2 is left
        form->btnPreviewClick();
        QVERIFY(QuestionCount < 4);
        for (const char* name : needSheet) QVERIFY(!form->Action(name)->isEnabled());
    }

    void shortcutsRunTheirCommands()
    {
        GoodPreview();
        Edit("PrnNum")->setText("7");
        dialogs.FileAnswer.clear();  // the file dialogs are cancelled
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(static_cast<int>(dialogs.FileProposals.size()), 3);
        QVERIFY(dialogs.FileProposals[0].endsWith("かけ算-No7.pdf"));
        QVERIFY(dialogs.FileProposals[1].endsWith("かけ算-No7.pdf"));
        QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialogs.Previews, 1);
        QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(static_cast<int>(printer->Printed.size()), 1);
        QVERIFY(dialogs.Boxes.empty());
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("8"));  // cancelled saves counted nothing
        QTest::keyClick(form.get(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!form->isVisible());
    }

    void savedPdfCountsAndNothingIsReplacedUnasked()
    {
        GoodPreview();
        Edit("PrnNum")->setText("7");
        form->SetPdfPaper(TPaper::B4);
        QVERIFY(form->Action("actPaperB4")->isChecked());
        dialogs.FileAnswer = folder.filePath("sheet");  // the suffix is added
        form->Action("actSavePdfWithAnswers")->trigger();
        QVERIFY(dialogs.Boxes.empty());
        const QString pdf = folder.filePath("sheet.pdf");
        QCOMPARE(PdfPageCount(pdf), 2);
        QVERIFY(PdfWords(pdf, 1).contains("問題No.7"));
        const QSizeF b4 = PdfPageSize(pdf);
        QVERIFY(qAbs(b4.width() - 729) < 1.5 && qAbs(b4.height() - 1032) < 1.5);
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("8"));

        dialogs.FileAnswer = pdf;
        dialogs.ConfirmAnswer = false;
        form->Action("actSavePdf")->trigger();
        QCOMPARE(static_cast<int>(dialogs.Questions.size()), 1);
        QCOMPARE(PdfPageCount(pdf), 2);
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("8"));

        dialogs.FileAnswer = folder.filePath("no-such-folder/sheet.pdf");
        form->Action("actSavePdf")->trigger();
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QVERIFY(dialogs.Boxes[0].Text.contains("がありません"));
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("8"));
    }

    void printPreviewShowsBothSheetsAndPrintsThemAsPrintWithAnswers()
    {
        GoodPreview();
        dialogs.PreviewPdf = folder.filePath("preview.pdf");
        form->Action("actPrintPreview")->trigger();
        QCOMPARE(PdfPageCount(dialogs.PreviewPdf), 2);
        QVERIFY(printer->Printed.empty());
        dialogs.PreviewPrints = true;
        form->Action("actPrintPreview")->trigger();
        QCOMPARE(static_cast<int>(printer->Printed.size()), 2);
        QCOMPARE(Edit("PrnNum")->text(), QStringLiteral("2"));
    }

    void settingsFilesAndPresets()
    {
        // A box that holds no number is not saved: the file could not be opened again.
        Edit("u3h")->setText("$");
        dialogs.FileAnswer = folder.filePath("never.json");
        form->Action("actSaveSettings")->trigger();
        QVERIFY(!QFile::exists(dialogs.FileAnswer));
        QVERIFY(!dialogs.Boxes.empty() && dialogs.Boxes.back().Text.contains("「$」は整数ではないので、設定を保存できません"));
        dialogs.Boxes.clear();
        // Saved, changed, and opened again.
        Edit("u3h")->setText("5");
        form->rgKuriagari->SetItemIndex(4);
        const QByteArray saved = SettingsNow();
        dialogs.FileAnswer = folder.filePath("day1.json");
        form->Action("actSaveSettings")->trigger();
        form->Action("actResetSettings")->trigger();
        QCOMPARE(SettingsNow(), QByteArray::fromStdString(SettingsFileText(TWorksheetSettings{})));
        form->Action("actOpenSettings")->trigger();
        QVERIFY(dialogs.Boxes.empty());
        QCOMPARE(SettingsNow(), saved);

        // A refused file changes nothing and says why.
        QFile bad(folder.filePath("bad.json"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(R"({"format": "tavelin-settings", "version": 1, "u1l": "5", "rgWaku": 7})");
        bad.close();
        dialogs.FileAnswer = bad.fileName();
        form->Action("actOpenSettings")->trigger();
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QVERIFY(dialogs.Boxes[0].Text.contains("rgWaku"));
        QCOMPARE(SettingsNow(), saved);

        // A preset leaves the sentence and the sheet number alone.
        Edit("QstSentence")->setText("がんばろう");
        Edit("PrnNum")->setText("5");
        form->Action("actPreset1")->trigger();  // a multiplication
        const TWorksheetSettings s = form->Settings();
        QCOMPARE(s.Kuriagari, Presets()[1].Settings.Values.Kuriagari);
        QCOMPARE(s.u2l, std::string("1"));
        QCOMPARE(s.QstSentence, std::string("がんばろう"));
        QCOMPARE(s.PrnNum, std::string("5"));

        // A preset clears the preview, as a new operation does: the old
        // sheet is never printed under the preset's settings.
        form->btnPreviewClick();
        QVERIFY(form->btnPrint->isEnabled());
        form->Action("actPreset1")->trigger();
        QVERIFY(!form->btnPrint->isEnabled() && !form->Action("actSavePdf")->isEnabled());
    }

    // A preset carries the layout of its grade, and the preview shows the
    // page of 大きなマス at its scale; a page that cannot fit says what would.
    void presetsBringTheLayoutOfTheirGrade()
    {
        const auto presetNamed = [](const std::string& name) {
            for (size_t i = 0; i < Presets().size(); ++i)
                if (Presets()[i].Name == name) return i;
            return size_t{0};
        };
        form->PresetClick(presetNamed("2けた＋2けた（くり上がりなし）"));
        QCOMPARE(form->Settings().CellMM, 12);
        QCOMPARE(RequestedCount(form->Settings()), 12);
        QVERIFY(form->Action("actCell12")->isChecked());
        form->btnPreviewClick();
        QVERIFY2(dialogs.Boxes.empty(), qPrintable(dialogs.Boxes.empty() ? QString() : dialogs.Boxes[0].Text));
        QVERIFY(form->btnPrint->isEnabled());
        QImage expected(320, 441, QImage::Format_RGB32);
        expected.fill(form->palette().color(QPalette::Window));
        {
            QPainter painter(&expected);
            TQtCanvas canvas(painter);
            TSheet sheet;
            sheet.Settings = form->Settings();
            sheet.Number = 1;
            sheet.Requested = 12;
            sheet.Seed = form->ShownSheet()->Seed;  // the code of the sheet's recipe at its foot
            for (int k = 1; k <= QuestionCount; ++k)
                sheet.Problems.push_back(RulesOf(TOperation::Addition).Solve(ProblemTable[k].Multiplicand, ProblemTable[k].Multiplier));
            DrawSheetPage(canvas, 320, 441, form->PageView(), sheet, true);
        }
        const QRect box(form->PaintBox1->mapTo(form.get(), QPoint(0, 0)), form->PaintBox1->size());
        QCOMPARE(form->grab(box).toImage().convertToFormat(QImage::Format_RGB32), expected);

        // Sixteen problems at 20 mm do not fit A4: nothing to print, and why.
        form->Action("actCell20")->trigger();
        form->Action("actProblems16")->trigger();
        form->btnPreviewClick();
        QVERIFY(!form->btnPrint->isEnabled());
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QVERIFY2(dialogs.Boxes[0].Text.startsWith("大きなマス 20 mm では、A4 の用紙に 16 問がのりません。16 問なら 11 mm まで"),
                 qPrintable(dialogs.Boxes[0].Text));
        form->Action("actCell0")->trigger();
        QCOMPARE(form->Settings().CellMM, 0);
    }

    void operationMenuChangesWhatTheWindowMakes()
    {
        GoodPreview();
        Edit("PrnNum")->setText("7");
        form->rgKuriagari->SetItemIndex(3);
        QTest::keyClick(form.get(), Qt::Key_2, Qt::ControlModifier);
        QVERIFY(form->Action("actAddition")->isChecked());
        QVERIFY(static_cast<QLabel*>(form->Control("Label14"))->text().startsWith("たし算の筆算プリントづくり"));
        QCOMPARE(static_cast<QLabel*>(form->Control("Label2"))->text(), QStringLiteral("＋"));
        QCOMPARE(form->rgKuriagari->title(), QStringLiteral("くり上がり"));
        QCOMPARE(form->rgKuriagari->Buttons()[5]->text(), QStringLiteral("くり上がった1でまたくり上がる"));
        QCOMPARE(form->rgKuriagari->ItemIndex(), 0);
        QVERIFY(!form->btnPrint->isEnabled() && !form->Action("actSavePdf")->isEnabled());  // the preview is gone
        QCOMPARE(Edit("u1h")->text(), QStringLiteral("9"));  // every box keeps its text

        // An addition sheet with its answers and their small carried 1s.
        form->Action("actCarryMarks")->trigger();
        form->btnPreviewClick();
        QVERIFY(form->btnPrint->isEnabled());
        form->btnPrintWithAnsClick();
        QCOMPARE(static_cast<int>(printer->Printed.size()), 2);
        const TRecordingCanvas& problems = printer->Printed[0].Page;
        const TRecordingCanvas& answers = printer->Printed[1].Page;
        QCOMPARE(problems.OfKind(TCanvasOp::TextOp).front().Text, std::string("たし算"));
        auto small = [](const TRecordingCanvas& page) {
            int count = 0;
            for (const TCanvasOp& t : page.OfKind(TCanvasOp::TextOp)) count += t.Text == "1" && t.Font.Height < page.Font.Height;
            return count;
        };
        QCOMPARE(small(problems), 0);
        QVERIFY(small(answers) > 0);
        dialogs.FileAnswer.clear();
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(dialogs.FileProposals.back().endsWith("たし算-No8.pdf"));

        // A division: the divisor has two places, and a remainder choice shows.
        Edit("d3h")->setText("5");
        QVERIFY(!form->Control("rgAmari")->isVisible());
        QTest::keyClick(form.get(), Qt::Key_4, Qt::ControlModifier);
        QCOMPARE(static_cast<QLabel*>(form->Control("Label2"))->text(), QStringLiteral("÷"));
        for (const char* box : {"d3l", "d3h", "d4l", "d4h"}) QVERIFY(!Edit(box)->isEnabled() && Edit(box)->text() == "0");
        QVERIFY(form->Control("rgAmari")->isVisible());
        static_cast<TRadioGroup*>(form->Control("rgAmari"))->SetItemIndex(2);
        form->btnPreviewClick();  // two digits by one digit, a remainder each
        form->btnPrintWithAnsClick();
        QString answerTexts;
        for (const TCanvasOp& t : printer->Printed.back().Page.OfKind(TCanvasOp::TextOp)) answerTexts += QString::fromStdString(t.Text) + "|";
        QVERIFY2(answerTexts.startsWith("わり算|") && answerTexts.contains("|あまり（|"), qPrintable(answerTexts));
        QCOMPARE(form->Settings().Amari, 2);

        // Back to multiplication: its title, sign and patterns, and the
        // divisor's unused places hold again what they held before.
        QTest::keyClick(form.get(), Qt::Key_1, Qt::ControlModifier);
        QVERIFY(Edit("d3h")->isEnabled() && !form->Control("rgAmari")->isVisible());
        QCOMPARE(Edit("d3h")->text(), QStringLiteral("5"));
        QCOMPARE(static_cast<QLabel*>(form->Control("Label2"))->text(), QStringLiteral("×"));
        QCOMPARE(form->rgKuriagari->title(), QStringLiteral("３年生初期専用繰り上がり"));

        // A settings file takes the window to its operation, then its pattern.
        TWorksheetSettings subtraction;
        subtraction.Operation = TOperation::Subtraction;
        subtraction.Kuriagari = 5;
        QFile file(folder.filePath("minus.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(SettingsFileText(subtraction)));
        file.close();
        dialogs.FileAnswer = file.fileName();
        form->Action("actOpenSettings")->trigger();
        QVERIFY(form->Action("actSubtraction")->isChecked());
        QCOMPARE(form->rgKuriagari->ItemIndex(), 5);
        QVERIFY(!form->Action("actCarryMarks")->isChecked());
    }

    void helpAndAbout()
    {
        form->Action("actHelp")->trigger();
        form->Action("actAbout")->trigger();
        QCOMPARE(static_cast<int>(dialogs.Documents.size()), 2);
        QCOMPARE(dialogs.Documents[0].first, QStringLiteral("使い方"));
        for (const TOperationRules& rules : Operations())
            for (const std::string& pattern : rules.PatternLabels)
                QVERIFY2(dialogs.Documents[0].second.contains(QString::fromStdString(pattern)), pattern.c_str());
        // What the help says is so.
        const QString& help = dialogs.Documents[0].second;
        for (const char* says : {"まとめて作成", "履歴", "109", "プリント番号も 1", "わる数を何十とみて", "わり算では、商がおさまる範囲"})
            QVERIFY2(help.contains(QString::fromUtf8(says)), says);
        QVERIFY(!help.contains("実物の大きさ"));
        QVERIFY(dialogs.Documents[1].second.contains(ProgramVersion()));
        QVERIFY(dialogs.Documents[1].second.contains("ライセンス"));
    }
};

TAVELIN_TEST_MAIN(MenuTest)
#include "menu_test.moc"
