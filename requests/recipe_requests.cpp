// A sheet made again from the recipe its code carries.
#include "requests/requests.h"

#include "errors/errors.h"
#include "sheets/class_set.h"
#include "worksheet/lcg.h"

TSheet SheetOfRecipe(const TSheetRecipe& recipe)
{
    const int32_t count = recipe.Place + 1;
    const int32_t first = static_cast<int32_t>(static_cast<uint32_t>(recipe.Number) - static_cast<uint32_t>(recipe.Place));
    if (recipe.Place < 0 || count > kMostSheets) throw ERefused("プリントのコードの並び順が正しくありません");
    std::vector<TSheet> candidates;
    try {
        if (recipe.FollowUp) {
            candidates.push_back(MakeFollowUpOf(recipe.Settings, *recipe.FollowUp, recipe.Number, recipe.Seed, recipe.Place, recipe.Roll));
        } else if (recipe.Diagnostic) {
            TWorksheetSettings settings = recipe.Settings;
            const TOperation operation = settings.Operation;
            // Made from the window's digit boxes, or from the operation's own
            // ranges: whichever gives the problems the code checks.
            for (const bool own : {false, true}) {
                try {
                    const std::vector<TDigitRanges> ranges =
                        own ? DefaultDiagnosticRanges(operation) : DiagnosticRangesFor(settings, operation);
                    TRandom random = RandomFromSeed(recipe.Seed);
                    candidates.push_back(MakeDiagnosticSheets(settings, ranges, first, count, random).Sheets.back());
                } catch (const std::exception&) {
                    // Not these ranges.
                }
            }
        } else {
            TWorksheetSettings settings = recipe.Settings;
            settings.PrnNum = std::to_string(first);
            TRandom random = RandomFromSeed(recipe.Seed);
            candidates.push_back(MakeClassSet(settings, count, first, random).Sheets.back());
        }
    } catch (const std::exception&) {
        throw ERefused("プリントのコードの設定では、プリントを作り直せません");
    }
    for (TSheet& sheet : candidates)
        if (ProblemsCheckOf(sheet.Problems) == recipe.ProblemsCheck) {
            sheet.Seed = recipe.Seed;
            sheet.Roll = recipe.Roll;
            sheet.Settings.DigitFont = recipe.Settings.DigitFont;
            return sheet;
        }
    throw ERefused("プリントのコードと問題が合いません（別の版のプログラムで作ったプリントかもしれません）");
}
