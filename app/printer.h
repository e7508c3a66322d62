// The program's printer: the selected printer with its settings, the
// document title and the job state. One object for the whole run, so a
// printer or paper chosen in the setup dialog stays in force.
#pragma once

#include <cstdint>
#include <string>

class QPrinter;
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

    // Opens a job named with the title, on its first page. Raises EPrinter
    // "現在印刷中です" while a job is open, "選択したプリンタは有効ではありません"
    // when the printer cannot take it.
    virtual void BeginDoc() = 0;

    // Ends the current page of the open job and starts another.
    virtual void NewPage() = 0;

    // The current page's surface in printer dots, origin at the top-left
    // corner of the printable area; owned by the printer, valid until the
    // next page or the end of the job.
    virtual TCanvas& Canvas() = 0;

    // Ends the job and hands it over: to the print service, which must
    // accept it, or to the output file. Returns once it was accepted; the
    // window keeps handling events meanwhile. Raises EPrinter or EOSError
    // (saying why) when the service did not accept it, EFileError when the
    // file could not be written (an existing file is replaced: the command
    // asks before the job). Afterwards no job is open, whatever it raises.
    virtual void EndDoc() = 0;

    // Drops an open job: nothing of it is printed. Nothing when none is open.
    virtual void Abort() = 0;

    // A job is open or being handed over, or the printer is being looked
    // up: another print must wait.
    virtual bool Printing() const = 0;

    // The selected printer writes a file instead of printing: a job of
    // several pages becomes one file, and every sheet of a command goes
    // into one job.
    virtual bool OutputIsFile() const = 0;

    // The selected printer as Qt's printer, for the print preview; the
    // default one is selected first (failing as SetPortrait does). Raises
    // EPrinter for a printer the print service no longer knows.
    virtual QPrinter& Device() = 0;

    // Where a job goes, for the user: the printer's name or the file's path.
    virtual std::string Destination() const = 0;

    // The page in millimetres, for 大きなマス: printer dots per millimetre
    // (0: not known), how far the printable area starts from the paper's
    // edge, and the paper's name. Read after PortraitArea.
    virtual double DotsPerMm() { return 0; }
    virtual double PrintableMarginMm() { return 0; }
    virtual std::string PaperName() { return "A4"; }

    // The printer-setup dialog, owned by `owner`, on the selected printer
    // (the default one is selected first, failing as SetPortrait does). OK
    // makes the chosen printer and settings current; Cancel changes nothing.
    // Raises "現在印刷中です" while Printing().
    virtual void Setup(QWidget* owner) = 0;
};

// The printable area of the selected printer, portrait: SetPortrait, then
// PageHeight, then PageWidth, then what 大きなマス needs of it. Raises as
// they do.
struct TPrintArea {
    int32_t Width, Height;
    double DotsPerMm = 0;
    double MarginMm = 0;  // still to keep inside the area: the sheet's margin less the printer's
    std::string PaperName = "A4";
};
TPrintArea PortraitArea(TPrinter& printer);

// The program's printer, as installed where the program starts. Raises
// std::logic_error when none is installed.
TPrinter& Printer();

// Installs `printer` (not owned; it must outlive its use), or none for null.
void InstallPrinter(TPrinter* printer);
