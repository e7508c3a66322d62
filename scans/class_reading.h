// A class's pages read: each page registered and read, each sheet that was
// read marked; white pages, answer pages and pages given twice passed over
// and said; the pages that could not be read said with their reason;
// shared by the window and the command line.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "reader/class_results.h"
#include "reader/page_reading.h"
#include "scans/scan_files.h"

struct TClassReading {
    std::vector<TScanPage> Pages;
    std::vector<TReadPage> Read;       // one per page (the page's picture itself is not kept)
    std::vector<TMarkedSheet> Sheets;  // one per sheet read, in page order
    std::vector<size_t> SheetOf;       // each page's sheet in Sheets, SIZE_MAX when it was not read
    std::vector<std::string> Unread;   // 「scan.pdf 3ページ: 四すみの印が見つかりません」
    // What was passed over, and worth knowing: 「答えのページ 6 枚は読みませんでした」.
    std::vector<std::string> Notes;
    // The sheet of page `page` as read, or null.
    TMarkedSheet* SheetOfPage(size_t page) { return SheetOf[page] == SIZE_MAX ? nullptr : &Sheets[SheetOf[page]]; }
};

// Reads every page in turn, decoding each and letting it go; `before(i)` is
// told before page i and may stop the reading by returning false (the pages
// after it are then not read and not listed). A pupil's sheet that comes
// twice (the same sheet and 出席番号) is kept once: the reading that asks
// less, else the first.
TClassReading ReadClassPages(std::vector<TScanPage> pages, const std::function<bool(size_t)>& before = {});

// The pages handed back marked (MarkedPdf), each decoded again; empty when
// it cannot be made.
QByteArray MarkedPdfOf(const TClassReading& reading);
