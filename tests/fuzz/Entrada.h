#pragma once
// The harnesses hand each input to the readers as a file, the way a
// statement reaches them: written into a folder of the fuzzing process.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>

namespace fuzz {

inline const QDir& pasta()
{
    static QTemporaryDir dir;
    static const QDir d(dir.path());
    return d;
}

inline QString gravar(const QString& nome, const uint8_t* data, size_t size)
{
    const QString path = pasta().filePath(nome);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

} // namespace fuzz
