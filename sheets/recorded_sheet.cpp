#include "sheets/recorded_sheet.h"

#include <exception>

#include "worksheet/decimal.h"
#include "worksheet/operations.h"

namespace {

[[noreturn]] void Refuse(const THistorySheet& recorded, const std::string& why)
{
    throw EUnreadableRecord("履歴のプリント No." + std::to_string(recorded.Number) + " は" + why + "。記録どおりには印刷し直せません");
}

}  // namespace

TReopenedSheet ReopenSheet(const THistorySheet& recorded)
{
    // The operation is the record's own: a sheet is never reprinted as
    // another operation, whatever its settings text says or fails to say.
    const TOperationRules* rules = OperationWithKey(recorded.Operation);
    if (!rules)
        Refuse(recorded, "、このプログラムでは読めない計算の記録です" +
                             (recorded.Operation.empty() ? std::string() : "（「" + recorded.Operation + "」）"));
    TReopenedSheet reopened;
    try {
        reopened.Settings = ParseSettingsFile(recorded.Settings);
        ApplyNamed(reopened.Settings, reopened.Sheet.Settings);
    } catch (const std::exception& e) {
        // Its layout, sentence and grid are unknown: nothing is drawn otherwise.
        Refuse(recorded, "、設定が読めません（" + std::string(e.what()) + "）");
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
    // Every row as it was recorded, or none: a damaged or hand-edited row is
    // never drawn as something else.
    for (size_t k = 0; k < recorded.Problems.size(); ++k) {
        const THistorySheet::TProblem& p = recorded.Problems[k];
        const TOperands operands{p.First, p.Second, p.FirstPlaces, p.SecondPlaces, sheet.Settings.Kuriagari};
        const std::string problem = std::to_string(k + 1) + "問目（" + DecimalText(p.First, p.FirstPlaces) + rules->Sign +
                                    DecimalText(p.Second, p.SecondPlaces) + "）";
        if (!IsProblemOf(*rules, operands)) Refuse(recorded, "、" + problem + "がこのプログラムの問題ではありません");
        sheet.Problems.push_back(SolveProblem(*rules, operands));
        const TSheetProblem& solved = sheet.Problems.back();
        if (solved.Answer != p.Answer || solved.Remainder != p.Remainder || solved.AnswerPlaces != p.AnswerPlaces ||
            solved.RemainderPlaces != p.RemainderPlaces)
            Refuse(recorded, "、" + problem + "の答えが記録とちがいます");
    }
    const size_t count = sheet.Problems.size();
    if (count == 0 || sheet.ProblemsOnPage() != count || count > static_cast<size_t>(sheet.Requested))
        Refuse(recorded, "、問題の数（" + std::to_string(count) + "問）が記録された配置（" +
                             (sheet.Settings.CellMM > 0 ? "大きなマス " + std::to_string(sheet.Requested) + "問" : std::string("標準")) +
                             "）に合いません");
    reopened.View = PageViewOf(sheet.Settings);
    return reopened;
}
