// Class sets: a different sheet for every pupil, with consecutive numbers,
// and their answer sheets, in one document or one print job.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "sheets/made_sheet.h"
#include "worksheet/settings.h"

// Where the answer sheets go: none, all after all the problem sheets, or
// each right after its problem sheet.
enum class TAnswerOrder { None, After, Each };

// A run of the set found fewer than four problems: the set stops before
// anything is written or printed. The message is the shortfall warning.
class EShortfall : public std::runtime_error {
public:
    EShortfall();
};

// The text of the shortfall warning.
extern const char* const kShortfallMessage;

struct TClassSet {
    int32_t Requested = 0;            // problems asked for per sheet
    std::vector<TMadeSheet> Sheets;   // in number order
    std::vector<int32_t> ShortSheets;  // numbers of the sheets with fewer problems than asked
};

// Makes `count` sheets (1 to 99), each a fresh run of GenerateProblems with
// `settings`, numbered from `firstNumber` on (wrapping as the sheet number
// does). A sheet that ends short is kept when it has four problems or more.
// `goOn` is asked after each sheet; false stops, and the set is empty. The
// program-wide table, count and number are as before when it returns.
// Raises EConvertError for a text that is not a number, EShortfall for a
// run with fewer than four problems, std::out_of_range for a count outside
// 1 to 99.
TClassSet MakeClassSet(const TWorksheetSettings& settings, int count, int32_t firstNumber,
                       const std::function<bool(int done)>& goOn = {});

// The pages of `sheets` sheets in the order asked: the index of the sheet,
// and whether the page is its answer sheet.
std::vector<std::pair<size_t, bool>> PageOrder(size_t sheets, TAnswerOrder order);

// The number after `number`, wrapping from 2147483647 to -2147483648.
int32_t NextNumber(int32_t number);

// "none", "after", "each", as the command line and the messages name them.
bool AnswerOrderNamed(const std::string& name, TAnswerOrder& order);
