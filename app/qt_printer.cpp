#include "app/qt_printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <stdexcept>

#include "app/dialogs.h"
#include "app/errors.h"
#include "render/qt_canvas.h"
#include "render/recorded_page.h"

namespace {

const char* const kBusy = "現在印刷中です";
const char* const kNoDefault = "デフォルト プリンタが存在しません";
const char* const kNotSupported = "選択されたプリンタではサポートされていない機能です";
const char* const kNotValid = "選択したプリンタは有効ではありません";

// Qt reports no default printer both when there is none and when the
// scheduler cannot be asked; CUPS tells the two apart.
[[noreturn]] void RaiseNoDefaultPrinter()
{
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    cupsFreeDests(count, dests);
    const ipp_status_t status = cupsLastError();
    if (count == 0 && status >= IPP_STATUS_ERROR_BAD_REQUEST && status != IPP_STATUS_ERROR_NOT_FOUND) {
        const char* text = cupsLastErrorString();
        throw EOSError("システムエラー。コード：" + std::to_string(static_cast<int>(status)) + ".\r\n" +
                       (text ? text : ""));
    }
    throw EPrinter(kNoDefault);
}

// The settings the setup dialog shows and may change, copied to a new printer.
void CopySettings(const QPrinter& from, QPrinter& to)
{
    to.setPageLayout(from.pageLayout());
    to.setCopyCount(from.copyCount());
    to.setCollateCopies(from.collateCopies());
    to.setDuplex(from.duplex());
    to.setColorMode(from.colorMode());
    to.setPageOrder(from.pageOrder());
    if (from.outputFormat() == QPrinter::PdfFormat) {
        to.setOutputFormat(QPrinter::PdfFormat);
        to.setOutputFileName(from.outputFileName());
    }
}

}  // namespace

TQtPrinter::TQtPrinter() = default;
TQtPrinter::~TQtPrinter() = default;

QPrinter& TQtPrinter::SelectedOrDefault()
{
    if (!printer_) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) RaiseNoDefaultPrinter();
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    return *printer_;
}

QPrinter& TQtPrinter::ValidPrinter()
{
    QPrinter& printer = SelectedOrDefault();
    if (!printer.isValid()) throw EPrinter(kNotValid);
    return printer;
}

void TQtPrinter::SetPortrait()
{
    if (Printing()) throw EPrinter(kBusy);
    QPrinter& printer = SelectedOrDefault();
    if (!printer.isValid()) throw EPrinter(kNotSupported);
    printer.setPageOrientation(QPageLayout::Portrait);
}

int32_t TQtPrinter::PageHeight()
{
    return ValidPrinter().height();
}

int32_t TQtPrinter::PageWidth()
{
    return ValidPrinter().width();
}

void TQtPrinter::SetTitle(const std::string& title)
{
    title_ = title;
}

void TQtPrinter::BeginDoc()
{
    if (Printing()) throw EPrinter(kBusy);
    QPrinter& printer = ValidPrinter();
    printer.setDocName(QString::fromStdString(title_));
    measurer_ = std::make_unique<TQtCanvas>(static_cast<QPaintDevice&>(printer));
    page_ = std::make_unique<TRecordedPage>([measurer = measurer_.get()](const TFont& font, const std::string& text) {
        measurer->Font = font;
        return measurer->TextWidth(text);
    });
}

TCanvas& TQtPrinter::Canvas()
{
    if (!page_) throw std::logic_error("no print job is open");
    return *page_;
}

void TQtPrinter::EndDoc()
{
    if (!page_) return;
    const std::unique_ptr<TRecordedPage> page = std::move(page_);
    measurer_.reset();
    QPainter painter;
    if (!painter.begin(printer_.get())) throw EPrinter(kNotValid);
    TQtCanvas canvas(painter);
    page->ReplayOn(canvas);
    painter.end();  // the job goes to the spooler
}

void TQtPrinter::Abort()
{
    page_.reset();
    measurer_.reset();
}

bool TQtPrinter::Printing() const
{
    return page_ != nullptr;
}

void TQtPrinter::Setup(QWidget* owner)
{
    QPrinter& current = SelectedOrDefault();
    // The dialog works on a copy, so that Cancel leaves everything as it was.
    auto copy = std::make_unique<QPrinter>(QPrinterInfo(current), QPrinter::HighResolution);
    CopySettings(current, *copy);
    if (Dialogs().PrinterSetup(owner, *copy)) printer_ = std::move(copy);
}
