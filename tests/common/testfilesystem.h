// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <unistd.h>

// A real folder on disk that nobody can write to, root included, and a small
// file system that runs full; for the tests of disk and file faults. Root
// gets a tmpfs of its own (mounted read-only, or tiny); other users get the
// permission bits, which only bind them. Check isValid() and skip when the
// mount is not allowed.
class TestFileSystem final
{
public:
    enum class Kind { ReadOnly, Tiny };

    // files: name and contents, written before the folder is locked.
    TestFileSystem(Kind kind, const QList<std::pair<QString, QByteArray>> &files, qint64 tinySize = 64 * 1024)
    {
        if (geteuid() == 0) {
            m_mounted = mount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=%1").arg(kind == Kind::Tiny ? tinySize : 1024 * 1024),
                               QStringLiteral("tmpfs"), path()});
            if (!m_mounted)
                return;
        } else if (kind == Kind::Tiny) {
            return; // only root can mount a file system of its own
        }
        for (const auto &[name, bytes] : files) {
            QFile file(m_dir.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return;
        }
        if (kind == Kind::ReadOnly) {
            m_valid = m_mounted ? mount({QStringLiteral("-o"), QStringLiteral("remount,ro"), path()})
                                : QFile::setPermissions(path(), QFile::ReadOwner | QFile::ExeOwner);
        } else {
            m_valid = true;
        }
    }

    ~TestFileSystem()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {path()});
        else
            QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    TestFileSystem(const TestFileSystem &) = delete;
    TestFileSystem &operator=(const TestFileSystem &) = delete;

    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    static QString skipReason()
    {
        return QStringLiteral("needs root with the right to mount a tmpfs (a read-only or tiny file system)");
    }

private:
    static bool mount(const QStringList &arguments)
    {
        return QProcess::execute(QStringLiteral("mount"), arguments) == 0;
    }

    QTemporaryDir m_dir;
    bool m_mounted = false;
    bool m_valid = false;
};
