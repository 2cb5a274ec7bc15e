#pragma once
// The harnesses hand each input to the readers as a file, the way a
// statement reaches them: written into a folder of the fuzzing process.
#include "platform/planilha/leitura.h"

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

// One of the reader process's readers on the input as a file named `nome`;
// what it reads must make an answer that reads back whole.
template <typename Leitor>
void lerPlanilha(Leitor ler, const QString& nome, const uint8_t* data, size_t size)
{
    using namespace platform::planilha;
    std::vector<Cell> cells;
    if (ler(gravar(nome, data, size), QStringLiteral("Plan1"), cells) != Status::Ok)
        return;
    Status status;
    std::vector<Cell> back;
    if (!decodeAnswer(encodeAnswer(Status::Ok, cells), status, back) || back.size() != cells.size())
        __builtin_trap();
}

} // namespace fuzz
