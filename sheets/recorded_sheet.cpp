#include "sheets/recorded_sheet.h"

#include <exception>

#include "worksheet/operations.h"

TReopenedSheet ReopenSheet(const THistorySheet& recorded)
{
    TReopenedSheet reopened;
    try {
        reopened.Settings = ParseSettingsFile(recorded.Settings);
        ApplyNamed(reopened.Settings, reopened.Sheet.Settings);
    } catch (const std::exception& e) {
        // Drawn with the default sentence and grid.
        reopened.SettingsError = e.what();
    }
    reopened.Settings.Named.erase("PrnNum");
    TSheet& sheet = reopened.Sheet;
    sheet.Number = recorded.Number;
    sheet.Requested = RequestedCount(sheet.Settings);
    const TOperationRules& rules = RulesOf(sheet.Settings.Operation);
    for (const auto& p : recorded.Problems) sheet.Problems.push_back(rules.Solve(p.Multiplicand, p.Multiplier));
    reopened.View = PageViewOf(sheet.Settings);
    return reopened;
}
