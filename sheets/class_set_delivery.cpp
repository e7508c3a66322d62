#include "sheets/class_set_delivery.h"

#include "sheets/sheet_csv.h"

TClassSet DeliverClassSet(const TWorksheetSettings& settings, int count, int32_t firstNumber, uint64_t seed,
                          TAnswerOrder order, TSheetOutput& output, TSheetRecorder& recorder,
                          const std::function<bool(int done)>& goOn, const std::optional<std::string>& csvPath)
{
    TRandom random = RandomFromSeed(seed);
    TClassSet set = MakeClassSet(settings, count, firstNumber, random, goOn);
    for (TSheet& sheet : set.Sheets) sheet.Seed = seed;
    if (csvPath) output.Attach(*csvPath, SheetsCsv(set.Sheets));
    const int made = static_cast<int>(set.Sheets.size());
    DeliverSheets(set.Sheets, order, output, recorder, [&](int done) { return !goOn || goOn(made + done); });
    return set;
}

TDiagnosticSet DeliverDiagnosticSet(const TWorksheetSettings& settings, const std::vector<TDigitRanges>& ranges, int count,
                                    int32_t firstNumber, uint64_t seed, TAnswerOrder order, TSheetOutput& output,
                                    TSheetRecorder& recorder, const std::optional<std::string>& csvPath)
{
    TRandom random = RandomFromSeed(seed);
    TDiagnosticSet set;
    try {
        set = MakeDiagnosticSheets(settings, ranges, firstNumber, count, random);
    } catch (const ETooFewProblems&) {
        throw EShortfall();
    }
    for (TSheet& sheet : set.Sheets) sheet.Seed = seed;
    if (csvPath) output.Attach(*csvPath, SheetsCsv(set.Sheets));
    DeliverSheets(set.Sheets, order, output, recorder);
    return set;
}
