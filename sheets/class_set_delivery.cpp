#include "sheets/class_set_delivery.h"

#include "sheets/sheet_csv.h"

namespace {

// Sheets made from `seed` put out and recorded: each keeps the seed, the CSV
// of their answers goes with the document.
void DeliverMade(std::vector<TSheet>& sheets, uint64_t seed, TAnswerOrder order, TSheetOutput& output,
                 TSheetRecorder& recorder, const std::function<bool(int done)>& goOn,
                 const std::optional<std::string>& csvPath, bool rollNumbers)
{
    for (TSheet& sheet : sheets) {
        sheet.Seed = seed;
        if (rollNumbers) sheet.Roll = sheet.Place + 1;
    }
    if (csvPath) output.Attach(*csvPath, SheetsCsv(sheets));
    DeliverSheets(sheets, order, output, recorder, goOn);
}

}  // namespace

TClassSet DeliverClassSet(const TWorksheetSettings& settings, int count, int32_t firstNumber, uint64_t seed,
                          TAnswerOrder order, TSheetOutput& output, TSheetRecorder& recorder,
                          const std::function<bool(int done)>& goOn, const std::optional<std::string>& csvPath,
                          bool rollNumbers)
{
    TRandom random = RandomFromSeed(seed);
    TClassSet set = MakeClassSet(settings, count, firstNumber, random, goOn);
    const int made = static_cast<int>(set.Sheets.size());
    DeliverMade(set.Sheets, seed, order, output, recorder, [&](int done) { return !goOn || goOn(made + done); }, csvPath,
                rollNumbers);
    return set;
}

TDiagnosticSet DeliverDiagnosticSet(const TWorksheetSettings& settings, const std::vector<TDigitRanges>& ranges, int count,
                                    int32_t firstNumber, uint64_t seed, TAnswerOrder order, TSheetOutput& output,
                                    TSheetRecorder& recorder, const std::optional<std::string>& csvPath, bool rollNumbers)
{
    TRandom random = RandomFromSeed(seed);
    TDiagnosticSet set;
    try {
        set = MakeDiagnosticSheets(settings, ranges, firstNumber, count, random);
    } catch (const ETooFewProblems&) {
        throw EShortfall();
    }
    DeliverMade(set.Sheets, seed, order, output, recorder, {}, csvPath, rollNumbers);
    return set;
}
