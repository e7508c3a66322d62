// The scanned pages handed back marked: each page as it came, with ○ or ×
// in red at every answer read or typed, and the right answer in red beside
// a wrong one.
#pragma once

#include <QByteArray>

#include <vector>

#include "reader/class_results.h"
#include "scans/scan_files.h"

// The pages as one PDF; `marked[i]` goes with `pages[i]` (a page that was
// not read goes as it came).
QByteArray MarkedPdf(const std::vector<TScanPage>& pages, const std::vector<const TMarkedSheet*>& marked,
                     const std::vector<const TReadPage*>& read);
