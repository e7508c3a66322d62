#include "scans/class_reading.h"

#include <cstdint>

#include "scans/marked_pdf.h"

TClassReading ReadClassPages(std::vector<TScanPage> pages, const std::function<bool(size_t)>& before)
{
    TClassReading reading;
    reading.Pages = std::move(pages);
    reading.Read.resize(reading.Pages.size());
    reading.SheetOf.assign(reading.Pages.size(), SIZE_MAX);
    for (size_t i = 0; i < reading.Pages.size(); ++i) {
        if (before && !before(i)) break;
        const TScanPage& page = reading.Pages[i];
        TReadPage& read = reading.Read[i];
        if (page.Image.isNull())
            read.Failure = "ページを画像にできません";
        else
            read = ReadPage(GreyOfScan(page.Image));
        if (!read.Read()) {
            reading.Unread.push_back(page.Source + ": " + read.Failure);
            continue;
        }
        reading.SheetOf[i] = reading.Sheets.size();
        reading.Sheets.push_back(MarkSheet(read, page.Source));
    }
    return reading;
}

QByteArray MarkedPdfOf(const TClassReading& reading)
{
    std::vector<const TMarkedSheet*> marked(reading.Pages.size(), nullptr);
    std::vector<const TReadPage*> read(reading.Pages.size(), nullptr);
    for (size_t i = 0; i < reading.Pages.size(); ++i)
        if (reading.SheetOf[i] != SIZE_MAX) marked[i] = &reading.Sheets[reading.SheetOf[i]], read[i] = &reading.Read[i];
    return MarkedPdf(reading.Pages, marked, read);
}
