#include "app/printer.h"

#include <stdexcept>

namespace {
TPrinter* installed = nullptr;
}  // namespace

TPrintArea PortraitArea(TPrinter& printer)
{
    printer.SetPortrait();
    const int32_t height = printer.PageHeight();
    return {printer.PageWidth(), height};
}

TPrinter& Printer()
{
    if (!installed) throw std::logic_error("no printer is installed");
    return *installed;
}

void InstallPrinter(TPrinter* printer)
{
    installed = printer;
}
