#include "platform/Drives.h"

#include <QDir>

namespace platform::Drives {

QString folder(const QString& letter)
{
    const QString l = letter.left(1).toUpper();
    const QByteArray root = qgetenv("VORSAL_DRIVES");
    if (!root.isEmpty())
        return QDir(QString::fromLocal8Bit(root)).filePath(l);
    if (l == QLatin1String("C"))
        return QDir::homePath();
    return QStringLiteral("/mnt/") + l.toLower();
}

QString toLocal(const QString& windowsPath)
{
    QString rest = windowsPath;
    QString base;
    if (rest.size() >= 2 && rest[1] == QLatin1Char(':') && rest[0].isLetter()) {
        base = folder(rest.left(1));
        rest = rest.mid(2);
    }
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (base.isEmpty())
        return rest;
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    return rest.isEmpty() ? base : QDir(base).filePath(rest);
}

} // namespace platform::Drives
