// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/sampleserver/nextweek.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace kostwerk::tools {

namespace {

constexpr int week = 7;

// Replaces each match of pattern in text with what replacement makes of it,
// from the last to the first, so that the replacements keep the places of
// the matches before them.
template<typename Replacement>
QString replaceBackwards(const QString &text, const QRegularExpression &pattern, Replacement replacement)
{
    QList<QRegularExpressionMatch> matches;
    for (const QRegularExpressionMatch &match : pattern.globalMatch(text))
        matches.append(match);
    QString result = text;
    for (auto match = matches.crbegin(); match != matches.crend(); ++match)
        result.replace(match->capturedStart(), match->capturedLength(), replacement(*match));
    return result;
}

// "07.12.2026" and "07.12." keep their form, "07.12.26" and longer numbers
// are no dates. A date without a year is moved within the year of the next
// full date, as in "vom 24.02. bis 01.03.2028", or else of the last one.
QString movedDates(const QString &text)
{
    static const QRegularExpression date(QStringLiteral(R"((?<!\d)(\d\d)\.(\d\d)\.(\d{4})?(?!\d))"));
    int year = QDate::currentDate().year();
    for (const QRegularExpressionMatch &match : date.globalMatch(text)) {
        if (match.hasCaptured(3))
            year = match.captured(3).toInt();
    }
    return replaceBackwards(text, date, [&year](const QRegularExpressionMatch &match) {
        const bool withYear = match.hasCaptured(3);
        if (withYear)
            year = match.captured(3).toInt();
        const QDate moved = QDate(year, match.captured(2).toInt(), match.captured(1).toInt()).addDays(week);
        if (!moved.isValid())
            return match.captured();
        return moved.toString(withYear ? u"dd.MM.yyyy" : u"dd.MM.");
    });
}

// The canteen names a week page for its year and week, "t2026kw50" for the
// 50th week of 2026, counting weeks as ISO 8601 does.
QString movedWeekNames(const QString &text)
{
    static const QRegularExpression weekName(QStringLiteral(R"(\bt(\d{4})kw(\d\d)\b)"));
    return replaceBackwards(text, weekName, [](const QRegularExpressionMatch &match) {
        // The 4th of January always lies in the first week.
        const QDate inWeek = QDate(match.captured(1).toInt(), 1, 4).addDays(week * (match.captured(2).toInt() - 1));
        int year = 0;
        const int number = inWeek.addDays(week).weekNumber(&year);
        return u"t%1kw%2"_qs.arg(year).arg(number, 2, 10, QChar(u'0'));
    });
}

bool isPage(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"html" || suffix == u"htm";
}

} // namespace

QString copySiteAWeekOn(const QString &root, const QString &target)
{
    if (!QFileInfo(root).isDir())
        return root;
    // Absolute, as a relative folder gives no relative paths.
    const QDir site(QFileInfo(root).absoluteFilePath());
    QDirIterator files(site.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString to = target + u'/' + movedWeekNames(site.relativeFilePath(from));
        QFile source(from);
        if (!source.open(QIODevice::ReadOnly))
            return from;
        QByteArray bytes = source.readAll();
        // Latin-1 keeps each byte of the canteen's Windows-1252 as it was;
        // dates and week names are ASCII.
        if (isPage(from))
            bytes = movedDates(movedWeekNames(QString::fromLatin1(bytes))).toLatin1();
        QFile copy(to);
        if (!QDir().mkpath(QFileInfo(to).path()) || !copy.open(QIODevice::WriteOnly)
            || copy.write(bytes) != bytes.size())
            return to;
    }
    return {};
}

} // namespace kostwerk::tools
