// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/cachefile.h"
#include "generated/buildconfig.h"
#include "tools/dump/commands.h"
#include "tools/dump/controlescapes.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QNetworkProxyFactory>
#include <QTimer>

#include <array>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace kostwerk::tools {

namespace {

// The usual status for bad use and unreadable input.
constexpr int exitFailure = 2;

using Done = std::function<void(const DumpCommands::Outcome &)>;

struct Command
{
    QStringView name;
    QStringView usage;
    qsizetype minOperands; // after the command's name
    qsizetype maxOperands;
    void (*run)(const QStringList &operands, const Done &done);
};

DumpCommands::Outcome badCall(QStringView usage)
{
    return {{}, u"Falsche Argumente, Aufruf: "_qs + QCoreApplication::applicationName() + u' ' + usage};
}

constexpr QStringView fetchUsage = u"fetch [--cache] [EINSTELLUNGSDATEI]";

void fetch(const QStringList &operands, const Done &done)
{
    const bool cacheText = operands.value(0) == u"--cache";
    const QStringList files = operands.mid(cacheText ? 1 : 0);
    if (files.size() > 1)
        done(badCall(fetchUsage));
    else
        DumpCommands::fetch(files.value(0), cacheText, done);
}

const std::array<Command, 4> commands = {{
    {u"link", u"link DATEI", 1, 1,
     [](const QStringList &operands, const Done &done) { done(DumpCommands::link(operands.at(0))); }},
    {u"week", u"week DATEI", 1, 1,
     [](const QStringList &operands, const Done &done) { done(DumpCommands::week(operands.at(0))); }},
    {u"day", u"day DATEI N", 2, 2,
     [](const QStringList &operands, const Done &done) { done(DumpCommands::day(operands.at(0), operands.at(1))); }},
    {u"fetch", fetchUsage, 0, 2, fetch},
}};

// Written out whole: Qt's own help would frame it in English.
constexpr QStringView helpText = u"Aufruf: kostwerk-dump [Optionen] <link|week|day|fetch> DATEI [N]\n"
                                 "Zeigt, was Kostwerk aus einer gespeicherten Seite oder Cache-Datei macht.\n"
                                 "\n"
                                 "Befehle:\n"
                                 "  link DATEI   der Wochen-Link, den das Programm in der Startseite DATEI findet\n"
                                 "  week DATEI   die Bytes der Cache-Datei nach dem Abruf der Wochenseite DATEI\n"
                                 "  day DATEI N  Tag N (1 = Montag ... 6 = Samstag) der Cache-Datei DATEI,\n"
                                 "               so wie das Fenster ihn zeigt, als JSON (null, wenn die Woche\n"
                                 "               diesen Tag nicht hat)\n"
                                 "  fetch [--cache] [EINSTELLUNGSDATEI]\n"
                                 "               holt die Woche wie das Programm, mit den Einstellungen aus\n"
                                 "               EINSTELLUNGSDATEI (sonst seiner refekt.ini), ohne eine Datei\n"
                                 "               zu schreiben, und nennt jeden Schritt; mit --cache stattdessen\n"
                                 "               die Bytes der Cache-Datei, die der Abruf schreiben würde\n"
                                 "\n"
                                 "Optionen, vor dem Befehl:\n"
                                 "  -h, --help     gibt diese Hilfe aus\n"
                                 "  -v, --version  gibt die Version aus\n"
                                 "\n"
                                 "Steuerzeichen aus Seiten, Adressen und Server-Texten erscheinen maskiert,\n"
                                 "etwa ESC als \\x1b und U+009B als \\u009b, auch in den Bytes der Cache-Datei.\n";

bool writeTo(std::FILE *stream, const QByteArray &bytes)
{
    const auto size = static_cast<std::size_t>(bytes.size());
    return std::fwrite(bytes.constData(), 1, size, stream) == size && std::fflush(stream) == 0;
}

void tell(const QString &message)
{
    writeTo(stderr, (QCoreApplication::applicationName() + u": " + ControlEscapes::escaped(message) + u'\n').toUtf8());
}

int fail(const QString &message)
{
    tell(message);
    return exitFailure;
}

// A cache file's bytes are Windows-1252, where a "›" is the byte 0x9B, which
// a terminal that reads 8 bits takes for the start of a control sequence.
// On a terminal they are shown as the text they hold, in UTF-8 and with
// every control character escaped but the line ends; redirected, they stay
// exact.
QByteArray forStandardOutput(const DumpCommands::Outcome &outcome)
{
    if (!outcome.cacheFile || outcome.output.isEmpty() || !::isatty(STDOUT_FILENO))
        return outcome.output;
    tell(u"Ausgabe auf dem Terminal als UTF-8, Steuerzeichen maskiert; umgeleitet (etwa > cache.rfk) "
         u"sind es genau die Bytes der Cache-Datei."_qs);
    return ControlEscapes::escapedLines(core::CacheFile::text(outcome.output)).toUtf8();
}

void run(const QStringList &arguments, const Done &done)
{
    if (arguments.isEmpty()) {
        done({{}, u"Kein Befehl angegeben (link, week, day oder fetch; siehe --help)"_qs});
        return;
    }
    for (const Command &command : commands) {
        if (arguments.first() != command.name)
            continue;
        const qsizetype operandCount = arguments.size() - 1;
        if (operandCount < command.minOperands || operandCount > command.maxOperands)
            done(badCall(command.usage));
        else
            command.run(arguments.mid(1), done);
        return;
    }
    done({{}, u"Unbekannter Befehl: "_qs + arguments.first() + u" (link, week, day oder fetch; siehe --help)"_qs});
}

// The exit status for outcome, once it is written.
int finish(const DumpCommands::Outcome &outcome)
{
    if (!writeTo(stdout, forStandardOutput(outcome)))
        return fail(u"Ausgabe nicht schreibbar"_qs);
    if (!outcome.error.isEmpty())
        return fail(outcome.error);
    return 0;
}

} // namespace

} // namespace kostwerk::tools

int main(int argc, char *argv[])
{
    using namespace kostwerk::tools;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"kostwerk-dump"_qs);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kostwerk::BuildConfig::version));
    // The fetch's own log would repeat what fetch prints; QT_LOGGING_RULES
    // can still turn it on.
    QLoggingCategory::setFilterRules(u"kostwerk.*=false"_qs);
    // Fetches the way the program does, through the system's proxy.
    QNetworkProxyFactory::setUseSystemConfiguration(true);

    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{u"h"_qs, u"help"_qs});
    const QCommandLineOption versionOption(QStringList{u"v"_qs, u"version"_qs});
    parser.addOptions({helpOption, versionOption});

    // After the command everything is an operand, so "day DATEI -1" is a bad
    // day and a file name may begin with a dash.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);

    if (!parser.parse(QCoreApplication::arguments())) {
        const QStringList unknown = parser.unknownOptionNames();
        return fail(unknown.isEmpty() ? u"Ungültige Befehlszeile: "_qs + parser.errorText()
                                      : u"Unbekannte Option: "_qs + unknown.first());
    }
    if (parser.isSet(helpOption))
        return finish({helpText.toUtf8(), {}});
    if (parser.isSet(versionOption))
        return finish(
            {(QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion()).toUtf8() + '\n',
             {}});

    // A fetch ends in the event loop; the other commands end at once.
    QTimer::singleShot(0, &app, [arguments = parser.positionalArguments()] {
        run(arguments, [](const DumpCommands::Outcome &outcome) { QCoreApplication::exit(finish(outcome)); });
    });
    return QCoreApplication::exec();
}
