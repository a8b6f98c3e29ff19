#pragma once

#include <QApplication>

// One application object for a whole test program, as Qt expects; tests of
// windows call this first. It lives until the program ends.
inline void ensureTestApplication()
{
    static int argc = 1;
    static char name[] = "test";
    static char *argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv);
}
