#include "app/qt_printer.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

#include <stdexcept>

#include "app/file_names.h"
#include "app/beside_event_loop.h"
#include "printing/cups_session.h"
#include "sheets/pdf_pages.h"
#include "sheets/whole_file.h"
#include "errors/errors.h"

namespace {

const char* const kBusy = "現在印刷中です";
const char* const kNoDefault = "デフォルト プリンタが存在しません";
const char* const kNotSupported = "選択されたプリンタではサポートされていない機能です";
const char* const kNotValid = "選択したプリンタは有効ではありません";

// The options the print dialog keeps for CUPS (PPD choices and the like), as
// name, value, name, value, ...
const auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The settings the setup dialog shows and may change, copied to a new printer.
void CopySettings(const QPrinter& from, QPrinter& to)
{
    to.setPageLayout(from.pageLayout());
    to.setCopyCount(from.copyCount());
    to.setCollateCopies(from.collateCopies());
    to.setDuplex(from.duplex());
    to.setColorMode(from.colorMode());
    to.setPageOrder(from.pageOrder());
    to.printEngine()->setProperty(kCupsOptions, from.printEngine()->property(kCupsOptions));
    if (from.outputFormat() == QPrinter::PdfFormat) {
        to.setOutputFormat(QPrinter::PdfFormat);
        to.setOutputFileName(from.outputFileName());
    }
}

// The job options for CUPS, as Qt's own CUPS engine gives them: the paper,
// copies, sides and the dialog's CUPS options. Sheets are always portrait.
TJobOptions JobOptionsOf(QPrinter& printer)
{
    TJobOptions options{{"media", printer.pageLayout().pageSize().key().toStdString()}};
    if (printer.copyCount() > 1) {
        options.emplace_back("copies", std::to_string(printer.copyCount()));
        if (printer.collateCopies()) options.emplace_back("Collate", "True");
    }
    switch (printer.duplex()) {
    case QPrinter::DuplexNone: options.emplace_back("sides", "one-sided"); break;
    case QPrinter::DuplexAuto:
    case QPrinter::DuplexLongSide: options.emplace_back("sides", "two-sided-long-edge"); break;
    case QPrinter::DuplexShortSide: options.emplace_back("sides", "two-sided-short-edge"); break;
    }
    const QStringList cups = printer.printEngine()->property(kCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < cups.size(); i += 2)
        options.emplace_back(cups[i].toStdString(), cups[i + 1].toStdString());
    return options;
}

// A flag that is set for the span of a scope.
class TFlagSet {
public:
    explicit TFlagSet(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagSet() { flag_ = false; }
    TFlagSet(const TFlagSet&) = delete;
    TFlagSet& operator=(const TFlagSet&) = delete;

private:
    bool& flag_;
};

}  // namespace

TQtPrinter::TQtPrinter(TAskSetup askSetup) : askSetup_(std::move(askSetup)) {}
TQtPrinter::~TQtPrinter() = default;

void TQtPrinter::Converse(const std::function<void()>& work)
{
    if (conversing_) throw EPrinter(kBusy);
    const TFlagSet busy(conversing_);
    struct TShown {
        const std::function<void(bool)>& Handler;
        explicit TShown(const std::function<void(bool)>& handler) : Handler(handler)
        {
            if (Handler) Handler(true);
        }
        ~TShown()
        {
            if (Handler) Handler(false);
        }
    } shown(busyHandler_);
    RunBesideEventLoop(work);
}

QPrinter& TQtPrinter::SelectedOrDefault()
{
    if (!printer_) {
        // Asked on a connection of our own: Qt's lookup would wait without
        // end on a scheduler that does not answer.
        const TCupsServer server = CurrentCupsServer();
        std::string name;
        Converse([&] { name = TCupsSession(server, SpoolTimeout()).DefaultDestination(); });
        if (name.empty()) throw EPrinter(kNoDefault);
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
        if (info.isNull()) throw EPrinter(kNotSupported);
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

double TQtPrinter::DotsPerMm()
{
    return ValidPrinter().resolution() / 25.4;
}

double TQtPrinter::PrintableMarginMm()
{
    const QPageLayout layout = ValidPrinter().pageLayout();
    const QRectF paint = layout.paintRect(QPageLayout::Millimeter);
    return std::max(paint.left(), paint.top());
}

std::string TQtPrinter::PaperName()
{
    const QPageSize size = ValidPrinter().pageLayout().pageSize();
    const QPageSize::PageSizeId id = size.id();
    return id == QPageSize::JisB5 ? "B5" : id == QPageSize::JisB4 ? "B4" : size.key().toStdString();
}

void TQtPrinter::SetTitle(const std::string& title)
{
    title_ = title;
}

void TQtPrinter::BeginDoc()
{
    if (Printing()) throw EPrinter(kBusy);
    QPrinter& printer = ValidPrinter();
    pages_ = std::make_unique<TPdfPages>(printer.pageLayout(), printer.resolution());
    pages_->SetTitle(QString::fromStdString(title_));
    page_ = &pages_->NewPage();
}

void TQtPrinter::NewPage()
{
    if (!pages_) throw std::logic_error("no print job is open");
    page_ = &pages_->NewPage();
}

TCanvas& TQtPrinter::Canvas()
{
    if (!page_) throw std::logic_error("no print job is open");
    return *page_;
}

void TQtPrinter::EndDoc()
{
    if (!pages_) return;
    const std::unique_ptr<TPdfPages> pages = std::move(pages_);
    page_ = nullptr;
    const QByteArray pdf = pages->ToPdf();
    if (OutputIsFile()) {
        WriteOutputFile(pdf);
        return;
    }
    // A printer instance ("name/instance") prints on its queue.
    const std::string queue = printer_->printerName().section(QLatin1Char('/'), 0, 0).toStdString();
    const TJobOptions options = JobOptionsOf(*printer_);
    const TCupsServer server = CurrentCupsServer();
    Converse([&] {
        TCupsSession(server, SpoolTimeout()).SubmitPdf(queue, title_, options, {pdf.constData(), static_cast<size_t>(pdf.size())});
    });
}

void TQtPrinter::WriteOutputFile(const QByteArray& pdf)
{
    const TFlagSet busy(conversing_);
    const QString path = printer_->outputFileName();
    if (path.isEmpty()) throw EFileError("出力ファイルの名前が指定されていません");
    WriteWholeFile(PathBytes(path), std::string_view(pdf.constData(), static_cast<size_t>(pdf.size())));
}

void TQtPrinter::Abort()
{
    pages_.reset();
    page_ = nullptr;
}

bool TQtPrinter::Printing() const
{
    return pages_ != nullptr || conversing_;
}

bool TQtPrinter::OutputIsFile() const
{
    return printer_ && printer_->outputFormat() == QPrinter::PdfFormat;
}

QPrinter& TQtPrinter::Device()
{
    if (Printing()) throw EPrinter(kBusy);
    QPrinter& printer = SelectedOrDefault();
    if (!OutputIsFile()) {
        // A printer deleted since it was chosen is refused here, as a print is.
        const std::string queue = printer.printerName().section(QLatin1Char('/'), 0, 0).toStdString();
        const TCupsServer server = CurrentCupsServer();
        Converse([&] { TCupsSession(server, SpoolTimeout()).CheckDestination(queue); });
    }
    return printer;
}

std::string TQtPrinter::Destination() const
{
    if (!printer_) return {};
    return (OutputIsFile() ? printer_->outputFileName() : printer_->printerName()).toStdString();
}

void TQtPrinter::Setup(QWidget* owner)
{
    if (Printing()) throw EPrinter(kBusy);
    const bool selected = printer_ != nullptr;
    QPrinter& current = SelectedOrDefault();
    if (selected) {
        // The dialog lists the scheduler's printers through Qt, which waits
        // without end on a scheduler that does not answer: ask it first.
        const TCupsServer server = CurrentCupsServer();
        Converse([&] { TCupsSession(server, SpoolTimeout()).DefaultDestination(); });
    }
    // The dialog works on a copy, so that Cancel leaves everything as it was.
    auto copy = std::make_unique<QPrinter>(QPrinterInfo(current), QPrinter::HighResolution);
    CopySettings(current, *copy);
    if (askSetup_ && askSetup_(owner, *copy)) printer_ = std::move(copy);
}
