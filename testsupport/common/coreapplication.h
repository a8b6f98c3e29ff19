#pragma once

#include <QCoreApplication>

// The Sql driver plugins load through a QCoreApplication: one for the whole
// test program, made by the first test that needs it.
inline void ensureCoreApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "ovek_test";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}
