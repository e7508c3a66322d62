#include "scans/class_reading.h"

#include <algorithm>
#include <cstdint>

#include "scans/marked_pdf.h"
#include "worksheet/operations.h"

namespace {

// A line for each kind of page passed over.
void NotePassedOver(TClassReading& reading)
{
    size_t answers = 0, blank = 0;
    for (const TReadPage& read : reading.Read) {
        if (!read.Skipped()) continue;
        if (read.Blank) ++blank;
        else ++answers;
    }
    if (answers > 0) reading.Notes.push_back("答えのページ " + std::to_string(answers) + " 枚は読みませんでした");
    if (blank > 0) reading.Notes.push_back("白紙のページ " + std::to_string(blank) + " 枚は読みませんでした");
}

// A line naming each class set when the pages hold more than one.
void NoteClassSets(TClassReading& reading)
{
    struct TSet {
        TOperation Operation;
        int32_t Lowest, Highest, Sheets;
    };
    std::vector<std::pair<std::pair<int32_t, uint64_t>, TSet>> sets;
    for (const TMarkedSheet& s : reading.Sheets) {
        const std::pair<int32_t, uint64_t> key = ClassSetOf(s);
        auto found = std::find_if(sets.begin(), sets.end(), [&](const auto& set) { return set.first == key; });
        if (found == sets.end()) {
            sets.push_back({key, {s.Sheet.Settings.Operation, s.Sheet.Number, s.Sheet.Number, 1}});
            continue;
        }
        found->second.Lowest = std::min(found->second.Lowest, s.Sheet.Number);
        found->second.Highest = std::max(found->second.Highest, s.Sheet.Number);
        ++found->second.Sheets;
    }
    if (sets.size() < 2) return;
    std::string line = std::to_string(sets.size()) + " 組のプリントがあります: ";
    for (size_t i = 0; i < sets.size(); ++i) {
        const TSet& set = sets[i].second;
        line += (i ? "、" : "") + ClassSetName(set.Operation, set.Lowest, set.Highest) + "（" + std::to_string(set.Sheets) + "枚）";
    }
    reading.Notes.push_back(line);
    // A page or two of another class set among a class's stack is named:
    // it may be a sheet that strayed in.
    const auto largest = std::max_element(sets.begin(), sets.end(), [](const auto& a, const auto& b) { return a.second.Sheets < b.second.Sheets; });
    if (largest->second.Sheets * 2 <= static_cast<int32_t>(reading.Sheets.size())) return;
    for (const TMarkedSheet& s : reading.Sheets) {
        const std::pair<int32_t, uint64_t> key = ClassSetOf(s);
        if (key == largest->first) continue;
        const auto set = std::find_if(sets.begin(), sets.end(), [&](const auto& x) { return x.first == key; });
        reading.Notes.push_back(s.Source + ": ほかのページと別の組のプリントです（" +
                                ClassSetName(set->second.Operation, set->second.Lowest, set->second.Highest) + "）");
    }
}

}  // namespace

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
        if (!page.Failure.empty()) {
            read.Failure = page.Failure;
            reading.Unread.push_back(page.Failure);
            continue;
        }
        {
            std::string failure;
            const QImage image = page.Image(failure);
            if (image.isNull())
                read.Failure = failure.empty() ? "ページを画像にできません" : failure;
            else
                read = ReadPage(GreyOfScan(image));
        }
        if (!read.Failure.empty()) {
            reading.Unread.push_back(page.Source + ": " + read.Failure);
            continue;
        }
        if (!read.Read()) continue;
        const TKeptOnce kept = KeepOnce(reading.Sheets, MarkSheet(read, page.Source));
        if (kept.Replaced)
            for (size_t& at : reading.SheetOf)
                if (at == kept.At) at = SIZE_MAX;
        if (kept.Note.empty() || kept.Replaced) reading.SheetOf[i] = kept.At;
        if (!kept.Note.empty()) reading.Notes.push_back(kept.Note);
    }
    NotePassedOver(reading);
    NoteClassSets(reading);
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
