// The printer object over QPrinter and CUPS.
#pragma once

#include <memory>
#include <string>

#include "app/printer.h"

class QPrinter;
class TQtCanvas;
class TRecordedPage;

// A job's page is recorded while it is drawn, measured as the printer will
// draw it, and put on the printer when the job ends. So a job that fails
// while it is drawn is dropped whole: Qt's CUPS engine cannot abort a job it
// has begun.
class TQtPrinter : public TPrinter {
public:
    TQtPrinter();
    ~TQtPrinter() override;

    void SetPortrait() override;
    int32_t PageHeight() override;
    int32_t PageWidth() override;
    void SetTitle(const std::string& title) override;
    void BeginDoc() override;
    TCanvas& Canvas() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override;
    void Setup(QWidget* owner) override;

    // The selected printer, or null before the first operation that needs one.
    QPrinter* Selected() const { return printer_.get(); }

private:
    QPrinter& SelectedOrDefault();
    QPrinter& ValidPrinter();

    std::unique_ptr<QPrinter> printer_;
    std::string title_;
    std::unique_ptr<TQtCanvas> measurer_;
    std::unique_ptr<TRecordedPage> page_;
};
