// The printer object over QPrinter and CUPS.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "app/printer.h"

class QByteArray;
class QPrinter;
class TPdfPages;

// QPrinter holds the selected printer and its settings (the setup dialog
// works on it), and gives the page size. A job's pages are recorded while
// they are drawn and made into a PDF when the job ends; the PDF goes to the
// CUPS scheduler on a connection of our own, off the window's thread and
// with a time-out, or into the output file chosen in the setup dialog. So a
// job that fails while it is drawn is dropped whole, and a job counts only
// once the scheduler has accepted it.
class TQtPrinter : public TPrinter {
public:
    // The printer-setup dialog on a copy of the selected printer: true, and
    // the copy changed, when the user chose OK.
    using TAskSetup = std::function<bool(QWidget* owner, QPrinter& printer)>;
    explicit TQtPrinter(TAskSetup askSetup);
    ~TQtPrinter() override;

    void SetPortrait() override;
    int32_t PageHeight() override;
    int32_t PageWidth() override;
    void SetTitle(const std::string& title) override;
    void BeginDoc() override;
    void NewPage() override;
    TCanvas& Canvas() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override;
    bool OutputIsFile() const override;
    std::string Destination() const override;
    QPrinter& Device() override;
    void Setup(QWidget* owner) override;
    double DotsPerMm() override;
    double PrintableMarginMm() override;
    std::string PaperName() override;

    // The selected printer, or null before the first operation that needs one.
    QPrinter* Selected() const { return printer_.get(); }

    // Called with true when a conversation with the print service begins
    // (the window shows that printing is under way) and false when it ends.
    void SetBusyHandler(std::function<void(bool busy)> handler) { busyHandler_ = std::move(handler); }

private:
    QPrinter& SelectedOrDefault();
    QPrinter& ValidPrinter();
    // Runs a conversation with the scheduler off the window's thread; the
    // printer counts as busy meanwhile.
    void Converse(const std::function<void()>& work);
    void WriteOutputFile(const QByteArray& pdf);

    TAskSetup askSetup_;
    std::function<void(bool)> busyHandler_;
    std::unique_ptr<QPrinter> printer_;
    std::string title_;
    std::unique_ptr<TPdfPages> pages_;
    TCanvas* page_ = nullptr;
    bool conversing_ = false;
};
