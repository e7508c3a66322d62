#include "worksheet/settings_summary.h"

#include <algorithm>

#include "worksheet/division.h"
#include "worksheet/operations.h"
#include "worksheet/text_to_int.h"

namespace {

int32_t DigitOf(const std::string& text)
{
    try {
        return TextToInt(text);
    } catch (const EConvertError&) {
        return 0;
    }
}

// The highest place (1 to 4) whose low or high end is above 0; 1 at least.
int Places(const std::string* const ends[8])
{
    int places = 1;
    for (int place = 1; place <= 4; ++place)
        if (std::max(DigitOf(*ends[2 * place - 2]), DigitOf(*ends[2 * place - 1])) > 0) places = place;
    return places;
}

// A number of decimals by its shape: a box for each place its ranges allow,
// 0 for a ones place that is always 0 ("□.□□", "0.□").
std::string DecimalShape(const std::string* const whole[8], const std::string* const decimals[6])
{
    const bool onesOnlyZero = std::max(DigitOf(*whole[0]), DigitOf(*whole[1])) == 0 && Places(whole) == 1;
    std::string shape;
    for (int place = 0; place < Places(whole); ++place) shape += onesOnlyZero ? "0" : "□";
    int places = 0;
    for (int place = 1; place <= 3; ++place)
        if (std::max(DigitOf(*decimals[2 * place - 2]), DigitOf(*decimals[2 * place - 1])) > 0) places = place;
    if (places > 0) shape += ".";
    for (int place = 0; place < places; ++place) shape += "□";
    return shape;
}

}  // namespace

std::string SettingsSummary(const TWorksheetSettings& s, int problems)
{
    const std::string* const first[8] = {&s.u1l, &s.u1h, &s.u2l, &s.u2h, &s.u3l, &s.u3h, &s.u4l, &s.u4h};
    const std::string* const second[8] = {&s.d1l, &s.d1h, &s.d2l, &s.d2h, &s.d3l, &s.d3h, &s.d4l, &s.d4h};
    const TOperationRules& rules = RulesOf(s.Operation);
    const size_t patterns = rules.PatternLabels.size();
    const size_t pattern = s.Kuriagari >= 0 && static_cast<size_t>(s.Kuriagari) < patterns ? static_cast<size_t>(s.Kuriagari) : 0;
    std::string summary = std::string(rules.Name) + " " + std::to_string(Places(first)) + "けた" + rules.Sign +
                          std::to_string(Places(second)) + "けた・" + rules.PatternLabels[pattern] + "・";
    if (rules.Decimal()) {
        const std::string* const firstDecimals[6] = {&s.u01l, &s.u01h, &s.u001l, &s.u001h, &s.u0001l, &s.u0001h};
        const std::string* const secondDecimals[6] = {&s.d01l, &s.d01h, &s.d001l, &s.d001h, &s.d0001l, &s.d0001h};
        summary = std::string(rules.Name) + " " + DecimalShape(first, firstDecimals) + rules.Sign +
                  DecimalShape(second, secondDecimals) + "・" + rules.PatternLabels[pattern] + "・";
    }
    if (rules.HasRemainder && s.Amari > 0 && static_cast<size_t>(s.Amari) < RemainderLabels().size())
        summary += "あまり" + RemainderLabels()[static_cast<size_t>(s.Amari)] + "・";
    return summary + std::to_string(problems) + "問";
}
