#include "sheets/sheet_csv.h"

#include <string>

#include "worksheet/decimal.h"
#include "worksheet/operations.h"

std::string SheetsCsv(const std::vector<TSheet>& sheets)
{
    std::string csv = "sheet,problem,operation,first,second,answer,remainder\n";
    for (const TSheet& sheet : sheets) {
        const TOperationRules& rules = RulesOf(sheet.Settings.Operation);
        for (size_t k = 0; k < sheet.ProblemsOnPage(); ++k) {
            const TSheetProblem& p = sheet.Problems[k];
            csv += std::to_string(sheet.Number) + "," + std::to_string(k + 1) + "," + rules.Key + "," +
                   FirstText(p) + "," + SecondText(p) + "," + AnswerText(p) + "," +
                   (rules.HasRemainder && !p.Rounded ? RemainderText(p) : std::string()) + "\n";
        }
    }
    return csv;
}
