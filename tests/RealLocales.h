#pragma once

// Runs a test object once under each C library locale a pupil's machine may have: Qt sets
// LC_NUMERIC from the environment, so every conversion must give the same result whatever
// the C library's decimal point is. A locale whose data is missing fails the run: a machine
// that cannot make it does not test what an Italian system runs.

#include <QTest>
#if __has_include(<QApplication>)
#include <QApplication>
#endif

#include <clocale>
#include <cstdio>

namespace reallocales {

struct CLocale {
    const char *name;
    char decimalPoint;
};

inline constexpr CLocale all[] = {
    {"C", '.'}, {"it_IT.UTF-8", ','}, {"de_DE.UTF-8", ','}, {"en_US.UTF-8", '.'}};

// Switches the C library to `locale` and checks that its real data is there.
inline bool use(const CLocale &locale)
{
    if (!std::setlocale(LC_ALL, locale.name)) {
        std::fprintf(stderr, "FAIL: no C library locale data for %s (LOCPATH=%s)\n", locale.name,
                     qEnvironmentVariable("LOCPATH").toLocal8Bit().constData());
        return false;
    }
    const char point = std::localeconv()->decimal_point[0];
    if (point != locale.decimalPoint) {
        std::fprintf(stderr, "FAIL: %s has decimal point '%c', expected '%c'\n", locale.name, point,
                     locale.decimalPoint);
        return false;
    }
    std::printf("*** C library locale: %s\n", locale.name);
    return true;
}

inline int runAll(QObject &test, int argc, char **argv)
{
    int failures = 0;
    for (const CLocale &locale : all)
        failures += use(locale) ? QTest::qExec(&test, argc, argv) : 1;
    std::setlocale(LC_ALL, "C");
    return failures;
}

} // namespace reallocales

#if __has_include(<QApplication>)
#define SOLFIRA_TEST_MAIN_UNDER_LOCALES(TestObject)                                                \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject test;                                                                           \
        return reallocales::runAll(test, argc, argv);                                              \
    }
#endif

#define SOLFIRA_TEST_APPLESS_MAIN_UNDER_LOCALES(TestObject)                                        \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        TestObject test;                                                                           \
        return reallocales::runAll(test, argc, argv);                                              \
    }
