#include "sheets/recorded_sheet.h"

#include <exception>

#include "worksheet/operations.h"

TReopenedSheet ReopenSheet(const THistorySheet& recorded)
{
    // The operation is the record's own: a sheet is never reprinted as
    // another operation, whatever its settings text says or fails to say.
    const TOperationRules* rules = OperationWithKey(recorded.Operation);
    if (!rules)
        throw EUnreadableRecord("履歴のプリント No." + std::to_string(recorded.Number) +
                                " は、このプログラムでは読めない計算の記録です" +
                                (recorded.Operation.empty() ? std::string() : "（「" + recorded.Operation + "」）") +
                                "。印刷し直せません");
    TReopenedSheet reopened;
    try {
        reopened.Settings = ParseSettingsFile(recorded.Settings);
        ApplyNamed(reopened.Settings, reopened.Sheet.Settings);
    } catch (const std::exception& e) {
        // Drawn with the default sentence and grid.
        reopened.SettingsError = e.what();
    }
    reopened.Settings.Named.erase("PrnNum");
    reopened.Settings.Values.Operation = rules->Operation;
    reopened.Settings.Named.insert(kOperationKey);
    TSheet& sheet = reopened.Sheet;
    sheet.Settings.Operation = rules->Operation;
    sheet.Settings.PrnNum.clear();
    sheet.Number = recorded.Number;
    sheet.Requested = RequestedCount(sheet.Settings);
    sheet.Seed = recorded.Seed;
    sheet.Diagnostic = recorded.Diagnostic;
    if (sheet.Diagnostic) sheet.Requested = static_cast<int32_t>(recorded.Problems.size());
    for (const auto& p : recorded.Problems) sheet.Problems.push_back(rules->Solve(p.First, p.Second));
    reopened.View = PageViewOf(sheet.Settings);
    return reopened;
}
