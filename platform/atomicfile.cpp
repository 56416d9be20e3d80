// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/atomicfile.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kostwerk::platform {

namespace {

using Below::Descriptor;
using Kind = FileFailure::Kind;

WriteResult failure(const FileFailure &failure)
{
    return {failure};
}

WriteResult systemFailure()
{
    return {Below::systemFailure(errno)};
}

// A temporary file is named after the file it replaces, this mark and a
// random number in base 36, so that its leftovers are told from any file of
// the user's.
constexpr QByteArrayView temporaryMark = ".kostwerk-";
constexpr qsizetype maxRandomDigits = 7; // of a 32-bit number in base 36

QByteArray temporaryName(const QByteArray &leaf)
{
    return leaf + temporaryMark + QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

bool isTemporaryName(QByteArrayView name, const QByteArray &leaf)
{
    if (!name.startsWith(leaf) || !name.sliced(leaf.size()).startsWith(temporaryMark))
        return false;
    const QByteArrayView digits = name.sliced(leaf.size() + temporaryMark.size());
    return !digits.isEmpty() && digits.size() <= maxRandomDigits
           && std::all_of(digits.begin(), digits.end(),
                          [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); });
}

// A write still running may own a temporary file this young.
constexpr time_t leftoverAge = 60;

// Removes the temporary files that a killed write of folder.leaf left
// behind: regular files by their name, at least a minute old.
void removeLeftoversIn(const Below::Folder &folder)
{
    // The listing takes over a descriptor of its own.
    DIR *listing = ::fdopendir(::dup(folder.descriptor.get()));
    if (!listing)
        return;
    ::rewinddir(listing);
    const time_t youngest = ::time(nullptr) - leftoverAge;
    while (const dirent *entry = ::readdir(listing)) {
        struct stat status = {};
        if (isTemporaryName(entry->d_name, folder.leaf)
            && ::fstatat(::dirfd(listing), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode)
            && status.st_mtime <= youngest)
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

bool writeAll(int file, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(file, bytes.data(), size_t(bytes.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        bytes = bytes.sliced(written);
    }
    return true;
}

// A new file beside the one it is to replace, under a name of its own;
// removed again unless it was renamed over that file.
class TemporaryFile final
{
public:
    TemporaryFile(const Below::Folder &folder, mode_t mode)
        : m_folder(folder.descriptor.get())
    {
        for (int attempt = 0; attempt < 16 && !m_file.isOpen(); ++attempt) {
            m_name = temporaryName(folder.leaf);
            m_file = Descriptor(
                ::openat(m_folder, m_name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
            if (!m_file.isOpen() && errno != EEXIST)
                break;
        }
        if (!m_file.isOpen())
            m_name.clear(); // nothing of ours to remove
    }
    ~TemporaryFile()
    {
        if (!m_name.isEmpty()) {
            m_file.close();
            ::unlinkat(m_folder, m_name.constData(), 0);
        }
    }
    Q_DISABLE_COPY_MOVE(TemporaryFile)

    int get() const { return m_file.get(); }
    bool isOpen() const { return m_file.isOpen(); }
    bool close() { return m_file.close(); }

    bool renameTo(const QByteArray &name)
    {
        if (::renameat(m_folder, m_name.constData(), m_folder, name.constData()) != 0)
            return false;
        m_name.clear();
        return true;
    }

private:
    int m_folder;
    QByteArray m_name;
    Descriptor m_file;
};

} // namespace

WriteResult writeFileAtomically(const PathBelow &file, QByteArrayView bytes)
{
    return writeFileAtomically(Below::openFolderOf(file), bytes);
}

WriteResult writeFileAtomically(const Below::Folder &folder, QByteArrayView bytes)
{
    if (folder.failure.failed())
        return failure(folder.failure);
    removeLeftoversIn(folder);

    struct stat existing = {};
    const bool replacing = ::fstatat(folder.descriptor.get(), folder.leaf.constData(), &existing, AT_SYMLINK_NOFOLLOW)
                           == 0;
    if (!replacing && errno != ENOENT)
        return systemFailure();
    if (replacing && S_ISLNK(existing.st_mode))
        return failure({Kind::Link, {}});
    if (replacing && !S_ISREG(existing.st_mode))
        return failure({Kind::NotRegularFile, {}});
    // Renaming needs only the folder's permission; a file that its owner
    // made read-only stays as it is all the same.
    if (replacing && ::faccessat(folder.descriptor.get(), folder.leaf.constData(), W_OK, AT_EACCESS) != 0)
        return systemFailure();

    // A new file gets what the umask leaves of read and write for all.
    TemporaryFile temporary(folder, 0666);
    if (!temporary.isOpen())
        return systemFailure();
    if (replacing && ::fchmod(temporary.get(), existing.st_mode & 07777) != 0)
        return systemFailure();
    if (!writeAll(temporary.get(), bytes) || ::fsync(temporary.get()) != 0 || !temporary.close())
        return systemFailure();
    // Renaming replaces whatever is at the name now, a link that appeared
    // since the check included, but never writes through it.
    if (!temporary.renameTo(folder.leaf))
        return systemFailure();
    return {};
}

void removeLeftovers(const PathBelow &file)
{
    const Below::Folder folder = Below::openFolderOf(file);
    if (!folder.failure.failed())
        removeLeftoversIn(folder);
}

} // namespace kostwerk::platform
