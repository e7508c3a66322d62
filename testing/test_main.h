// main() for the Qt tests of the program: they run under the program's own
// application object, so that its error handling is in place.
#pragma once

#include <QTest>

#include "app/application.h"

#define TAVELIN_TEST_MAIN(TestClass)                  \
    int main(int argc, char** argv)                   \
    {                                                 \
        TApplication app(argc, argv);                 \
        TestClass test;                               \
        return QTest::qExec(&test, argc, argv);       \
    }
