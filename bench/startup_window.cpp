// The time until the window appears, as a whole program run: started, its
// window shown and painted once, then ended. Built twice: as the program's
// own start (the same steps as main) and, with TAVELIN_BARE, as a bare Qt
// window of the same size with a menu bar of the same menus and items, its
// floor. bench/startup_run.sh times both side by side.
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#ifndef TAVELIN_BARE
#include "app/application.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/printer.h"
#include "app/qt_printer.h"
#endif

namespace {

// Ends the program once the window has been painted.
class TQuitWhenPainted : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }
};

#ifdef TAVELIN_BARE
// The same menus with as many items as the program's, without commands.
void FillMenuBar(QMenuBar& bar)
{
    const struct {
        const char* Caption;
        int Items;
    } menus[] = {{"ファイル(&F)", 9}, {"計算(&K)", 4}, {"設定(&O)", 7}, {"ヘルプ(&H)", 2}};
    for (const auto& menu : menus) {
        QMenu* m = bar.addMenu(QString::fromUtf8(menu.Caption));
        for (int i = 0; i < menu.Items; ++i) m->addAction(QStringLiteral("項目%1").arg(i));
    }
}
#endif

}  // namespace

int main(int argc, char** argv)
{
    TQuitWhenPainted quit;
#ifdef TAVELIN_BARE
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tavelin"));
    QMenuBar bar(&window);
    FillMenuBar(bar);
    window.resize(734, 495 + bar.sizeHint().height());
    window.installEventFilter(&quit);
    window.show();
    return app.exec();
#else
    TApplication app(argc, argv);
    TQtPrinter printer([](QWidget* owner, QPrinter& chosen) { return Dialogs().PrinterSetup(owner, chosen); });
    InstallPrinter(&printer);
    int status = 0;
    {
        TForm1 form;
        form.installEventFilter(&quit);
        form.show();
        status = app.exec();
    }
    InstallPrinter(nullptr);
    return status;
#endif
}
