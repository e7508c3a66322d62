#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "worksheet/text_to_int.h"

namespace {

struct Accepted {
    const char* text;
    int32_t value;
};

const Accepted kAccepted[] = {
    {" 42", 42},          {"+7", 7},
    {"-0", 0},            {"007", 7},
    {"$1F", 31},          {"x10", 16},
    {"0X0a", 10},         {"-2147483648", INT32_MIN},
    {"2147483647", INT32_MAX},
    {"0", 0},             {"   -12", -12},
    {"$FFFFFFFF", -1},    {"-$1", 1 - 2},
    {"-$80000000", INT32_MIN},
    {"$7fffffff", INT32_MAX},
    {"$000000000FF", 255},  // leading zeros are not significant digits
    {"0x0", 0},           {"X7f", 127},
    {"+0x10", 16},        {"00000000000000000000123", 123},
};

TEST(TextToInt, AcceptsTheGrammar)
{
    for (const Accepted& c : kAccepted) {
        SCOPED_TRACE(std::string("text: [") + c.text + "]");
        EXPECT_EQ(TextToInt(c.text), c.value);
    }
}

const char* const kRejected[] = {
    "",          " ",          "-",           "$",          "0x",
    "4 ",        "- 4",        "--4",         "2147483648", "$100000000",
    "\t4",       "+-4",        "\xEF\xBC\x91\xEF\xBC\x92",  // full-width "１２"
    "4a",        "0x 1",       "-2147483649", "$-1",        "0$1",
    "1e3",       "x",          "0xg",         "1_000",      "0x0x1",
    "+",         " +",         "4\n",         "99999999999",
};

TEST(TextToInt, RejectsEverythingElse)
{
    for (const char* text : kRejected) {
        SCOPED_TRACE(std::string("text: [") + text + "]");
        EXPECT_THROW(TextToInt(text), EConvertError);
    }
}

TEST(TextToInt, ErrorMessageQuotesTheWholeText)
{
    const struct {
        std::string text, message;
    } cases[] = {
        {"abc", "'abc' は整数ではありません"},
        {"", "'' は整数ではありません"},
        {" 4 ", "' 4 ' は整数ではありません"},
        {std::string("1\0" "2", 3), std::string("'1\0" "2' は整数ではありません", 30)},
    };
    for (const auto& c : cases) {
        try {
            TextToInt(c.text);
            ADD_FAILURE() << "no error for [" << c.text << "]";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), c.message.c_str());
        }
    }
}

TEST(TextToInt, ErrorIsARuntimeError)
{
    EXPECT_THROW(TextToInt("?"), std::runtime_error);
}

}  // namespace
