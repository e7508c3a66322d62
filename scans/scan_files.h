// The pages a teacher gives the reader: a copier's PDF (its pages rendered
// by poppler) or photos and scans as PNG or JPEG.
#pragma once

#include <QImage>

#include <string>
#include <vector>

#include "reader/grey_image.h"

struct TScanPage {
    std::string Source;  // 「scan.pdf 3ページ」, 「photo.jpg」
    QImage Image;        // as rendered or loaded, for the marked copy
    double Dpi = 200;    // its resolution, for the marked copy's page size
};

// The resolution PDF pages are rendered at.
inline constexpr double kScanDpi = 200;

// Every page of the files, in order; EFileError (in Japanese, with the file
// and its cause) for a file that cannot be read or is no PDF or image.
std::vector<TScanPage> LoadScanPages(const std::vector<std::string>& paths);

// The page as the reader takes it.
TGreyImage GreyOfScan(const QImage& image);
