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

FileRead readFile(const QString &path);

} // namespace kostwerk::platform
