// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/filefailure.h"

#include <QByteArray>
#include <QString>

#include <utility>

namespace kostwerk::platform {

// A file named by a path below a folder that the name must not lead out of.
// The folder itself may be reached in any way, through links too; below it,
// no step of the name may be a symbolic link, dangling or not, nor "..".
// Whoever can put a link into the folder thus cannot turn a read or a write
// to another place. Steps are separated by "/"; a name that starts with one
// still lies below the folder.
struct PathBelow
{
    QString folder;
    QString name;

    // The folder of path and the file's name in it: only the name itself
    // must not be a link.
    static PathBelow inFolderOf(const QString &path);

    // The whole path, for messages and the log.
    QString path() const;
};

// Why the name would lead out of its folder: ParentStep for a ".." step,
// Link when it is, or passes through, a symbolic link below the folder;
// None otherwise. Looks only as far as the steps exist and changes nothing.
FileFailure outOfFolder(const PathBelow &file);

// For the readers and writers of files below a folder.
namespace Below {

// An open file descriptor, closed with its owner.
class Descriptor final
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor();
    Descriptor(Descriptor &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {
    }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes now, and tells whether the system could (a late write error
    // may show only here).
    bool close();

private:
    int m_fd;
};

// The folder that holds the file, opened step by step without following a
// link below PathBelow::folder, and the file's own name in it.
struct Folder
{
    Descriptor descriptor;
    QByteArray leaf; // in the system's encoding
    FileFailure failure;
};

Folder openFolderOf(const PathBelow &file);

// The failure for errno error: Missing for a missing file, else System,
// with the system's words.
FileFailure systemFailure(int error);

// Why leaf in folder could not be opened: a link there, or error.
FileFailure failureAt(const Folder &folder, int error);

} // namespace Below

} // namespace kostwerk::platform
