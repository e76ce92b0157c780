// The window tests run under our application object, which owns the toolkit.
#pragma once

#include "TApplication.h"

#include <QTest>

#define QUENDRAVO_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char** argv) {                                                              \
        TApplication application;                                                                  \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
