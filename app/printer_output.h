// A print job as a way out for sheets: its pages go to the printer as one
// job named "Tavelin".
#pragma once

#include "app/printer.h"
#include "sheets/sheet_output.h"

// The printer's job name in the print queue.
inline constexpr const char* kJobTitle = "Tavelin";

class TPrinterOutput : public TSheetOutput {
public:
    // `area` is the printable area the command read (PortraitArea) before it
    // asked what it had to ask.
    TPrinterOutput(TPrinter& printer, TPrintArea area) : printer_(printer), area_(area) {}

    // The job is named "Tavelin" whatever the title.
    TPageArea Begin(const std::string&) override
    {
        return {area_.Width, area_.Height, area_.DotsPerMm, area_.MarginMm, area_.PaperName};
    }
    TCanvas& NewPage() override;
    void Finish() override {}
    // Ends the job and hands it over: raises as TPrinter::EndDoc does.
    void Commit() override;
    void Drop() override;
    std::string Destination() const override { return printer_.Destination(); }

private:
    TPrinter& printer_;
    TPrintArea area_;
    bool begun_ = false;
};
