#include "commands.h"

#include "allgemein.h"
#include "cachefile.h"
#include "dayview.h"
#include "pagedecoding.h"
#include "weekdays.h"
#include "weekpage.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <optional>
#include <utility>

namespace {

QString unreadable(const QString &path)
{
    return u"Datei nicht lesbar: "_qs + path;
}

std::optional<QByteArray> readFile(const QString &path)
{
    if (!fileExists(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// QJsonObject would sort the keys; written by hand they keep the window's
// order, and Qt's writer still does the escaping.
QByteArray jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.sliced(1, array.size() - 2);
}

QByteArray toJson(const DayView &view)
{
    const std::pair<const char *, const QString &> fields[] = {
        {"heading", view.heading},         {"menu1", view.menu1},
        {"wahlessen", view.wahlessen},     {"eintopf", view.eintopf},
        {"vegetarisch", view.vegetarisch}, {"abendessen", view.abendessen},
    };
    QByteArray json = "{";
    for (const auto &[key, value] : fields) {
        if (json.size() > 1)
            json += ',';
        json += jsonString(QString::fromLatin1(key)) + ':' + jsonString(value);
    }
    return json + "}\n";
}

} // namespace

namespace DumpCommands {

Outcome link(const QString &path)
{
    const std::optional<QByteArray> page = readFile(path);
    if (!page)
        return {{}, unreadable(path)};
    return {WeekPage::findWeekLink(decodePage(*page)).toUtf8() + '\n', {}};
}

Outcome week(const QString &path)
{
    const std::optional<QByteArray> page = readFile(path);
    if (!page)
        return {{}, unreadable(path)};
    // With an empty week to start from, a page without sections leaves the
    // week empty, and an empty week encodes to nothing.
    return {CacheFile::encode(WeekPage::parse(decodePage(*page), {}).weekPlan), {}};
}

Outcome day(const QString &path, const QString &day)
{
    bool isNumber = false;
    const int n = day.toInt(&isNumber);
    if (!isNumber || n < 1 || n > Weekdays::count)
        return {{}, u"Ungültiger Tag: \""_qs + day + u"\" (erlaubt sind 1 bis "_qs
                         + QString::number(Weekdays::count) + u')'};

    // Start-up reads the cache only when the file exists.
    const std::optional<WeekPlan> weekPlan = fileExists(path) ? loadCache(path) : std::nullopt;
    if (!weekPlan)
        return {{}, unreadable(path)};
    return {toJson(dayViewOf(*weekPlan, n)), {}};
}

} // namespace DumpCommands
