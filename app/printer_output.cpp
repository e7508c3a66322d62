#include "app/printer_output.h"

TCanvas& TPrinterOutput::NewPage()
{
    if (!begun_) {
        printer_.SetTitle(kJobTitle);
        printer_.BeginDoc();
        begun_ = true;
    } else {
        printer_.NewPage();
    }
    return printer_.Canvas();
}

void TPrinterOutput::Commit()
{
    printer_.EndDoc();
    begun_ = false;
}

void TPrinterOutput::Drop()
{
    if (begun_) printer_.Abort();
    begun_ = false;
}
