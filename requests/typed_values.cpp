// Seeds and counts as the teacher types them.
#include "requests/requests.h"

#include "errors/errors.h"
#include "worksheet/lcg.h"
#include "worksheet/text_fold.h"

namespace {

// `text` folded as names are (full-width digits, any minus), spaces around
// it trimmed; its digits and whether a minus stood before them, or none.
std::optional<std::pair<std::string, bool>> DecimalDigits(const std::string& text)
{
    std::string folded = FoldForMatching(text);
    const size_t first = folded.find_first_not_of(' '), last = folded.find_last_not_of(' ');
    folded = first == std::string::npos ? std::string() : folded.substr(first, last - first + 1);
    const bool negative = !folded.empty() && folded[0] == '-';
    const std::string digits = folded.substr(negative ? 1 : 0);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return std::pair{digits, negative};
}

}  // namespace

uint64_t ReadSeed(const std::string& text)
{
    const auto digits = DecimalDigits(text);
    const std::string refusal = "乱数のもと「" + text + "」は、0～18446744073709551615 の整数ではありません。";
    if (!digits || digits->first.size() > 20) throw ERefused(refusal);
    // In 64 bits, digit by digit: no more than 2^64 − 1 (or 2^63 after a minus).
    uint64_t value = 0;
    for (const char digit : digits->first) {
        const uint64_t d = static_cast<uint64_t>(digit - '0');
        if (value > (UINT64_MAX - d) / 10) throw ERefused(refusal);
        value = value * 10 + d;
    }
    if (!digits->second) return value;
    if (value > (uint64_t{1} << 63)) throw ERefused(refusal);
    return 0 - value;
}

uint64_t SeedToUse(const std::string& text)
{
    return text.find_first_not_of(" \t") == std::string::npos ? FreshSeed() : ReadSeed(text);
}

int32_t ReadSheetCount(const std::string& text)
{
    const auto digits = DecimalDigits(text);
    const bool small = digits && !digits->second && digits->first.size() <= 4;
    return CheckedSheetCount(small ? std::stoll(digits->first) : -1, text);
}

int32_t ProblemsOfForm(const TWorksheetSettings& settings, int32_t largeCount)
{
    return settings.CellMM > 0 ? largeCount : settings.QNumPattern * 4 + 12;
}
