#include "scans/scan_files.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <cerrno>
#include <cstdio>
#include <cmath>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include "errors/errors.h"
#include "sheets/whole_file.h"
#include "worksheet/utf8.h"

namespace {

bool IsPdf(const std::string& bytes)
{
    return bytes.rfind("%PDF", 0) == 0;
}

// The libraries' own words (poppler's errors, Qt's image plug-ins'
// warnings, and what libpng and libjpeg print straight to the standard
// error) are kept from the terminal while a file is decoded: the teacher is
// told the cause in Japanese instead.
void SayNothing(const std::string&, void*) {}

class TQuietLibraries {
public:
    TQuietLibraries()
    {
        if (depth_++ > 0) return;
        std::fflush(stderr);
        savedError_ = dup(STDERR_FILENO);
        if (const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC); nowhere >= 0) {
            if (savedError_ >= 0) dup2(nowhere, STDERR_FILENO);
            close(nowhere);
        }
        poppler::set_debug_error_function(SayNothing, nullptr);
        previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            // Only the image readers' chatter is kept back.
            if (type == QtWarningMsg || type == QtDebugMsg || type == QtInfoMsg) return;
            if (previous_) previous_(type, context, message);
        });
    }
    ~TQuietLibraries()
    {
        if (--depth_ > 0) return;
        qInstallMessageHandler(previous_);
        std::fflush(stderr);
        if (savedError_ >= 0) {
            dup2(savedError_, STDERR_FILENO);
            close(savedError_);
            savedError_ = -1;
        }
    }
    TQuietLibraries(const TQuietLibraries&) = delete;
    TQuietLibraries& operator=(const TQuietLibraries&) = delete;

private:
    static inline QtMessageHandler previous_ = nullptr;
    static inline int depth_ = 0;
    static inline int savedError_ = -1;
};

// Sets the resolution a picture says it has (0: none).
void SetDpi(QImage& image, double dpi)
{
    const int perMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
}

// A picture as the reader and the marked copy take it: transparency on
// white.
QImage OnWhite(QImage image)
{
    if (image.isNull() || !image.hasAlphaChannel()) return image;
    QImage white(image.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    QPainter painter(&white);
    painter.drawImage(0, 0, image);
    painter.end();
    return white;
}

// Why Qt's reader gave no picture, in Japanese.
std::string ImageFailure(const QImageReader& reader)
{
    switch (reader.error()) {
    case QImageReader::UnsupportedFormatError:
        return "PDF でも画像（PNG、JPEG）でもありません";
    case QImageReader::InvalidDataError:
        return "画像がこわれています（途中で切れているか、中身がちがいます）";
    default:
        return "画像を読めません（こわれているか、大きすぎます）";
    }
}

TScanPage FailedPage(const std::string& source, const std::string& why)
{
    TScanPage page;
    page.Source = source;
    page.Failure = source + ": " + why;
    return page;
}

std::vector<TScanPage> PdfPages(const std::string& path, std::shared_ptr<const std::string> bytes)
{
    const std::string name = ShownBytes(path);
    // The document reads its bytes where they are: they go with it, and
    // outlive it.
    struct TPdf {
        std::shared_ptr<const std::string> Bytes;
        std::unique_ptr<poppler::document> Document;
    };
    auto pdf = std::make_shared<TPdf>();
    pdf->Bytes = bytes;
    {
        const TQuietLibraries quiet;
        pdf->Document.reset(poppler::document::load_from_raw_data(bytes->data(), static_cast<int>(bytes->size())));
    }
    poppler::document* document = pdf->Document.get();
    if (!document || document->is_locked())
        return {FailedPage(name, "読めない PDF です（こわれているか、パスワードがかかっています）")};
    std::vector<TScanPage> pages;
    const int count = document->pages();
    if (count <= 0) return {FailedPage(name, "ページのない PDF です")};
    for (int i = 0; i < count; ++i) {
        const std::string source = name + " " + std::to_string(i + 1) + "ページ";
        std::unique_ptr<poppler::page> page;
        {
            const TQuietLibraries quiet;
            page.reset(document->create_page(i));
        }
        if (!page) {
            pages.push_back(FailedPage(source, "ページがこわれています"));
            continue;
        }
        const poppler::rectf box = page->page_rect();
        const double wide = box.width() / 72 * 25.4, high = box.height() / 72 * 25.4;
        if (!(wide > 1 && high > 1)) {
            pages.push_back(FailedPage(source, "ページの大きさがありません"));
            continue;
        }
        if (wide > kLargestPdfPageMm || high > kLargestPdfPageMm) {
            pages.push_back(FailedPage(source, "ページが大きすぎます（" + std::to_string(std::lround(wide)) + " × " +
                                                   std::to_string(std::lround(high)) + " mm。プリントの用紙は " +
                                                   std::to_string(std::lround(kLargestPdfPageMm)) + " mm まで）"));
            continue;
        }
        TScanPage scan;
        scan.Source = source;
        const double longest = std::max(wide, high) / 25.4;
        const double dpi = std::min(kScanDpi, kLongestScanSide / longest);
        scan.Decode = [pdf, i, dpi](std::string& failure) {
            const TQuietLibraries quiet;
            std::unique_ptr<poppler::page> page(pdf->Document->create_page(i));
            if (!page) {
                failure = "ページがこわれています";
                return QImage();
            }
            poppler::page_renderer renderer;
            renderer.set_image_format(poppler::image::format_gray8);
            renderer.set_render_hints(poppler::page_renderer::antialiasing);
            const poppler::image rendered = renderer.render_page(page.get(), dpi, dpi);
            if (!rendered.is_valid()) {
                failure = "ページを画像にできません";
                return QImage();
            }
            QImage image(rendered.width(), rendered.height(), QImage::Format_Grayscale8);
            if (image.isNull()) {
                failure = "ページを画像にするメモリが足りません";
                return QImage();
            }
            for (int y = 0; y < rendered.height(); ++y)
                std::copy(rendered.const_data() + static_cast<ptrdiff_t>(y) * rendered.bytes_per_row(),
                          rendered.const_data() + static_cast<ptrdiff_t>(y) * rendered.bytes_per_row() + rendered.width(),
                          image.scanLine(y));
            SetDpi(image, dpi);
            return image;
        };
        pages.push_back(std::move(scan));
    }
    return pages;
}

// A reader of the picture in `bytes` (which outlive it), upright as its
// photo says.
struct TPictureReader {
    QBuffer Buffer;
    QImageReader Reader;
    explicit TPictureReader(const std::string& bytes)
    {
        Buffer.setData(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
        Buffer.open(QIODevice::ReadOnly);
        Reader.setDevice(&Buffer);
        Reader.setAutoTransform(true);
    }
};

TScanPage ImagePage(const std::string& path, std::shared_ptr<const std::string> bytes)
{
    const std::string name = ShownBytes(path);
    QSize size;
    {
        const TQuietLibraries quiet;
        TPictureReader picture(*bytes);
        if (!picture.Reader.canRead()) return FailedPage(name, "PDF でも画像（PNG、JPEG）でもありません");
        size = picture.Reader.size();
    }
    if (size.isValid() && (size.width() > 40000 || size.height() > 40000))
        return FailedPage(name, "画像が大きすぎます（" + std::to_string(size.width()) + " × " + std::to_string(size.height()) + "）");
    TScanPage scan;
    scan.Source = name;
    scan.Decode = [bytes](std::string& why) {
        const TQuietLibraries quiet;
        TPictureReader picture(*bytes);
        QImageReader& reader = picture.Reader;
        reader.setAllocationLimit(0);
        const QSize full = reader.size();
        if (full.isValid() && std::max(full.width(), full.height()) > kLongestScanSide)
            reader.setScaledSize(full.scaled(kLongestScanSide, kLongestScanSide, Qt::KeepAspectRatio));
        QImage image = reader.read();
        if (image.isNull()) {
            why = ImageFailure(reader);
            return QImage();
        }
        // A scan's resolution, scaled with the picture; a photo's tag that
        // is no resolution (72 dpi, 4 000 000 dpi) is not kept.
        const int fullSide = full.isValid() ? std::max(full.width(), full.height()) : 0;
        const double scale = fullSide > 0 ? double(std::max(image.width(), image.height())) / fullSide : 1;
        const double tagged = image.dotsPerMeterX() * 0.0254;
        const double dpi = tagged >= 100 && tagged <= 1200 ? tagged * scale : 0;
        image = OnWhite(std::move(image));
        SetDpi(image, dpi);
        return image;
    };
    return scan;
}

}  // namespace

TScanPage ScanPageOf(QImage image, std::string source, double dpi)
{
    TScanPage page;
    page.Source = std::move(source);
    SetDpi(image, dpi);
    page.Decode = [image = std::move(image)](std::string& failure) {
        if (image.isNull()) failure = "ページを画像にできません";
        return image;
    };
    return page;
}

std::vector<TScanPage> LoadScanPages(const std::vector<std::string>& paths)
{
    std::vector<TScanPage> pages;
    for (const std::string& path : paths) {
        std::shared_ptr<const std::string> bytes;
        try {
            bytes = std::make_shared<const std::string>(ReadWholeFile(path, 512LL * 1024 * 1024));
        } catch (const EFileError& e) {
            TScanPage failed;
            failed.Source = ShownBytes(path);
            failed.Failure = e.what();
            pages.push_back(std::move(failed));
            continue;
        }
        if (IsPdf(*bytes)) {
            std::vector<TScanPage> more = PdfPages(path, bytes);
            pages.insert(pages.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
            continue;
        }
        pages.push_back(ImagePage(path, bytes));
    }
    return pages;
}

QImage ImageOfGrey(const TGreyImage& grey)
{
    QImage image(grey.Width, grey.Height, QImage::Format_Grayscale8);
    for (int32_t y = 0; y < grey.Height; ++y)
        std::copy_n(&grey.Pixels[static_cast<size_t>(y) * static_cast<size_t>(grey.Width)], grey.Width, image.scanLine(y));
    return image;
}

TGreyImage GreyOfScan(const QImage& image)
{
    const QImage grey = OnWhite(image).convertToFormat(QImage::Format_Grayscale8);
    TGreyImage out(grey.width(), grey.height());
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* line = grey.constScanLine(y);
        std::copy(line, line + grey.width(), out.Pixels.begin() + static_cast<ptrdiff_t>(y) * grey.width());
    }
    return out;
}
