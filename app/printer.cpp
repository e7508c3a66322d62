#include "app/printer.h"

#include <QCoreApplication>

#include "app/qt_printer.h"

namespace {
TPrinter* installed = nullptr;
TQtPrinter* own = nullptr;
}  // namespace

TPrintArea PortraitArea(TPrinter& printer)
{
    printer.SetPortrait();
    const int32_t height = printer.PageHeight();
    return {printer.PageWidth(), height};
}

void PrintJob(TPrinter& printer, const std::string& title, const std::function<void()>& draw)
{
    printer.SetTitle(title);
    printer.BeginDoc();
    try {
        draw();
        printer.EndDoc();
    } catch (...) {
        printer.Abort();
        throw;
    }
}

TPrinter& Printer()
{
    if (installed) return *installed;
    if (!own) {
        own = new TQtPrinter;
        // The printer goes with the application object, while Qt is still there.
        qAddPostRoutine([] {
            delete own;
            own = nullptr;
        });
    }
    return *own;
}

void InstallPrinter(TPrinter* printer)
{
    installed = printer;
}
