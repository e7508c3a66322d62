// The pages a teacher gives the reader: a copier's PDF (its pages rendered
// by poppler) or photos and scans as PNG or JPEG. A page is decoded when it
// is wanted and let go after, so a class's stack takes the room of one page.
#pragma once

#include <QImage>

#include <functional>
#include <string>
#include <vector>

#include "reader/grey_image.h"

struct TScanPage {
    std::string Source;  // 「scan.pdf 3ページ」, 「photo.jpg」
    // Why the file or page gave no picture, the whole line in Japanese
    // (「photo.png: 画像がこわれています」); empty when it can be decoded.
    std::string Failure;
    // Decodes the page, upright as its photo says, transparency on white,
    // its resolution in its dots per metre (0 for a photo that says none);
    // a null image, and `failure` saying why, when it cannot be.
    std::function<QImage(std::string& failure)> Decode;
    QImage Image(std::string& failure) const { return Decode ? Decode(failure) : QImage(); }
};

// A page already in memory (a test's, a tool's).
TScanPage ScanPageOf(QImage image, std::string source, double dpi = 200);

// The resolution PDF pages are rendered at.
inline constexpr double kScanDpi = 200;
// The longest side a page is decoded at: a larger scan is scaled down to it
// (an A3 scan at 600 dpi is read at a little under 200 dpi).
inline constexpr int kLongestScanSide = 4800;
// The largest page of a PDF that is taken (a side in millimetres).
inline constexpr double kLargestPdfPageMm = 650;

// Every page of the files, in order. A file that cannot be read, or is no
// PDF or image, is one page with its Failure, so that the other files'
// pages are still read. Nothing the libraries print reaches the terminal.
std::vector<TScanPage> LoadScanPages(const std::vector<std::string>& paths);

// The page as the reader takes it.
TGreyImage GreyOfScan(const QImage& image);
// The reader's grey picture as an image to show or draw.
QImage ImageOfGrey(const TGreyImage& grey);
