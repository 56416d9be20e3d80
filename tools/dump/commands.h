#pragma once

#include <QByteArray>
#include <QString>

// What the program makes of a saved page or cache file, computed by the
// program's own code. Each command gives the bytes for standard output or a
// one-line German error message.
namespace DumpCommands {

struct Outcome
{
    QByteArray output;
    QString error;  // empty on success
};

// The week link found in a start page as downloaded, and a line break.
Outcome link(const QString &path);

// The exact bytes of the cache file after a fetch of this week page as
// downloaded (no Content-Type header), starting from an empty week. Nothing
// when the page has no section.
Outcome week(const QString &path);

// The day view of section day (1 = Montag ... 6 = Samstag) of a cache file
// read as start-up reads it: one compact JSON object, or null when the week
// has no such day, and a line break.
Outcome day(const QString &path, const QString &day);

} // namespace DumpCommands
