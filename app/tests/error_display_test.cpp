#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "errors/errors.h"
#include "recording_dialogs.h"
#include "test_main.h"
#include "worksheet/text_to_int.h"

namespace {

// An object whose handler of a posted event raises the exception it holds.
class TThrowingObject : public QObject {
public:
    std::function<void()> Raise;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            Raise();
            return true;
        }
        return QObject::event(e);
    }
};

}  // namespace

class ErrorDisplayTest : public QObject {
    Q_OBJECT

    TRecordingDialogs dialogs;

private slots:
    void init()
    {
        dialogs.Clear();
        InstallDialogs(&dialogs);
    }
    void cleanup() { InstallDialogs(nullptr); }

    void applicationTitle_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::newRow("program") << "Tavelin" << "Tavelin";
        QTest::newRow("upper with extension") << "ABC.EXE" << "Abc";
        QTest::newRow("two dots") << "tavelin.bin.old" << "tavelin";
        QTest::newRow("one letter") << "X" << "X";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("dot first") << ".hidden" << "";
        QTest::newRow("non-ASCII") << "ÄBÇ.exe" << "Äbç";
        QTest::newRow("mixed") << "MyProg" << "Myprog";
    }

    void applicationTitle()
    {
        QFETCH(QString, file);
        QFETCH(QString, title);
        QCOMPARE(ApplicationTitleOf(file), title);
    }

    void errorBoxText_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("plain") << "abc" << "abc.";
        QTest::newRow("conversion") << "'abc' は整数ではありません" << "'abc' は整数ではありません.";
        QTest::newRow("empty text quoted") << "'' は整数ではありません" << "'' は整数ではありません.";
        QTest::newRow("ends in minus") << "ends-" << "ends-";
        QTest::newRow("ends in dot") << "ends." << "ends.";
        QTest::newRow("ends in space") << "ends " << "ends ";
        QTest::newRow("ends in comma") << "ends," << "ends,";
        QTest::newRow("ends in slash") << "ends/" << "ends/.";
        QTest::newRow("ends in digit") << "code 5" << "code 5.";
        QTest::newRow("printer") << "デフォルト プリンタが存在しません" << "デフォルト プリンタが存在しません.";
    }

    void errorBoxText()
    {
        QFETCH(QString, message);
        QFETCH(QString, text);
        QCOMPARE(ErrorBoxText(message.toStdString()), text);
    }

    void exceptionFromAHandlerIsShownAndTheLoopGoesOn_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("conversion") << 0 << "'abc' は整数ではありません.";
        QTest::newRow("printer") << 1 << "現在印刷中です.";
        QTest::newRow("system") << 2 << "OS 機能呼び出しの失敗.";
        QTest::newRow("other") << 3 << "something else.";
    }

    void exceptionFromAHandlerIsShownAndTheLoopGoesOn()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        TThrowingObject object;
        object.Raise = [kind] {
            switch (kind) {
            case 0: TextToInt("abc"); break;
            case 1: throw EPrinter("現在印刷中です");
            case 2: throw EOSError("OS 機能呼び出しの失敗");
            default: throw std::logic_error("something else");
            }
        };
        QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
        bool loopWentOn = false;
        QTimer::singleShot(0, [&] { loopWentOn = true; });
        QTRY_VERIFY(loopWentOn);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QCOMPARE(dialogs.Boxes[0].Caption, ApplicationTitle());
        QCOMPARE(dialogs.Boxes[0].Text, text);
        QVERIFY(dialogs.Boxes[0].Icon == TDialogs::TIcon::Critical);
    }

    // A file named "<u>x.pdf" is shown as it is named, never as markup, in
    // the window's message and question boxes alike; out of memory is said in
    // Japanese.
    void boxesShowTextsAsTheyStand()
    {
        InstallDialogs(nullptr);
        QStringList shown;
        QList<Qt::TextFormat> formats;
        auto closeBox = [&] {
            QTimer::singleShot(50, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    shown << box->text();
                    formats << box->textFormat();
                    box->reject();
                }
            });
        };
        closeBox();
        Dialogs().MessageBox(nullptr, "Tavelin", "ファイル「<u>x.pdf</u>」", TDialogs::TIcon::Warning);
        closeBox();
        Dialogs().Confirm(nullptr, "Tavelin", "「<b>y</b>.pdf」を置き換えますか？");
        QCOMPARE(shown, (QStringList{"ファイル「<u>x.pdf</u>」", "「<b>y</b>.pdf」を置き換えますか？"}));
        QCOMPARE(formats, (QList<Qt::TextFormat>{Qt::PlainText, Qt::PlainText}));
        QCOMPARE(QString::fromStdString(MessageOf(std::bad_alloc())), QStringLiteral("メモリが足りません。終わりまでできなかったので、何も書いていません"));
    }

    void boxIsOwnedByTheActiveWindow()
    {
        QWidget window;
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ShowErrorMessage("x");
        QCOMPARE(dialogs.Boxes.at(0).Owner, &window);
    }

    void secondErrorWhileTheBoxIsOpenIsNotShown()
    {
        TThrowingObject object;
        object.Raise = [] { throw EPrinter("first"); };
        dialogs.WhileBoxOpen = [&](const TRecordingDialogs::TBox&) {
            // Something in the nested loop of the open box fails again.
            TThrowingObject again;
            again.Raise = [] { throw EPrinter("second"); };
            QEvent e(QEvent::User);
            QCoreApplication::sendEvent(&again, &e);
        };
        QEvent e(QEvent::User);
        QCoreApplication::sendEvent(&object, &e);
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 1);
        QCOMPARE(dialogs.Boxes[0].Text, QStringLiteral("first."));
        dialogs.WhileBoxOpen = nullptr;
        QCoreApplication::sendEvent(&object, &e);  // the guard is released afterwards
        QCOMPARE(static_cast<int>(dialogs.Boxes.size()), 2);
    }

    void calledOffCommandsShowNothing()
    {
        RunGuarded([] { throw EAbort(); });
        QVERIFY(dialogs.Boxes.empty());
    }

    void qtsOwnDialogsSpeakJapanese_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::newRow("print dialog") << "QPrintDialog" << "Print" << "印刷";
        QTest::newRow("print preview") << "QPrintPreviewDialog" << "Print Preview" << "印刷のプレビュー";
        QTest::newRow("file dialog") << "QFileDialog" << "Save As" << "名前を付けて保存";
        QTest::newRow("edit menu") << "QLineEdit" << "&Undo" << "元に戻す(&U)";
    }

    void qtsOwnDialogsSpeakJapanese()
    {
        QFETCH(QString, context);
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        QCOMPARE(QCoreApplication::translate(context.toLatin1(), english.toLatin1()), japanese);
    }
};

TAVELIN_TEST_MAIN(ErrorDisplayTest)
#include "error_display_test.moc"
