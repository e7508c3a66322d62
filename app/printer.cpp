#include "app/printer.h"

#include <algorithm>

#include "render/paper_size.h"

#include <stdexcept>

namespace {
TPrinter* installed = nullptr;
}  // namespace

TPrintArea PortraitArea(TPrinter& printer)
{
    printer.SetPortrait();
    const int32_t height = printer.PageHeight();
    const int32_t width = printer.PageWidth();
    return {width, height, printer.DotsPerMm(), std::max(0.0, kSheetMarginMm - printer.PrintableMarginMm()),
            printer.PaperName()};
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
