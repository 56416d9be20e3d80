// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QDebug>
#include <QObject>
#include <QString>

namespace kostwerk::platform {

// Why a file could not be read or written: the kind of failure, and the
// system's own words for it as the system gave them (empty when it gave
// none). The window words the kind for the user.
struct FileFailure
{
    Q_GADGET

public:
    enum class Kind {
        None,
        Missing,        // no file at the name: nothing, or a folder; or a folder on the way missing
        System,         // the system refused: no right, disk full, ...
        NotRegularFile, // a FIFO, device or socket; a folder where a file is written
        TooLarge,       // larger than the reader takes
        Link,           // a symbolic link at the name, or at a folder step it must not pass
        ParentStep,     // a ".." step would lead out of the folder the name must stay in
        LineBreak,      // a profile entry would hold a line break
        Unencodable,    // a profile entry would hold a character the file's encoding cannot hold
        ForeignFile,    // another kind of file under the name, which the caller leaves as it is
    };
    Q_ENUM(Kind)

    Kind kind = Kind::None;
    QString systemText;

    bool failed() const { return kind != Kind::None; }
    bool operator==(const FileFailure &) const = default;
};

// A file read whole: its bytes and when it was last written, or why it
// could not be read.
struct FileRead
{
    QByteArray bytes;
    FileFailure failure;
    QDateTime modified; // invalid unless ok()

    bool ok() const { return !failure.failed(); }
};

// The outcome of writing a file: success, or why it failed.
struct WriteResult
{
    FileFailure failure;

    bool ok() const { return !failure.failed(); }
    explicit operator bool() const { return ok(); }
};

// For the log: the kind and the system's words.
inline QDebug operator<<(QDebug debug, const FileFailure &failure)
{
    const QDebugStateSaver saver(debug);
    return debug.nospace() << failure.kind << " (" << failure.systemText << ')';
}

} // namespace kostwerk::platform
