#include "sheets/class_set.h"

#include "worksheet/generator.h"
#include "worksheet/problems.h"
#include "worksheet/text_to_int.h"

const char* const kShortfallMessage = "今の条件では、指定された問題数が確保できません。";

EShortfall::EShortfall() : std::runtime_error(kShortfallMessage) {}

int32_t NextNumber(int32_t number)
{
    return static_cast<int32_t>(static_cast<uint32_t>(number) + 1u);
}

TClassSet MakeClassSet(const TWorksheetSettings& settings, int count, int32_t firstNumber,
                       const std::function<bool(int)>& goOn)
{
    if (count < 1 || count > 99) throw std::out_of_range("a class set has 1 to 99 sheets");
    const int32_t low = TextToInt(settings.AnsLow);
    const int32_t high = TextToInt(settings.AnsHigh);
    TClassSet set;
    set.Requested = RequestedCount(settings);
    int32_t number = firstNumber;
    for (int i = 0; i < count; ++i, number = NextNumber(number)) {
        TMadeSheet sheet;
        {
            // Each run works on the program-wide table, which is given back
            // as it was before anything else can look at it.
            const TSheetOnTable keep(TMadeSheet{});
            QuestionCount = set.Requested;
            GenerateProblems(settings, set.Requested, low, high, nullptr);
            PrintNumber = number;
            sheet = CurrentSheet();
        }
        if (sheet.Problems.size() < 4) throw EShortfall();
        if (static_cast<int32_t>(sheet.Problems.size()) < set.Requested) set.ShortSheets.push_back(number);
        set.Sheets.push_back(std::move(sheet));
        if (goOn && !goOn(i + 1)) return {};
    }
    return set;
}

std::vector<std::pair<size_t, bool>> PageOrder(size_t sheets, TAnswerOrder order)
{
    std::vector<std::pair<size_t, bool>> pages;
    for (size_t i = 0; i < sheets; ++i) {
        pages.emplace_back(i, false);
        if (order == TAnswerOrder::Each) pages.emplace_back(i, true);
    }
    if (order == TAnswerOrder::After)
        for (size_t i = 0; i < sheets; ++i) pages.emplace_back(i, true);
    return pages;
}

bool AnswerOrderNamed(const std::string& name, TAnswerOrder& order)
{
    const std::pair<const char*, TAnswerOrder> names[] = {
        {"none", TAnswerOrder::None}, {"after", TAnswerOrder::After}, {"each", TAnswerOrder::Each}};
    for (const auto& [text, value] : names)
        if (name == text) {
            order = value;
            return true;
        }
    return false;
}
