#include "platform/delimited.h"

#include "platform/PrivateFile.h"
#include "platform/sheets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cerrno>
#include <unistd.h>

namespace platform {

namespace {

// What a bank statement can hold; past these the file is taken as damaged
// rather than read into memory.
constexpr qint64 kMaxFileBytes = 8LL * 1024 * 1024;
constexpr qint64 kMaxSchemaBytes = 1024 * 1024;
constexpr int kMaxLines = 100000;
constexpr int kMaxLineLength = 64 * 1024;
constexpr int kMaxColumns = 256;
constexpr qint64 kMaxCells = 1000000;

QStringList textLines(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

// A column definition: Col1="Data" Char Width 255, or Col1=Data Char.
QString columnName(const QString& definition)
{
    const QString d = definition.trimmed();
    if (d.startsWith(QLatin1Char('"'))) {
        const int end = d.indexOf(QLatin1Char('"'), 1);
        return end < 0 ? d.mid(1) : d.mid(1, end - 1);
    }
    const int blank = d.indexOf(QLatin1Char(' '));
    return blank < 0 ? d : d.left(blank);
}

// Opens a file from outside (openRegularFile()) into `file`; false with
// errno set when it is not a regular file that can be read.
bool openRegular(const QString& path, QFile& file)
{
    const int fd = openRegularFile(path);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        errno = EIO;
        return false;
    }
    return true;
}

} // namespace

QString decodeText(const QByteArray& bytes)
{
    QByteArrayView data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    // Old text files may end with a Ctrl-Z end-of-file mark.
    while (data.endsWith('\x1a'))
        data.chop(1);
    // Line by line: one line saved in the Windows code page must not garble
    // the lines around it that are valid UTF-8.
    static const QStringDecoder probe("windows-1252");
    const bool ansiKnown = probe.isValid();
    QString text;
    text.reserve(data.size());
    qsizetype at = 0;
    while (at < data.size()) {
        qsizetype end = at;
        while (end < data.size() && data[end] != '\r' && data[end] != '\n')
            ++end;
        const QByteArrayView line = data.sliced(at, end - at);
        if (QUtf8StringView(line).isValidUtf8()) {
            text += QString::fromUtf8(line);
        } else if (ansiKnown) {
            QStringDecoder ansi("windows-1252", QStringDecoder::Flag::Stateless);
            text += ansi.decode(line);
        } else {
            text += QString::fromLatin1(line);
        }
        while (end < data.size() && (data[end] == '\r' || data[end] == '\n')) {
            text += QLatin1Char(data[end]);
            ++end;
        }
        at = end;
    }
    return text;
}

bool writeSchemaIni(const QString& folder, const QStringList& lines, const QString& shownFolder, QString& error)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    // A folder under the name is refused; anything else there is replaced.
    const QString nome = QStringLiteral("Schema.ini");
    const auto escrever = [&bytes](int fd) {
        for (qsizetype feito = 0; feito < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.constData() + feito, std::size_t(bytes.size() - feito));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            feito += n;
        }
        return true;
    };
    if (isFolder(QDir(folder).filePath(nome)) || !writeAsName(folder, nome, false, escrever)) {
        error = QStringLiteral("Não foi possível gravar o arquivo ''Schema.ini'' na pasta ''%1''.").arg(shownFolder);
        return false;
    }
    return true;
}

std::optional<DelimitedSchema> readSchemaIni(const QString& folder, const QString& fileName)
{
    DelimitedSchema schema;
    QFile file;
    if (!openRegular(QDir(folder).filePath(QStringLiteral("Schema.ini")), file))
        return errno == ENOENT ? std::optional(schema) : std::nullopt;
    static const QRegularExpression delimitedRe(QStringLiteral("^Delimited\\((.)\\)$"),
                                                QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression colRe(QStringLiteral("^Col(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    bool inSection = false;
    QMap<int, QString> columns;
    for (const QString& raw : textLines(decodeText(file.read(kMaxSchemaBytes)))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection = line.mid(1, line.size() - 2).trimmed().compare(fileName, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key.compare(QLatin1String("Format"), Qt::CaseInsensitive) == 0) {
            const auto m = delimitedRe.match(value);
            if (m.hasMatch())
                schema.delimiter = m.captured(1).at(0);
            else if (value.compare(QLatin1String("TabDelimited"), Qt::CaseInsensitive) == 0)
                schema.delimiter = QLatin1Char('\t');
            else if (value.compare(QLatin1String("CSVDelimited"), Qt::CaseInsensitive) == 0)
                schema.delimiter = QLatin1Char(',');
        } else if (key.compare(QLatin1String("ColNameHeader"), Qt::CaseInsensitive) == 0) {
            schema.colNameHeader = value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
        } else if (const auto m = colRe.match(key); m.hasMatch()) {
            columns.insert(m.captured(1).toInt(), columnName(value));
        }
    }
    for (auto it = columns.cbegin(); it != columns.cend(); ++it)
        schema.columns << it.value();
    return schema;
}

QStringList splitDelimitedLine(const QString& line, QChar delimiter)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    bool atStart = true;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == delimiter) {
            fields << field;
            field.clear();
            atStart = true;
            continue;
        } else if (c == QLatin1Char('"') && atStart) {
            quoted = true;
        } else {
            field += c;
        }
        atStart = false;
    }
    fields << field;
    return fields;
}

int DelimitedTable::column(const QString& name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool readTextLines(const QString& path, QStringList& lines, QString& error)
{
    lines.clear();
    QFile file;
    if (!openRegular(path, file)) {
        error = openFailedMessage(path);
        return false;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        error = damagedFileMessage(path);
        return false;
    }
    // Walked by hand, so that a flood of line breaks is refused before it
    // becomes a flood of strings.
    const QString text = decodeText(bytes);
    // A line break ends a line; the empty piece after the last one is no line.
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = at;
        while (end < text.size() && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
            ++end;
        if (lines.size() >= kMaxLines || end - at > kMaxLineLength) {
            lines.clear();
            error = damagedFileMessage(path);
            return false;
        }
        lines << text.mid(at, end - at);
        if (end < text.size() && text.at(end) == QLatin1Char('\r') && end + 1 < text.size()
            && text.at(end + 1) == QLatin1Char('\n'))
            ++end;
        at = end + 1;
    }
    return true;
}

bool readDelimited(const QString& path, bool headerByDefault, DelimitedTable& out, QString& error)
{
    out = DelimitedTable();
    QStringList text;
    if (!readTextLines(path, text, error))
        return false;
    const QFileInfo info(path);
    const std::optional<DelimitedSchema> described = readSchemaIni(info.absolutePath(), info.fileName());
    if (!described) {
        error = openFailedMessage(QStringLiteral("Schema.ini"));
        return false;
    }
    const DelimitedSchema& schema = *described;
    const bool header = schema.colNameHeader.value_or(headerByDefault);

    // Split one line at a time, so a flood of delimiters is refused before
    // it becomes a flood of fields.
    std::vector<QStringList> lines;
    qint64 fields = 0;
    for (const QString& line : text) {
        if (line.trimmed().isEmpty())
            continue;
        lines.push_back(splitDelimitedLine(line, schema.delimiter));
        fields += lines.back().size();
        if (lines.back().size() > kMaxColumns || fields > kMaxCells) {
            error = damagedFileMessage(path);
            return false;
        }
    }

    QStringList names;
    std::size_t first = 0;
    if (header && !lines.empty()) {
        for (const QString& n : lines.front())
            names << n.trimmed();
        first = 1;
    }
    if (!schema.columns.isEmpty())
        names = schema.columns;
    if (names.isEmpty()) {
        qsizetype widest = 0;
        for (std::size_t i = first; i < lines.size(); ++i)
            widest = std::max(widest, lines[i].size());
        for (qsizetype i = 0; i < widest; ++i)
            names << QString();
    }
    if (names.size() > kMaxColumns || qint64(names.size()) * qint64(lines.size()) > kMaxCells) {
        error = damagedFileMessage(path);
        return false;
    }
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names.at(i).isEmpty())
            names[i] = QStringLiteral("F%1").arg(i + 1);
    out.columns = names;
    for (std::size_t i = first; i < lines.size(); ++i) {
        QStringList row = lines[i];
        while (row.size() < names.size())
            row << QString();
        row = row.mid(0, names.size());
        out.rows.push_back(row);
    }
    return true;
}

} // namespace platform
