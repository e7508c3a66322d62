// Heard as well as seen: every control that takes the focus, in the window
// and in every dialog, has a name of its own that a screen reader speaks,
// and Tab reaches every one of them.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QPushButton>
#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <map>
#include <memory>
#include <set>

#include "app/class_set_dialog.h"
#include "app/dialogs.h"
#include "app/history_window.h"
#include "history/history.h"
#include "test_main.h"
#include "window_fixture.h"
#include "worksheet/operations.h"

namespace {

// The controls under `root` that Tab may stop at now.
std::vector<QWidget*> Focusable(QWidget* root)
{
    std::vector<QWidget*> found;
    for (QWidget* w : root->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(root) && w->isEnabled() && !w->focusProxy())
            found.push_back(w);
    return found;
}

QString SpokenName(QWidget* w)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

// Every focusable control has a name, and no two have the same one.
QString NamesProblem(QWidget* root)
{
    std::map<QString, QString> seen;  // name → object name
    for (QWidget* w : Focusable(root)) {
        const QString name = SpokenName(w), who = w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
        if (name.isEmpty()) return who + ": no name";
        if (seen.count(name)) return who + " and " + seen[name] + ": both \"" + name + "\"";
        seen[name] = who;
    }
    return {};
}

// Tab, from the first control on, reaches every control (one item of each
// radio group).
QString TabProblem(QWidget* root)
{
    const std::vector<QWidget*> all = Focusable(root);
    if (all.empty()) return {};
    all.front()->setFocus(Qt::TabFocusReason);
    std::set<QWidget*> reached;
    QString order;
    for (size_t i = 0; i < all.size() * 2 + 4; ++i) {
        reached.insert(QApplication::focusWidget());
        if (QApplication::focusWidget()) order += SpokenName(QApplication::focusWidget()) + " / ";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // A radio group is one stop, reached at one of its items.
    auto groupOf = [](QWidget* w) -> QObject* {
        auto* radio = qobject_cast<QRadioButton*>(w);
        if (!radio) return nullptr;
        return radio->group() ? static_cast<QObject*>(radio->group()) : radio->parent();
    };
    std::set<QObject*> groupsReached;
    for (QWidget* w : reached)
        if (QObject* group = w ? groupOf(w) : nullptr) groupsReached.insert(group);
    for (QWidget* w : all) {
        if (reached.count(w)) continue;
        if (QObject* group = groupOf(w); group && groupsReached.count(group)) continue;
        return (w->objectName().isEmpty() ? SpokenName(w) : w->objectName()) + " is never reached by Tab: " + order;
    }
    return {};
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

    TWindowFixture window;

private slots:
    void initTestCase() { window.InstallSeams(); }
    void cleanupTestCase() { window.RemoveSeams(); }
    void init() { QVERIFY(window.Open()); }
    void cleanup() { window.Close(); }

    // The twenty boxes can be told apart by ear, in every operation.
    void windowControlsHaveNamesOfTheirOwn()
    {
        for (const TOperationRules& rules : Operations()) {
            window.Form->SetOperation(rules.Operation);
            window.Form->btnPrint->setEnabled(true);
            window.Form->btnPrintWithAns->setEnabled(true);
            const QString problem = NamesProblem(window.Form.get());
            QVERIFY2(problem.isEmpty(), qPrintable(QString::fromUtf8(rules.Name) + ": " + problem));
        }
        QCOMPARE(SpokenName(window.Form->Control("u1l")), QStringLiteral("わられる数 一の位 いちばん小さい数字"));
        QCOMPARE(SpokenName(window.Form->Control("d2h")), QStringLiteral("わる数 十の位 いちばん大きい数字"));
        QCOMPARE(SpokenName(window.Form->Control("AnsHigh")), QStringLiteral("答えの範囲 上限"));
        QCOMPARE(SpokenName(window.Form->Control("PrnNum")), QStringLiteral("プリント番号"));
        window.Form->SetOperation(TOperation::Multiplication);
        QCOMPARE(SpokenName(window.Form->Control("u1l")), QStringLiteral("かけられる数 一の位 いちばん小さい数字"));
        QVERIFY2(TabProblem(window.Form.get()).isEmpty(), qPrintable(TabProblem(window.Form.get())));
    }

    void dialogsHaveNamesAndTabReachesEverything()
    {
        TClassSetRequest request;
        TClassSetDialog classSet(window.Form.get(), request);
        QTemporaryDir folder;
        THistory history(folder.filePath("history.sqlite3").toStdString());
        std::vector<THistorySheet> sheets(1);
        sheets[0].Settings = R"({"format": "tavelin-settings", "version": 2})";
        sheets[0].Problems = {{12, 3}, {45, 6}, {78, 9}, {21, 4}};
        history.Record(sheets);
        THistoryWindow historyWindow(window.Form.get(), history, {});
        for (QDialog* dialog : std::initializer_list<QDialog*>{&classSet, &historyWindow}) {
            dialog->show();
            QApplication::setActiveWindow(dialog);
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            const QString names = NamesProblem(dialog), tab = TabProblem(dialog);
            QVERIFY2(names.isEmpty(), qPrintable(dialog->windowTitle() + ": " + names));
            QVERIFY2(tab.isEmpty(), qPrintable(dialog->windowTitle() + ": " + tab));
            dialog->hide();
        }
    }

    // Help and About: named, left by Tab, and the About box as large as its text.
    void documentsAreNamedAndSizedToTheirText()
    {
        InstallDialogs(nullptr);
        QString problem;
        int spare = -1;
        QTimer::singleShot(100, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box) return;
            problem = NamesProblem(box) + TabProblem(box);
            if (auto* text = box->findChild<QTextBrowser*>())
                spare = text->viewport()->height() - static_cast<int>(text->document()->size().height());
            box->close();
        });
        Dialogs().ShowDocument(window.Form.get(), QStringLiteral("このプログラムについて"), QStringLiteral("<h2>Tavelin</h2><p>筆算プリント</p>"));
        window.InstallSeams();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY2(spare >= 0 && spare <= 12, qPrintable(QString::number(spare)));
    }
};

TAVELIN_TEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
