#include "atomicfile.h"

#include <QSaveFile>

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Buffered, a short write on a full disk goes unnoticed by QSaveFile;
    // unbuffered, write() reports the count that really reached the file.
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
           && file.write(bytes) == bytes.size() && file.commit();
}
