#include "platform/sheets.h"

#include "platform/PrivateFile.h"
#include "platform/Confinement.h"
#include "platform/planilha/resposta.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cmath>
#include <unistd.h>

namespace platform {

namespace {

// The reader process may take this much address space and time; a bank
// statement needs a small part of either.
constexpr qint64 kReaderMemory = 512LL * 1024 * 1024;
constexpr int kReaderSeconds = 10;  // CPU time, and wall time too
// Cells of a sheet as a rectangle (empty ones included), from one answer.
constexpr qint64 kMaxLaidOutCells = 1000000;

QString nomeCurto(const QString& path) { return QFileInfo(path).fileName(); }

QString erroAbrir(const QString& path)
{
    return QStringLiteral("Não foi possível abrir o arquivo ''%1''.").arg(nomeCurto(path));
}

QString erroFormato(const QString& path)
{
    return QStringLiteral("O arquivo ''%1'' não é uma planilha do Excel (.xls ou .xlsx).").arg(nomeCurto(path));
}

QString erroPlanilha(const QString& path, const QString& sheet)
{
    return QStringLiteral("O arquivo ''%1'' não tem a planilha ''%2''.").arg(nomeCurto(path), sheet);
}

QString erroDanificado(const QString& path)
{
    return QStringLiteral("O arquivo ''%1'' está danificado ou não pôde ser lido.").arg(nomeCurto(path));
}

// What the user is told where the kernel cannot keep a reader from their
// files: the spreadsheet is not read at all.
const QString kErroInseguro = QStringLiteral(
    "Os extratos em planilha não podem ser lidos com segurança neste sistema. "
    "Os modelos de texto (BRADESCO, ITAÚ e CAIXA) continuam funcionando.");

QString g_readerProgram;
unsigned g_readerLayers = kAllLayers;

// Starts the reader on one file, given as its standard input, confined,
// and returns its whole answer; empty when it did not end on its own, in
// time, with exit code 0 and an answer within bounds, or was not run
// (`unsafe`: the kernel would leave the user's files within its reach).
QByteArray runReader(int input, const QString& sheetName, bool& unsafe)
{
    ConfinedCommand command;
    command.program = sheetReaderProgram();
    command.arguments = {sheetName};
    command.input = input;
    command.memoryBytes = kReaderMemory;
    command.seconds = kReaderSeconds;
    command.maxOutputBytes = planilha::kMaxAnswerBytes;
    command.layers = g_readerLayers;
    const ConfinedRun run = runConfined(command);
    unsafe = run.unsafe;
    if (!run.ended || !run.exitedNormally || run.exitCode != 0)
        return {};
    return run.output;
}

// What the first bytes of an open file say it is.
SheetFormat formatOfHeader(int fd)
{
    char head[8];
    ssize_t n = 0;
    while ((n = ::pread(fd, head, sizeof head, 0)) < 0 && errno == EINTR) {
    }
    switch (planilha::kindOfHeader(QByteArray(head, n < 0 ? 0 : qsizetype(n)))) {
    case planilha::Kind::Xls:
        return SheetFormat::Xls;
    case planilha::Kind::Xlsx:
        return SheetFormat::Xlsx;
    case planilha::Kind::Unknown:
        break;
    }
    return SheetFormat::Unknown;
}

} // namespace

SheetFormat sheetFormatOf(const QString& path)
{
    const Descriptor file(openRegularFile(path));
    return file.fd < 0 ? SheetFormat::Unknown : formatOfHeader(file.fd);
}

void setSheetReaderProgram(const QString& program) { g_readerProgram = program; }

void setSheetReaderLayers(unsigned layers) { g_readerLayers = layers; }

namespace {

// The reader that goes with a program in `programDir`: where the install
// puts it (libexec/vorsal/ beside bin/) when it is there, else beside the
// program, as in the build tree.
QString readerForProgramIn(const QString& programDir)
{
    const QString name = QStringLiteral("vorsal-leitor-planilha");
    const QDir dir(programDir);
    const QString installed = QDir::cleanPath(dir.filePath(QStringLiteral(VORSAL_READER_FROM_BIN "/") + name));
    if (QFileInfo(installed).isExecutable())
        return installed;
    return dir.filePath(name);
}

} // namespace

QString sheetReaderProgram()
{
    if (!g_readerProgram.isEmpty())
        return g_readerProgram;
    return readerForProgramIn(QCoreApplication::applicationDirPath());
}

QString damagedFileMessage(const QString& path) { return erroDanificado(path); }

QString openFailedMessage(const QString& path) { return erroAbrir(path); }

bool worksheetFromAnswer(const QByteArray& answer, Worksheet& out, planilha::Status& status)
{
    out.rows.clear();
    std::vector<planilha::Cell> cells;
    if (!planilha::decodeAnswer(answer, status, cells))
        return false;
    // Each row is laid out as long as its last cell, and a table taken from
    // the sheet as wide as its header: the rows times the widest row bound
    // both.
    std::vector<int> width;
    int widest = 0;
    for (const planilha::Cell& cell : cells) {
        if (int(width.size()) <= cell.row)
            width.resize(cell.row + 1, 0);
        width[cell.row] = std::max(width[cell.row], cell.col + 1);
        widest = std::max(widest, cell.col + 1);
    }
    if (qint64(width.size()) * widest > kMaxLaidOutCells)
        return false;
    out.rows.resize(width.size());
    for (std::size_t r = 0; r < width.size(); ++r)
        out.rows[r].resize(width[r]);
    for (planilha::Cell& cell : cells)
        out.rows[cell.row][cell.col] = std::move(cell.value);
    return true;
}

bool readWorksheet(const QString& path, const QString& sheetName, Worksheet& out, QString& error)
{
    out.rows.clear();
    // Opened once, here: what the reader reads is what was checked.
    const Descriptor file(openRegularFile(path));
    if (file.fd < 0) {
        error = erroAbrir(path);
        return false;
    }
    if (formatOfHeader(file.fd) == SheetFormat::Unknown) {
        error = erroFormato(path);
        return false;
    }
    planilha::Status status = planilha::Status::Damaged;
    bool unsafe = false;
    const QByteArray answer = runReader(file.fd, sheetName, unsafe);
    if (unsafe) {
        error = kErroInseguro;
        return false;
    }
    if (!worksheetFromAnswer(answer, out, status) || status == planilha::Status::Damaged) {
        out.rows.clear();
        error = erroDanificado(path);
        return false;
    }
    if (status == planilha::Status::NoSheet) {
        error = erroPlanilha(path, sheetName);
        return false;
    }
    return true;
}

int SheetTable::column(const QString& name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

SheetTable tableWithHeader(const Worksheet& sheet, int headerRow, int firstColumn, int lastColumn)
{
    SheetTable table;
    if (headerRow < 0 || headerRow >= int(sheet.rows.size()) || firstColumn < 0)
        return table;
    const SheetRow& header = sheet.rows[headerRow];
    int last = lastColumn;
    if (last < 0) {
        last = int(header.size()) - 1;
        while (last >= firstColumn && cellEmpty(header[last]))
            --last;
    }
    for (int c = firstColumn; c <= last; ++c)
        table.columns << (c < int(header.size()) ? cellText(header[c]) : QString());
    for (int r = headerRow + 1; r < int(sheet.rows.size()); ++r) {
        const SheetRow& src = sheet.rows[r];
        SheetRow row;
        row.reserve(table.columns.size());
        bool any = false;
        for (int c = firstColumn; c <= last; ++c) {
            row.push_back(c < int(src.size()) ? src[c] : QVariant());
            any = any || !cellEmpty(row.back());
        }
        if (any) {
            table.rows.push_back(std::move(row));
            table.sourceRows.push_back(r);
        }
    }
    return table;
}

QString cellText(const QVariant& cell)
{
    if (cellEmpty(cell))
        return QString();
    switch (cell.typeId()) {
    case QMetaType::Double: {
        const double d = cell.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
        QString s = QString::number(d, 'f', 10);
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
        return s.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    case QMetaType::QDate:
        return cell.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return cell.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    case QMetaType::Bool:
        return cell.toBool() ? QStringLiteral("Verdadeiro") : QStringLiteral("Falso");
    default:
        return cell.toString();
    }
}

} // namespace platform
