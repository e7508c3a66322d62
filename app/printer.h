// The program's printer: the selected printer with its settings, the
// document title and the job state. One object for the whole run, so a
// printer or paper chosen in the setup dialog stays in force.
#pragma once

#include <cstdint>
#include <string>

class QWidget;
class TCanvas;

class TPrinter {
public:
    virtual ~TPrinter() = default;

    // Sets the orientation to portrait, for the page size read next and every
    // later job. Selects the system's default printer first when none is
    // selected yet. Raises EPrinter "現在印刷中です" while a job is open,
    // "デフォルト プリンタが存在しません" when there is no default printer,
    // "選択されたプリンタではサポートされていない機能です" when the printer's
    // settings cannot be had; EOSError when the printer list cannot be read.
    virtual void SetPortrait() = 0;

    // The printable area in printer dots. Raises EPrinter
    // "選択したプリンタは有効ではありません" for a printer that is not valid.
    virtual int32_t PageHeight() = 0;
    virtual int32_t PageWidth() = 0;

    // Kept for the next job's name in the print queue.
    virtual void SetTitle(const std::string& title) = 0;

    // Opens a job of one page named with the title. Raises EPrinter
    // "現在印刷中です" while a job is open, "選択したプリンタは有効ではありません"
    // when the printer cannot take it.
    virtual void BeginDoc() = 0;

    // The page's surface in printer dots, origin at the top-left corner of
    // the printable area; owned by the printer, valid while the job is open.
    virtual TCanvas& Canvas() = 0;

    // Ends the page and the job, which the spooler then prints. Afterwards no
    // job is open, whatever it raises.
    virtual void EndDoc() = 0;

    // Drops an open job: nothing of it is printed. Nothing when none is open.
    virtual void Abort() = 0;

    virtual bool Printing() const = 0;

    // The printer-setup dialog, owned by `owner`, on the selected printer
    // (the default one is selected first, failing as SetPortrait does). OK
    // makes the chosen printer and settings current; Cancel changes nothing.
    virtual void Setup(QWidget* owner) = 0;
};

// The program-wide printer, created at first use.
TPrinter& Printer();

// Installs `printer` in its place (not owned), or the program's own for null.
void InstallPrinter(TPrinter* printer);
