// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/dump/commands.h"

#include "core/cachefile.h"
#include "core/dayview.h"
#include "core/weekdays.h"
#include "core/weekpage.h"
#include "core/weekplanfetch.h"
#include "platform/fileaccess.h"
#include "platform/internettransfer.h"
#include "platform/pagedecoding.h"
#include "platform/profilefile.h"
#include "settings/settings.h"
#include "texts/statusline.h"
#include "tools/dump/controlescapes.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

#include <array>
#include <optional>
#include <utility>

namespace kostwerk::tools {

namespace {

using ControlEscapes::escaped;

QString unreadable(const QString &path)
{
    return u"Datei nicht lesbar: "_qs + path;
}

// A saved page is held to the size a download may have.
std::optional<QByteArray> readFile(const QString &path)
{
    platform::FileRead file = platform::readFile(path, platform::InternetTransfer::maxPageSize);
    if (!file.ok())
        return std::nullopt;
    return std::move(file.bytes);
}

// QJsonObject would sort the keys; written by hand they keep the window's
// order, and Qt's writer still does the escaping.
QByteArray jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.sliced(1, array.size() - 2);
}

// The cache file's text of a week, with what the pages brought in control
// characters escaped.
QByteArray cacheText(core::WeekPlan weekPlan)
{
    for (QString &section : weekPlan)
        section = ControlEscapes::escapedLines(section);
    return core::CacheFile::encode(weekPlan);
}

// The JSON keys of the categories, by core::Category: the names of the
// window's boxes.
constexpr std::array<const char *, core::categoryCount> categoryKeys = {"menu1", "wahlessen", "eintopf", "vegetarisch",
                                                                        "abendessen"};

QByteArray toJson(const std::optional<core::DayView> &day)
{
    if (!day)
        return "null\n";
    QByteArray json = "{" + jsonString(u"heading"_qs) + ':' + jsonString(day->heading);
    for (std::size_t category = 0; category < core::categoryCount; ++category)
        json += ',' + jsonString(QString::fromLatin1(categoryKeys[category])) + ':'
                + jsonString(day->categories[category]);
    return ControlEscapes::escapedJson(json) + "}\n";
}

// For example "Startseite: http://.../00.html (HTTP-Status 200, 812 Bytes,
// Zeichensatz windows-1252)"; a failed download ends with its cause, as the
// window's tooltip gives it.
QString downloadLine(QStringView step, const platform::Download &download)
{
    QString line = step + u": " + download.url + u" (";
    line += download.httpStatus == 0 ? u"keine Antwort"_qs : u"HTTP-Status "_qs + QString::number(download.httpStatus);
    line += u", " + QString::number(download.size) + u" Bytes";
    if (!download.charset.isEmpty())
        line += u", Zeichensatz " + download.charset;
    if (const QString cause = texts::StatusLine::cause(download); !cause.isEmpty())
        line += u"; " + cause;
    return escaped(QString(line + u')')) + u'\n';
}

QString fetchSteps(const core::FetchReport &report)
{
    QString steps = downloadLine(u"Startseite", report.startPage);
    if (!report.weekPage)
        return steps;
    steps += report.weekLink.isEmpty() ? u"Wochen-Link: keiner gefunden\n"_qs
                                       : u"Wochen-Link: "_qs + escaped(report.weekLink) + u'\n';
    steps += downloadLine(u"Wochenseite", *report.weekPage);
    // The fetch starts from an empty week, so the week holds exactly the
    // sections found.
    const core::WeekPlan &sections = report.weekPlan;
    steps += u"Abschnitte: "_qs + QString::number(sections.size()) + u'\n';
    for (qsizetype index = 0; index < sections.size(); ++index) {
        const QString &section = sections.at(index);
        steps += u"Abschnitt "_qs + QString::number(index) + u": "
                 + escaped(section.left(section.indexOf(core::lineBreak))) + u'\n';
    }
    return steps;
}

} // namespace

namespace DumpCommands {

Outcome link(const QString &path)
{
    const std::optional<QByteArray> page = readFile(path);
    if (!page)
        return {{}, unreadable(path)};
    return {escaped(core::WeekPage::findWeekLink(platform::decodePage(*page).text)).toUtf8() + '\n', {}};
}

Outcome week(const QString &path)
{
    std::optional<QByteArray> page = readFile(path);
    if (!page)
        return {{}, unreadable(path)};
    // Each form of the page is let go once the next is made, so that the
    // page is not held while the week is encoded.
    QString text = platform::decodePage(*std::exchange(page, std::nullopt)).text;
    core::WeekPlan weekPlan = core::WeekPage::parse(std::exchange(text, {}), {}).weekPlan;
    // With an empty week to start from, a page without sections leaves the
    // week empty, and an empty week encodes to nothing.
    return {cacheText(std::move(weekPlan)), {}, true};
}

void fetch(const QString &iniPath, bool asCacheText, const std::function<void(const Outcome &)> &done)
{
    if (!iniPath.isEmpty() && !platform::fileExists(iniPath)) {
        done({{}, unreadable(iniPath)});
        return;
    }
    const QString path = iniPath.isEmpty() ? settings::SettingsStore::iniPathFor(QCoreApplication::applicationDirPath())
                                           : iniPath;
    // Read as empty, it would have the fetch ask the default host.
    if (const platform::FileFailure failure = platform::ProfileFile::readFailure(path); failure.failed()) {
        done({{}, unreadable(path) + u" – " + texts::StatusLine::cause(failure)});
        return;
    }
    const settings::Settings settings = settings::SettingsStore::read(path);
    // As in the window, the placeholder is not asked for.
    if (settings::SettingsStore::hasPlaceholderStart(settings)) {
        done({{}, texts::StatusLine::noSiteSet()});
        return;
    }
    auto *transfer = new platform::InternetTransfer(QCoreApplication::instance());
    auto *weekFetch = new core::WeekPlanFetch(*transfer, transfer);
    QObject::connect(weekFetch, &core::WeekPlanFetch::finished, transfer,
                     [done, asCacheText, transfer](const core::FetchReport &report) {
                         const Outcome outcome{asCacheText ? cacheText(report.weekPlan) : fetchSteps(report).toUtf8(),
                                               texts::StatusLine::problem(report), asCacheText};
                         // The program ends once done has the outcome: the network's own objects
                         // go first, from the event loop, or they would be left behind unfreed.
                         QObject::connect(transfer, &QObject::destroyed, [done, outcome] { done(outcome); });
                         transfer->deleteLater();
                     });
    // With no week to start from, a fetch without sections leaves the week
    // empty, and an empty week encodes to nothing.
    weekFetch->start({settings.startURL, settings.basisURL}, {});
}

Outcome day(const QString &path, const QString &day)
{
    bool isNumber = false;
    const int n = day.toInt(&isNumber);
    if (!isNumber || n < 1 || n > core::Weekdays::count)
        return {{},
                u"Ungültiger Tag: \""_qs + day + u"\" (erlaubt sind 1 bis "_qs + QString::number(core::Weekdays::count)
                    + u')'};

    // A missing file cannot be read either.
    const core::LoadedCache cache = core::loadCache(platform::PathBelow::inFolderOf(path));
    if (!cache.ok())
        return {{}, unreadable(path)};
    return {toJson(core::dayViewOf(cache.weekPlan, n)), {}};
}

} // namespace DumpCommands

} // namespace kostwerk::tools
