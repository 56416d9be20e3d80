// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pathbelow.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kostwerk::platform {

using Kind = FileFailure::Kind;

PathBelow PathBelow::inFolderOf(const QString &path)
{
    const QFileInfo info(path);
    return {info.path(), info.fileName()};
}

QString PathBelow::path() const
{
    return folder.endsWith(u'/') ? QString(folder + name) : QString(folder + u'/' + name);
}

namespace Below {

Descriptor::~Descriptor()
{
    close();
}

bool Descriptor::close()
{
    const int fd = std::exchange(m_fd, -1);
    return fd < 0 || ::close(fd) == 0;
}

FileFailure systemFailure(int error)
{
    return {error == ENOENT ? Kind::Missing : Kind::System, qt_error_string(error)};
}

namespace {

bool isLink(int folder, const QByteArray &name)
{
    struct stat status = {};
    return ::fstatat(folder, name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(status.st_mode);
}

} // namespace

FileFailure failureAt(const Folder &folder, int error)
{
    if (isLink(folder.descriptor.get(), folder.leaf))
        return {Kind::Link, {}};
    return systemFailure(error);
}

Folder openFolderOf(const PathBelow &file)
{
    QStringList steps = file.name.split(u'/', Qt::SkipEmptyParts);
    steps.removeAll(QStringLiteral("."));
    if (steps.contains(QStringLiteral("..")))
        return {Descriptor(), {}, {Kind::ParentStep, {}}};
    if (steps.isEmpty()) // the folder itself
        return {Descriptor(), {}, {Kind::NotRegularFile, {}}};

    Folder folder;
    folder.descriptor = Descriptor(
        ::open(QFile::encodeName(file.folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.descriptor.isOpen()) {
        folder.failure = systemFailure(errno);
        return folder;
    }
    for (qsizetype i = 0; i + 1 < steps.size(); ++i) {
        folder.leaf = QFile::encodeName(steps.at(i));
        Descriptor next(::openat(folder.descriptor.get(), folder.leaf.constData(),
                                 O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.isOpen()) {
            folder.failure = failureAt(folder, errno);
            folder.descriptor = Descriptor();
            return folder;
        }
        folder.descriptor = std::move(next);
    }
    folder.leaf = QFile::encodeName(steps.last());
    return folder;
}

} // namespace Below

FileFailure outOfFolder(const PathBelow &file)
{
    const Below::Folder folder = Below::openFolderOf(file);
    if (folder.failure.kind == Kind::ParentStep || folder.failure.kind == Kind::Link)
        return folder.failure;
    if (!folder.failure.failed() && Below::isLink(folder.descriptor.get(), folder.leaf))
        return {Kind::Link, {}};
    return {};
}

} // namespace kostwerk::platform
