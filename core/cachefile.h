// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"
#include "platform/filefailure.h"
#include "platform/pathbelow.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>

namespace kostwerk::core {

// The cache file keeps the week between runs. Each section is a marker line
// followed by the section's lines, with every "," written as ";;;"; lines end
// in CR LF. The file is Windows-1252 unless a section holds a character that
// code page cannot hold: then the whole file is UTF-8 with a byte-order mark.
namespace CacheFile {

inline constexpr QStringView marker = u"<neuer abschnitt>";

// A real week is a few KB; a larger file is taken as unreadable.
inline constexpr qint64 maxFileSize = 64 * 1024 * 1024;

QByteArray encode(const WeekPlan &weekPlan);

// The file's text: UTF-8 after a byte-order mark, otherwise Windows-1252.
QString text(QByteArrayView data);

// Every section read back begins with a CR LF: each line is appended after
// one. Lines end at LF (one CR before it is dropped); lines before the first
// marker have no section and are ignored.
WeekPlan decode(QByteArrayView data);

} // namespace CacheFile

// Replaces the file only once it is completely written, and only as a file
// below its folder, never through a symbolic link; the name is looked up
// once for the whole write. An empty week writes nothing and keeps the file
// as it is. When the file could not be written, the previous file is
// untouched. An existing file that cannot be read fails the write; one that
// is neither empty nor holds a marker line is some other file under the
// cache's name: it is left as it is (ForeignFile).
platform::WriteResult writeCache(const platform::PathBelow &file, const WeekPlan &weekPlan);

// The week a cache file holds and when the file was written, or why it could
// not be read: Missing when there is none.
struct LoadedCache
{
    WeekPlan weekPlan;
    platform::FileFailure failure;
    QDateTime written; // invalid unless ok()

    bool ok() const { return !failure.failed(); }
};

// A file larger than CacheFile::maxFileSize, anything but a regular file,
// and a file behind a symbolic link below its folder cannot be read.
LoadedCache loadCache(const platform::PathBelow &file);

} // namespace kostwerk::core
