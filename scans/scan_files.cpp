#include "scans/scan_files.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <poppler-document.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include "errors/errors.h"
#include "worksheet/utf8.h"

namespace {

// The whole file, up to 512 MB; EFileError saying why not.
std::string ReadWhole(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw EFileError("「" + ShownBytes(path) + "」を読めません（" + SystemErrorText(errno) + "）");
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        throw EFileError("「" + ShownBytes(path) + "」はふつうのファイルではありません");
    }
    if (info.st_size > 512LL * 1024 * 1024) {
        close(fd);
        throw EFileError("「" + ShownBytes(path) + "」は大きすぎます（512 MB まで）");
    }
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int code = n < 0 ? errno : 0;
            close(fd);
            throw EFileError("「" + ShownBytes(path) + "」を読めません（" + (code ? SystemErrorText(code) : std::string("途中で終わっています")) + "）");
        }
        done += static_cast<size_t>(n);
    }
    close(fd);
    return bytes;
}

bool IsPdf(const std::string& bytes)
{
    return bytes.rfind("%PDF", 0) == 0;
}

std::vector<TScanPage> PdfPages(const std::string& path, const std::string& bytes)
{
    std::unique_ptr<poppler::document> document(poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
    if (!document || document->is_locked())
        throw EFileError("「" + ShownBytes(path) + "」は読めない PDF です（こわれているか、パスワードがかかっています）");
    poppler::page_renderer renderer;
    renderer.set_image_format(poppler::image::format_gray8);
    renderer.set_render_hints(poppler::page_renderer::antialiasing);
    std::vector<TScanPage> pages;
    for (int i = 0; i < document->pages(); ++i) {
        std::unique_ptr<poppler::page> page(document->create_page(i));
        if (!page) continue;
        const poppler::image rendered = renderer.render_page(page.get(), kScanDpi, kScanDpi);
        TScanPage scan;
        scan.Source = ShownBytes(path) + " " + std::to_string(i + 1) + "ページ";
        scan.Dpi = kScanDpi;
        if (!rendered.is_valid()) {
            pages.push_back(std::move(scan));
            continue;
        }
        QImage image(rendered.width(), rendered.height(), QImage::Format_Grayscale8);
        for (int y = 0; y < rendered.height(); ++y)
            std::copy(rendered.const_data() + static_cast<ptrdiff_t>(y) * rendered.bytes_per_row(),
                      rendered.const_data() + static_cast<ptrdiff_t>(y) * rendered.bytes_per_row() + rendered.width(), image.scanLine(y));
        scan.Image = std::move(image);
        pages.push_back(std::move(scan));
    }
    return pages;
}

}  // namespace

std::vector<TScanPage> LoadScanPages(const std::vector<std::string>& paths)
{
    std::vector<TScanPage> pages;
    for (const std::string& path : paths) {
        const std::string bytes = ReadWhole(path);
        if (IsPdf(bytes)) {
            std::vector<TScanPage> more = PdfPages(path, bytes);
            pages.insert(pages.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
            continue;
        }
        QImage image;
        if (!image.loadFromData(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()))))
            throw EFileError("「" + ShownBytes(path) + "」は PDF でも画像（PNG、JPEG）でもありません");
        TScanPage scan;
        scan.Source = ShownBytes(path);
        // A photo keeps its own size; a scan says its resolution.
        scan.Dpi = image.dotsPerMeterX() > 1000 ? image.dotsPerMeterX() * 0.0254 : 200;
        scan.Image = std::move(image);
        pages.push_back(std::move(scan));
    }
    return pages;
}

TGreyImage GreyOfScan(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    TGreyImage out(grey.width(), grey.height());
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* line = grey.constScanLine(y);
        std::copy(line, line + grey.width(), out.Pixels.begin() + static_cast<ptrdiff_t>(y) * grey.width());
    }
    return out;
}
