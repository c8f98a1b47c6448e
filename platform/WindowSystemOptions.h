#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

namespace platform {

// Options Qt's window system takes from the command line (-platform, -style, -display ...) and
// removes before the program sees its arguments. A program that reads its command line before
// it opens the window system accepts them, hidden from --help, so that they are not taken for
// mistakes.
inline void acceptWindowSystemOptions(QCommandLineParser &parser)
{
    static constexpr const char *withValue[] = {"platform",        "platformpluginpath",
                                                "platformtheme",   "plugin",
                                                "qwindowgeometry", "geometry",
                                                "qwindowicon",     "icon",
                                                "qwindowtitle",    "title",
                                                "session",         "name",
                                                "display",         "style",
                                                "stylesheet"};
    static constexpr const char *flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char *name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace platform
