#include "sheets/sheet_csv.h"

#include <algorithm>

#include "worksheet/follow_up.h"

#include <string>

#include "worksheet/decimal.h"
#include "worksheet/operations.h"

std::string SheetsCsv(const std::vector<TSheet>& sheets)
{
    // Pupils' follow-up sheets say whose each is and what each problem is for.
    const bool followUps = std::any_of(sheets.begin(), sheets.end(), [](const TSheet& s) { return s.FollowUp.has_value(); });
    std::string csv = followUps ? "sheet,problem,operation,first,second,answer,remainder,shusseki,purpose\n"
                                : "sheet,problem,operation,first,second,answer,remainder\n";
    for (const TSheet& sheet : sheets) {
        const TOperationRules& rules = RulesOf(sheet.Settings.Operation);
        for (size_t k = 0; k < sheet.ProblemsOnPage(); ++k) {
            const TSheetProblem& p = sheet.Problems[k];
            csv += std::to_string(sheet.Number) + "," + std::to_string(k + 1) + "," + rules.Key + "," +
                   FirstText(p) + "," + SecondText(p) + "," + AnswerText(p) + "," +
                   (rules.HasRemainder && !p.Rounded ? RemainderText(p) : std::string());
            if (followUps)
                csv += "," + (sheet.Roll > 0 ? std::to_string(sheet.Roll) : std::string()) + "," +
                       (sheet.FollowUp ? PurposeName(sheet.PurposeOf(k)) : "");
            csv += "\n";
        }
    }
    return csv;
}
