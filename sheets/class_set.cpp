#include "sheets/class_set.h"

#include "errors/errors.h"
#include "sheets/sheet_number.h"
#include "worksheet/sheet_generator.h"

const char* const kShortfallMessage = "今の条件では、指定された問題数が確保できません。";

EShortfall::EShortfall() : std::runtime_error(kShortfallMessage) {}

TClassSet MakeClassSet(const TWorksheetSettings& settings, int count, int32_t firstNumber, TRandom& random,
                       const std::function<bool(int)>& goOn)
{
    CheckedSheetCount(count, std::to_string(count));
    TClassSet set;
    set.Requested = RequestedCount(settings);
    int32_t number = firstNumber;
    for (int i = 0; i < count; ++i, number = NextNumber(number)) {
        TSheet sheet = GenerateSheet(settings, number, random);
        sheet.Place = i;
        if (sheet.Problems.size() < kFewestProblems) throw EShortfall();
        if (static_cast<int32_t>(sheet.Problems.size()) < set.Requested) set.ShortSheets.push_back(number);
        set.Sheets.push_back(std::move(sheet));
        if (goOn && !goOn(i + 1)) throw EAbort();
    }
    return set;
}

int32_t CheckedSheetCount(int64_t count, const std::string& typed)
{
    if (count < 1 || count > kMostSheets)
        throw ERefused("枚数「" + typed + "」は 1～" + std::to_string(kMostSheets) + " の整数ではありません。");
    return static_cast<int32_t>(count);
}

std::string WrappedNumbersNote(const TClassSet& set)
{
    if (set.Sheets.size() < 2 || set.Sheets.back().Number >= set.Sheets.front().Number) return {};
    return "プリント番号が 2147483647 をこえたので、そのあとは -2147483648 から続けました";
}
