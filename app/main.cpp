// Tavelin: printed drill sheets of written calculation. With options it
// runs as a command line, without a window.
#include <QtGlobal>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/application.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/history_log.h"
#include "app/printer.h"
#include "app/qt_printer.h"
#include "cli/command_line.h"

int main(int argc, char** argv)
{
    // A file that reaches the size limit fails to write, and says so, rather
    // than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const bool outputClosed = KeepStandardStreamsOpen();
    if (HasCommandLineOptions(argc, argv)) {
        try {
            return RunCommandLine(argc, argv, std::cout, std::cerr, outputClosed);
        } catch (const std::exception& e) {
            // Out of memory before or after the run itself.
            std::cerr << WithFinalPeriod(MessageOf(e)) << "\n";
            return 1;
        }
    }
    // The window needs a screen; without one, say so in words instead of
    // Qt's abort.
    if (!HasDisplay()) {
        std::cerr << NoDisplayMessage() << "\n";
        return 1;
    }
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return;
        }
        std::cerr << NoDisplayMessage() << "\n";
        std::_Exit(1);
    });
    TApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    TQtPrinter printer([](QWidget* owner, QPrinter& chosen) { return Dialogs().PrinterSetup(owner, chosen); });
    InstallPrinter(&printer);
    int status = 0;
    {
        TForm1 form;
        printer.SetBusyHandler([&form](bool busy) { form.ShowPrinting(busy); });
        HistoryLog().SetProgress([&form](const std::string& words) { form.ShowBusy(QString::fromStdString(words)); });
        form.show();
        status = app.exec();
        HistoryLog().SetProgress(nullptr);
        printer.SetBusyHandler(nullptr);
    }
    InstallPrinter(nullptr);
    return status;
}
