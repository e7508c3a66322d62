#include "printing/cups_library.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

#include "errors/errors.h"

namespace {

const char* const kLibrary = "libcups.so.2";

}  // namespace

const TCupsLibrary& Cups()
{
    static TCupsLibrary library;
    static std::string failure;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        void* handle = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            failure = "印刷サービスのライブラリ（" + std::string(kLibrary) + "）を読み込めません（" +
                      (why ? why : "") + "）";
            return;
        }
#define TAVELIN_CUPS_LOAD(name)                                                                  \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, #name));             \
    if (!library.name && failure.empty())                                                        \
        failure = "印刷サービスのライブラリ（" + std::string(kLibrary) + "）に " #name " がありません";
        TAVELIN_CUPS_FUNCTIONS(TAVELIN_CUPS_LOAD)
#undef TAVELIN_CUPS_LOAD
    });
    if (!failure.empty()) throw EPrinter(failure);
    return library;
}
