#include <QApplication>
#include <QMenuBar>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>

#include <cmath>
#include <memory>

#include "app/controls.h"
#include "app/control_specs.h"
#include "app/fmain.h"
#include "render/qt_fonts.h"
#include "app/glyphs.h"
#include "window_fixture.h"
#include "test_main.h"
#include "worksheet/problems.h"

namespace {

// The contrast of two colours as WCAG measures it, 1:1 to 21:1.
double ContrastRatio(const QColor& a, const QColor& b)
{
    auto luminance = [](const QColor& c) {
        auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

const char* const kDigitBoxes[] = {"u1l", "u1h", "u2l", "u2h", "u3l", "u3h", "u4l", "u4h",
                                   "d1l", "d1h", "d2l", "d2h", "d3l", "d3h", "d4l", "d4h"};

// The name of the control that has the focus: a radio item reports its group.
QString FocusName()
{
    QWidget* w = QApplication::focusWidget();
    if (!w) return QStringLiteral("(none)");
    if (auto* radio = qobject_cast<QRadioButton*>(w)) return w->parentWidget()->objectName() + "/" + radio->text();
    return w->objectName();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    TWindowFixture window;
    std::unique_ptr<TForm1>& form = window.Form;
    TRecordingDialogs& dialogs = window.Dialogs;

    template <typename T = QWidget>
    T* Find(const char* name)
    {
        auto* w = form->findChild<T*>(QString::fromLatin1(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }

    void Press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(target, key, modifiers);
    }

private slots:
    void initTestCase() { window.InstallSeams(); }
    void cleanupTestCase() { window.RemoveSeams(); }

    void init()
    {
        // FormCreate must reset these.
        QVERIFY(window.Open(true, [] { QuestionCount = PrintNumber = ShowAnswers = PreviewReady = 5; }));
    }

    void cleanup() { window.Close(); }

    void controlLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("enabled");
        const QString pg = QStringLiteral("ＭＳ Ｐゴシック"), mincho = QStringLiteral("ＭＳ 明朝");
        auto row = [](const char* name, const char* cls, QRect r, const QString& text, const QString& hint,
                      const QString& face, int px, bool enabled) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << r << text << hint << face
                                << px << enabled;
        };
        row("u1l", "QLineEdit", {288, 176, 17, 23}, "0", "一の位の範囲を入力", pg, 15, true);
        row("u4h", "QLineEdit", {104, 176, 17, 23}, "0", "千の位の範囲を入力", pg, 15, true);
        row("d2l", "QLineEdit", {216, 224, 17, 23}, "0", "十の位の範囲を入力", pg, 15, true);
        row("d3h", "QLineEdit", {176, 224, 17, 23}, "0", "百の位の範囲を入力", pg, 15, true);
        row("AnsLow", "QLineEdit", {136, 280, 81, 23}, "0", "答えの範囲を入力", pg, 15, true);
        row("AnsHigh", "QLineEdit", {264, 280, 81, 23}, "0", "答えの範囲を入力", pg, 15, true);
        row("PrnNum", "QLineEdit", {288, 320, 57, 23}, "1", "プリント番号を入力", pg, 15, true);
        row("QstSentence", "QLineEdit", {16, 120, 345, 23}, "つぎの計算をしましょう。", "問題文を入力", pg, 15, true);
        row("Label12", "QLabel", {512, 4, 91, 13}, "ﾌﾟﾚﾋﾞｭｰ画面↓", "", mincho, 13, true);
        row("Label2", "QLabel", {24, 224, 33, 33}, "×", "", pg, 33, true);
        row("Label11", "QLabel", {232, 284, 20, 20}, "～", "", pg, 20, true);
        row("Label7", "QLabel", {88, 228, 15, 15}, "～", "", pg, 15, true);
        row("Label6", "QLabel", {304, 180, 15, 15}, "～", "", pg, 15, true);
        row("Label16", "QLabel", {32, 284, 74, 15}, "答えの範囲", "", pg, 15, true);
        row("Label15", "QLabel", {200, 320, 76, 15}, "プリント番号", "", pg, 15, true);
        row("Bevel3", "TBevel", {280, 168, 65, 41}, "", "", pg, 15, true);
        row("Bevel7", "TBevel", {64, 216, 65, 41}, "", "", pg, 15, true);
        row("Bevel1", "TBevel", {384, 24, 337, 457}, "", "", pg, 15, true);
        row("Shape1", "TShape", {24, 264, 329, 5}, "", "", pg, 15, true);
        row("PaintBox1", "TPaintBox", {392, 32, 320, 441}, "", "", pg, 15, true);
        row("rgKuriagari", "TRadioGroup", {16, 309, 178, 97}, "３年生初期専用繰り上がり", "", pg, 13, true);
        row("QNumPattern", "TRadioGroup", {200, 341, 81, 68}, "問題数", "", pg, 13, true);
        row("rgWaku", "TRadioGroup", {288, 349, 65, 57}, "枠の有無", "", pg, 13, true);
        row("btnPreview", "QPushButton", {8, 424, 129, 25}, "プレビュー", "印刷イメージを見る", pg, 15, true);
        row("btnPrint", "QPushButton", {144, 424, 129, 25}, "印刷", "解答なしで印刷", pg, 15, false);
        row("btnMaintenance", "QPushButton", {8, 456, 129, 25}, "印刷設定", "印刷の設定を変更", pg, 15, true);
        row("btnPrintWithAns", "QPushButton", {144, 456, 129, 25}, "印刷（答えつき）", "解答ありで印刷", pg, 15, false);
        row("btnClose", "QPushButton", {280, 456, 89, 25}, "終了", "プログラムを終了", pg, 15, true);
    }

    void controlLayout()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        QFETCH(QString, face);
        QFETCH(int, pixelSize);
        QFETCH(bool, enabled);
        QWidget* w = Find(name.toLatin1().constData());
        const QString cls = QString::fromLatin1(w->metaObject()->className());
        if (className.startsWith('T')) {
            const bool ok = (className == "TBevel" && dynamic_cast<TBevel*>(w)) ||
                            (className == "TShape" && dynamic_cast<TShape*>(w)) ||
                            (className == "TPaintBox" && dynamic_cast<TPaintBox*>(w)) ||
                            (className == "TRadioGroup" && dynamic_cast<TRadioGroup*>(w));
            QVERIFY2(ok, qPrintable(name + " is not a " + className));
        } else {
            QCOMPARE(cls, className);
        }
        QCOMPARE(w->geometry(), geometry);
        if (auto* e = qobject_cast<QLineEdit*>(w)) QCOMPARE(e->text(), text);
        if (auto* l = qobject_cast<QLabel*>(w)) QCOMPARE(l->text(), text);
        if (auto* b = qobject_cast<QPushButton*>(w)) QCOMPARE(b->text(), text);
        if (auto* g = dynamic_cast<TRadioGroup*>(w)) QCOMPARE(g->title(), text);
        QCOMPARE(w->toolTip(), hint);
        // The face by the installed family that stands in for it.
        QCOMPARE(w->font().family(), InstalledFamily(face.toStdString()));
        QCOMPARE(w->font().pixelSize(), pixelSize);
        QCOMPARE(w->isEnabled(), enabled);
        if (!hint.isEmpty()) QCOMPARE(w->toolTipDuration(), 2500);
    }

    void labelColours()
    {
        QCOMPARE(Find("Label14")->palette().color(QPalette::WindowText), QColor(128, 0, 128));
        // Teal, readable: at least 4.5:1 against the window's own grey.
        const QColor teal = Find("Label12")->palette().color(QPalette::WindowText);
        QVERIFY(teal.red() == 0 && teal.green() == teal.blue() && teal.green() > 0);
        const double contrast = ContrastRatio(teal, form->palette().color(QPalette::Window));
        QVERIFY2(contrast >= 4.5, qPrintable(QString::number(contrast)));
        QCOMPARE(Find<QLabel>("Label14")->text().count('\n'), 1);
    }

    void editLimits()
    {
        for (const char* name : kDigitBoxes) QCOMPARE(Find<QLineEdit>(name)->maxLength(), 1);
        QCOMPARE(Find<QLineEdit>("AnsLow")->maxLength(), 9);
        QCOMPARE(Find<QLineEdit>("AnsHigh")->maxLength(), 9);
        QCOMPARE(Find<QLineEdit>("PrnNum")->maxLength(), 32767);  // Qt's "no limit"
        QCOMPARE(Find<QLineEdit>("QstSentence")->maxLength(), 32767);

        auto* digit = Find<QLineEdit>("d2h");
        digit->clear();
        QTest::keyClicks(digit, "12");
        QCOMPARE(digit->text(), QStringLiteral("1"));
        auto* ans = Find<QLineEdit>("AnsLow");
        ans->clear();
        QTest::keyClicks(ans, "1234567890");
        QCOMPARE(ans->text(), QStringLiteral("123456789"));
    }

    void radioItems()
    {
        const QStringList kuriagari = {"指定なし", "一、十位なし", "一位あり十位なし", "一位なし十位あり",
                                       "十位の和であり(1桁+1桁)", "十位の和であり(1桁+2桁)"};
        const struct {
            const char* name;
            QStringList items;
        } groups[] = {{"rgKuriagari", kuriagari}, {"QNumPattern", {"３段４列", "４段４列"}}, {"rgWaku", {"あり", "なし"}}};
        for (const auto& g : groups) {
            auto* group = Find<TRadioGroup>(g.name);
            QCOMPARE(static_cast<int>(group->Buttons().size()), g.items.size());
            for (int i = 0; i < g.items.size(); ++i) {
                QCOMPARE(group->Buttons()[static_cast<size_t>(i)]->text(), g.items[i]);
                QVERIFY(group->Buttons()[static_cast<size_t>(i)]->toolTip().isEmpty());
            }
            QCOMPARE(group->ItemIndex(), 0);
        }
    }

    void startState()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("Tavelin"));
        // The laid-out client area, and above it the menu bar.
        QCOMPARE(form->ClientArea->size(), QSize(734, 495));
        QVERIFY(form->MenuBar->height() > 0);
        QCOMPARE(form->ClientArea->y(), form->MenuBar->height());
        QCOMPARE(form->size(), QSize(734, form->MenuBar->height() + 495 + TForm1::kStatusLineHeight));
        QCOMPARE(FocusName(), QStringLiteral("u1l"));
        QCOMPARE(QuestionCount, 0);
        QCOMPARE(PreviewReady, 0);
        QCOMPARE(PrintNumber, 1);
        QCOMPARE(ShowAnswers, 5);  // FormCreate leaves it alone; it is 0 from program load
        const TWorksheetSettings s = form->Settings();
        const TWorksheetSettings defaults;
        QCOMPARE(s.u1l, defaults.u1l);
        QCOMPARE(s.d4h, defaults.d4h);
        QCOMPARE(s.AnsLow, std::string("0"));
        QCOMPARE(s.AnsHigh, std::string("0"));
        QCOMPARE(s.PrnNum, std::string("1"));
        QCOMPARE(s.QstSentence, defaults.QstSentence);
        QCOMPARE(s.Kuriagari, 0);
        QCOMPARE(s.QNumPattern, 0);
        QCOMPARE(s.Waku, 0);
        QVERIFY(!form->windowIcon().isNull());
        QVERIFY(dialogs.Boxes.empty());
    }

    void centredOnTheScreen()
    {
        const QRect screen = form->screen()->availableGeometry();
        QVERIFY(qAbs(form->frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(form->frameGeometry().center().y() - screen.center().y()) <= 1);
    }

    void tabOrderForwardAndBack()
    {
        QStringList expected;
        for (const char* name : kDigitBoxes) expected << name;
        expected.removeFirst();  // the walk starts in u1l
        expected << "AnsLow" << "AnsHigh" << "PrnNum" << "QstSentence"
                 << "btnPreview" << "btnMaintenance" << "btnClose"  // the print buttons are disabled
                 << "QNumPattern/３段４列" << "rgWaku/あり" << "rgKuriagari/指定なし" << "u1l";
        QStringList walked;
        for (int i = 0; i < expected.size(); ++i) {
            Press(QApplication::focusWidget(), Qt::Key_Tab);
            walked << FocusName();
        }
        QCOMPARE(walked, expected);

        QStringList back;
        for (int i = 0; i < expected.size(); ++i) {
            Press(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            back << FocusName();
        }
        QStringList reversed(expected.rbegin() + 1, expected.rend());
        reversed << "u1l";
        QCOMPARE(back, reversed);
    }

    void enabledPrintButtonsJoinTheTabOrder()
    {
        Find("btnPrint")->setEnabled(true);
        Find("btnPrintWithAns")->setEnabled(true);
        Find("QstSentence")->setFocus(Qt::TabFocusReason);
        QStringList walked;
        for (int i = 0; i < 5; ++i) {
            Press(QApplication::focusWidget(), Qt::Key_Tab);
            walked << FocusName();
        }
        QCOMPARE(walked, QStringList({"btnPrint", "btnPrintWithAns", "btnPreview", "btnMaintenance", "btnClose"}));
    }

    void arrowKeysMoveTheSelectionInsideAGroup()
    {
        auto* waku = Find<TRadioGroup>("rgWaku");
        waku->Buttons()[0]->setFocus(Qt::TabFocusReason);
        Press(waku->Buttons()[0], Qt::Key_Down);
        QCOMPARE(waku->ItemIndex(), 1);
        QCOMPARE(FocusName(), QStringLiteral("rgWaku/なし"));
        // The group stays one tab stop: Tab leaves it for the next group.
        Press(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(FocusName(), QStringLiteral("rgKuriagari/指定なし"));
        Press(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(FocusName(), QStringLiteral("rgWaku/なし"));
        Press(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(waku->ItemIndex(), 0);
    }

    void emptiedDigitBoxGetsZeroBackOnTab()
    {
        auto* box = Find<QLineEdit>("u3h");
        box->setFocus(Qt::TabFocusReason);
        box->clear();
        Press(box, Qt::Key_Tab);
        QCOMPARE(box->text(), QStringLiteral("0"));
        QCOMPARE(FocusName(), QStringLiteral("u4l"));
    }

    void emptiedDigitBoxGetsZeroBackBeforeAClickRuns()
    {
        auto* box = Find<QLineEdit>("u3h");
        box->setFocus(Qt::TabFocusReason);
        box->clear();
        auto* maintenance = Find<QPushButton>("btnMaintenance");
        QString seenAtClick = QStringLiteral("(not clicked)");
        connect(maintenance, &QPushButton::clicked, this, [&] { seenAtClick = box->text(); });
        QTest::mouseClick(maintenance, Qt::LeftButton);
        QCOMPARE(seenAtClick, QStringLiteral("0"));
    }

    void otherTextsStayAsTyped()
    {
        auto* d1l = Find<QLineEdit>("d1l");
        d1l->setFocus(Qt::TabFocusReason);
        d1l->clear();
        QTest::keyClicks(d1l, " ");
        Press(d1l, Qt::Key_Tab);
        QCOMPARE(d1l->text(), QStringLiteral(" "));

        auto* ansLow = Find<QLineEdit>("AnsLow");
        ansLow->setFocus(Qt::TabFocusReason);
        ansLow->clear();
        Press(ansLow, Qt::Key_Tab);
        QCOMPARE(ansLow->text(), QString());
    }

    void losingTheWindowIsNotLeavingTheBox()
    {
        auto* box = Find<QLineEdit>("u2l");
        box->setFocus(Qt::TabFocusReason);
        box->clear();
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(box, &out);
        QCOMPARE(box->text(), QString());
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(box, &popup);
        QCOMPARE(box->text(), QString());
        QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &tab);
        QCOMPARE(box->text(), QStringLiteral("0"));
    }

    void settingsFollowTheControls()
    {
        Find<QLineEdit>("u3h")->setText("7");
        Find<QLineEdit>("d4l")->setText("2");
        Find<QLineEdit>("AnsHigh")->setText("500");
        Find<QLineEdit>("QstSentence")->setText("がんばろう");
        Find<TRadioGroup>("rgKuriagari")->SetItemIndex(5);
        Find<TRadioGroup>("QNumPattern")->SetItemIndex(1);
        Find<TRadioGroup>("rgWaku")->SetItemIndex(1);
        const TWorksheetSettings s = form->Settings();
        QCOMPARE(s.u3h, std::string("7"));
        QCOMPARE(s.d4l, std::string("2"));
        QCOMPARE(s.AnsHigh, std::string("500"));
        QCOMPARE(s.QstSentence, std::string("がんばろう"));
        QCOMPARE(s.Kuriagari, 5);
        QCOMPARE(s.QNumPattern, 1);
        QCOMPARE(s.Waku, 1);
    }

    // The decimals' band opens under the digit rows and closes again, every
    // other control back where it was; its boxes go into the settings.
    void decimalPlacesHaveABandOfTheirOwn()
    {
        const QRect answers = Find("AnsLow")->geometry(), preview = Find("PaintBox1")->geometry();
        const int height = form->height();
        QVERIFY(!Find("u01l")->isVisibleTo(form.get()));
        form->SetOperation(TOperation::DecimalDivision);
        QVERIFY(Find("u01l")->isVisibleTo(form.get()) && Find("d0001h")->isVisibleTo(form.get()));
        QCOMPARE(Find("AnsLow")->geometry(), answers.translated(0, kDecimalBandHeight));
        QCOMPARE(Find("PaintBox1")->geometry(), preview);
        QCOMPARE(form->height(), height + kDecimalBandHeight);
        Find<QLineEdit>("u01l")->setText("1");
        Find<QLineEdit>("d001h")->setText("9");
        const TWorksheetSettings s = form->Settings();
        QVERIFY(s.Operation == TOperation::DecimalDivision && s.u01l == "1" && s.d001h == "9");
        QCOMPARE(Find("d001h")->accessibleName(), QStringLiteral("わる数 1/100の位 いちばん大きい数字"));
        form->SetOperation(TOperation::Multiplication);
        QVERIFY(!Find("u01l")->isVisibleTo(form.get()));
        QCOMPARE(Find("AnsLow")->geometry(), answers);
        QCOMPARE(form->height(), height);
    }

    void resizingMovesNothing()
    {
        const QRect before = Find("PaintBox1")->geometry();
        const QRect close = Find("btnClose")->geometry();
        form->resize(1000, 700);
        QCOMPARE(Find("PaintBox1")->geometry(), before);
        QCOMPARE(Find("btnClose")->geometry(), close);
        form->resize(400, 300);
        QCOMPARE(Find("PaintBox1")->geometry(), before);
    }

    void closeButtonEndsTheWindow()
    {
        QTest::mouseClick(Find<QPushButton>("btnClose"), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QVERIFY(dialogs.Boxes.empty());
    }

    void glyphs()
    {
        for (TGlyph glyph : {TGlyph::Preview, TGlyph::Printer, TGlyph::Maintenance, TGlyph::Close}) {
            const QImage image = GlyphPixmap(glyph).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(image.size(), QSize(16, 16));
            QCOMPARE(qAlpha(image.pixel(0, 15)), 0);  // the grey background is transparent
            int opaque = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) opaque += qAlpha(image.pixel(x, y)) == 255;
            QVERIFY(opaque > 40);
        }
        const QIcon printer = Find<QPushButton>("btnPrint")->icon();
        const QImage normal = printer.pixmap(16, 16, QIcon::Normal).toImage();
        const QImage disabled = printer.pixmap(16, 16, QIcon::Disabled).toImage();
        QVERIFY(normal != disabled);  // greyed while disabled
        QVERIFY(!Find<QPushButton>("btnClose")->icon().isNull());
        QCOMPARE(ProgramIcon().availableSizes().value(0), QSize(32, 32));
    }

    void toolTipTiming()
    {
        QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
        QCOMPARE(Find("u4l")->toolTip(), QStringLiteral("千の位の範囲を入力"));
        QVERIFY(Find("Label13")->toolTip().isEmpty());
        QVERIFY(Find("rgWaku")->toolTip().isEmpty());
    }
};

TAVELIN_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
