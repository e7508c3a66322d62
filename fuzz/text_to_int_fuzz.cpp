// Feeds arbitrary bytes to TextToInt and to the reference conversion: both
// must give the same value, or both must reject the text with the message
// that quotes it. Any difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "reference_text_to_int.h"
#include "worksheet/text_to_int.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<int32_t> expected = ReferenceTextToInt(text);
    try {
        const int32_t actual = TextToInt(text);
        if (!expected || *expected != actual) {
            std::fprintf(stderr, "TextToInt accepted a text as %d; the reference says %s\n", actual,
                         expected ? std::to_string(*expected).c_str() : "not an integer");
            std::abort();
        }
    } catch (const EConvertError& e) {
        if (expected) {
            std::fprintf(stderr, "TextToInt rejected a text the reference reads as %d\n", *expected);
            std::abort();
        }
        // what() is a C string: a text with a NUL byte is quoted up to it.
        const std::string message = "'" + text + "' は整数ではありません";
        if (std::strcmp(e.what(), message.c_str()) != 0) {
            std::fprintf(stderr, "wrong message: %s\n", e.what());
            std::abort();
        }
    }
    return 0;
}
