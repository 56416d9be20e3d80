#include "allgemein.h"

#include "profilefile.h"

#include <QFileInfo>

namespace {
constexpr qsizetype iniBufferSize = 255;  // including the terminating NUL
}

QString readIni(const QString &file, const QString &section, const QString &key)
{
    return ProfileFile::readString(file, section, key).left(iniBufferSize - 1);
}

bool writeIni(const QString &file, const QString &section, const QString &key,
              const QString &value)
{
    return ProfileFile::writeString(file, section, key, value);
}

bool fileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}
