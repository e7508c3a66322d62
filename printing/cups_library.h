// libcups, opened at its first use: a run of the program that never prints
// (the command line, most of all) does not load it and the many libraries it
// needs.
#pragma once

#include <cups/cups.h>

#define TAVELIN_CUPS_FUNCTIONS(X)                                                                                   \
    X(cupsAddOption) X(cupsCancelJob2) X(cupsDoRequest) X(cupsEncodeOptions2) X(cupsEncryption)                     \
    X(cupsFinishDocument) X(cupsFreeDests) X(cupsFreeOptions) X(cupsGetNamedDest) X(cupsLastError) X(cupsServer)     \
    X(cupsStartDocument) X(cupsUser) X(cupsWriteRequestData) X(httpAssembleURIf) X(httpClose) X(httpConnect2)       \
    X(httpError) X(httpGetStatus) X(httpReconnect2) X(httpSetTimeout) X(ippAddString) X(ippDelete) X(ippErrorString)                 \
    X(ippFindAttribute) X(ippGetInteger) X(ippNewRequest) X(ippPort)

// The functions of libcups that the program calls, by their own names.
struct TCupsLibrary {
#define TAVELIN_CUPS_MEMBER(name) decltype(&::name) name = nullptr;
    TAVELIN_CUPS_FUNCTIONS(TAVELIN_CUPS_MEMBER)
#undef TAVELIN_CUPS_MEMBER
};

// The library, loaded at the first call. Raises EPrinter, in words, when it
// cannot be loaded.
const TCupsLibrary& Cups();
