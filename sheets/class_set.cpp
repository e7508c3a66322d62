#include "sheets/class_set.h"

#include "errors/errors.h"
#include "sheets/sheet_number.h"
#include "worksheet/sheet_generator.h"

const char* const kShortfallMessage = "今の条件では、指定された問題数が確保できません。";

EShortfall::EShortfall() : std::runtime_error(kShortfallMessage) {}

TClassSet MakeClassSet(const TWorksheetSettings& settings, int count, int32_t firstNumber, TRandom& random,
                       const std::function<bool(int)>& goOn)
{
    if (count < 1 || count > 99) throw std::out_of_range("a class set has 1 to 99 sheets");
    TClassSet set;
    set.Requested = RequestedCount(settings);
    int32_t number = firstNumber;
    for (int i = 0; i < count; ++i, number = NextNumber(number)) {
        TSheet sheet = GenerateSheet(settings, number, random);
        if (sheet.Problems.size() < 4) throw EShortfall();
        if (static_cast<int32_t>(sheet.Problems.size()) < set.Requested) set.ShortSheets.push_back(number);
        set.Sheets.push_back(std::move(sheet));
        if (goOn && !goOn(i + 1)) throw EAbort();
    }
    return set;
}

std::string WrappedNumbersNote(const TClassSet& set)
{
    if (set.Sheets.size() < 2 || set.Sheets.back().Number >= set.Sheets.front().Number) return {};
    return "プリント番号が 2147483647 をこえたので、そのあとは -2147483648 から続けました";
}
