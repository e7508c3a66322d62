// Tavelin: printed drill sheets of written calculation. With options it
// runs as a command line, without a window.
#include <csignal>
#include <iostream>

#include "app/application.h"
#include "app/dialogs.h"
#include "app/fmain.h"
#include "app/printer.h"
#include "app/qt_printer.h"
#include "cli/command_line.h"

int main(int argc, char** argv)
{
    // A file that reaches the size limit fails to write, and says so, rather
    // than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (HasCommandLineOptions(argc, argv)) return RunCommandLine(argc, argv, std::cout, std::cerr);
    TApplication app(argc, argv);
    TQtPrinter printer([](QWidget* owner, QPrinter& chosen) { return Dialogs().PrinterSetup(owner, chosen); });
    InstallPrinter(&printer);
    int status = 0;
    {
        TForm1 form;
        printer.SetBusyHandler([&form](bool busy) { form.ShowPrinting(busy); });
        form.show();
        status = app.exec();
        printer.SetBusyHandler(nullptr);
    }
    InstallPrinter(nullptr);
    return status;
}
