#pragma once

#include <QByteArray>
#include <QString>

namespace kostwerk::platform {

// True for an existing file, hidden or read-only; false for folders, missing
// files and empty or bad paths. Never fails.
bool fileExists(const QString &path);

// A whole file's bytes, or why it could not be read.
struct FileRead
{
    QByteArray bytes;
    QString error;  // empty on success

    bool ok() const { return error.isEmpty(); }
};

// Reads only a regular file of at most maxSize bytes, also behind a link.
// Anything else is unreadable at once: a FIFO would wait for a writer, a
// device such as /dev/zero never ends, and a folder or socket holds no text.
FileRead readFile(const QString &path, qint64 maxSize);

} // namespace kostwerk::platform
