// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/fileaccess.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kostwerk::platform {

namespace {

using Below::Descriptor;
using Kind = FileFailure::Kind;

FileRead unreadable(const FileFailure &failure)
{
    return {{}, failure, {}};
}

QDateTime modifiedAt(const struct stat &status)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1'000'000);
}

// Opened without blocking, a FIFO is seen for what it is instead of waiting
// for a writer; for a regular file the flag changes nothing.
constexpr int readFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

FileRead readOpened(const Descriptor &file, qint64 maxSize)
{
    struct stat status = {};
    if (::fstat(file.get(), &status) != 0)
        return unreadable(Below::systemFailure(errno));
    // A folder at the name is no file, as for fileExists.
    if (S_ISDIR(status.st_mode))
        return unreadable({Kind::Missing, {}});
    if (!S_ISREG(status.st_mode))
        return unreadable({Kind::NotRegularFile, {}});
    if (status.st_size > maxSize)
        return unreadable({Kind::TooLarge, {}});

    QByteArray bytes;
    bytes.reserve(status.st_size);
    std::array<char, 65536> chunk;
    for (;;) {
        const ssize_t count = ::read(file.get(), chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return unreadable(Below::systemFailure(errno));
        if (count == 0)
            return {std::move(bytes), {}, modifiedAt(status)};
        if (bytes.size() + count > maxSize)
            return unreadable({Kind::TooLarge, {}}); // it grew while being read
        bytes.append(chunk.data(), count);
    }
}

} // namespace

bool fileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

FileRead readFile(const QString &path, qint64 maxSize)
{
    const Descriptor file(::open(QFile::encodeName(path).constData(), readFlags));
    if (!file.isOpen())
        return unreadable(Below::systemFailure(errno));
    return readOpened(file, maxSize);
}

FileRead readFile(const PathBelow &path, qint64 maxSize)
{
    return readFile(Below::openFolderOf(path), maxSize);
}

FileRead readFile(const Below::Folder &folder, qint64 maxSize)
{
    if (folder.failure.failed())
        return unreadable(folder.failure);
    const Descriptor file(::openat(folder.descriptor.get(), folder.leaf.constData(), readFlags | O_NOFOLLOW));
    if (!file.isOpen())
        return unreadable(Below::failureAt(folder, errno));
    return readOpened(file, maxSize);
}

} // namespace kostwerk::platform
