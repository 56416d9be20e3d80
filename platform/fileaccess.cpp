#include "platform/fileaccess.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kostwerk::platform {

namespace {

FileRead unreadable(const QString &error)
{
    return {{}, error};
}

QString tooLarge(qint64 maxSize)
{
    return QStringLiteral("File larger than %1 bytes").arg(maxSize);
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
    // Opened without blocking, a FIFO is seen for what it is instead of
    // waiting for a writer; for a regular file the flag changes nothing.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return unreadable(qt_error_string(errno));
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });

    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return unreadable(qt_error_string(errno));
    if (!S_ISREG(status.st_mode))
        return unreadable(QStringLiteral("Not a regular file"));
    if (status.st_size > maxSize)
        return unreadable(tooLarge(maxSize));

    QByteArray bytes;
    bytes.reserve(status.st_size);
    std::array<char, 65536> chunk;
    for (;;) {
        const ssize_t count = ::read(fd, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return unreadable(qt_error_string(errno));
        if (count == 0)
            return {std::move(bytes), {}};
        if (bytes.size() + count > maxSize)
            return unreadable(tooLarge(maxSize));  // it grew while being read
        bytes.append(chunk.data(), count);
    }
}

} // namespace kostwerk::platform
