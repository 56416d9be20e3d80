#include "platform/atomicfile.h"

#include <QSaveFile>

namespace kostwerk::platform {

WriteResult writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Buffered, a short write on a full disk goes unnoticed by QSaveFile;
    // unbuffered, write() reports the count that really reached the file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteResult::failure(file.errorString());
    // Unless committed, the temporary file goes with the QSaveFile.
    if (file.write(bytes) != bytes.size())
        return WriteResult::failure(file.errorString());
    if (!file.commit())
        return WriteResult::failure(file.errorString());
    return {};
}

} // namespace kostwerk::platform
