// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// What the program makes of a saved page or cache file, computed by the
// program's own code. Each command gives the bytes for standard output or a
// one-line German error message. Control characters that a page, a URL or a
// server brought are shown escaped (ControlEscapes), also in the cache
// file's bytes.
namespace kostwerk::tools::DumpCommands {

struct Outcome
{
    QByteArray output;      // written even when there is an error
    QString error;          // empty on success
    bool cacheFile = false; // output is the bytes of a cache file
};

// The week link found in a start page as downloaded, and a line break.
Outcome link(const QString &path);

// The exact bytes of the cache file after a fetch of this week page as
// downloaded (no Content-Type header), starting from an empty week. Nothing
// when the page has no section.
Outcome week(const QString &path);

// Starts the program's fetch with the settings of iniPath, or, when it is
// empty, of the settings file the program uses (whose defaults stand in
// when it is missing), and touches no cache file; done gets the outcome from
// the event loop once the fetch has ended. The output names each step on its
// own line: the start page (URL, HTTP status, size, charset), the week link
// found, the week page, the number of sections and each one's first line;
// with asCacheText, the bytes of the cache file the fetch would write
// instead. When no week came in, the error is the window's own text.
void fetch(const QString &iniPath, bool asCacheText, const std::function<void(const Outcome &)> &done);

// The day view of section day (1 = Montag ... 6 = Samstag) of a cache file
// read as start-up reads it: one compact JSON object, or null when the week
// has no such day, and a line break.
Outcome day(const QString &path, const QString &day);

} // namespace kostwerk::tools::DumpCommands
