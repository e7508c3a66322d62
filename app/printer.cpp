#include "app/printer.h"

#include <QCoreApplication>

#include "app/qt_printer.h"

namespace {
TPrinter* installed = nullptr;
TQtPrinter* own = nullptr;
}  // namespace

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
