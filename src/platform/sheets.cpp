#include "platform/sheets.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cmath>
#include <freexl.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace platform {

namespace {

// A workbook part larger than this is refused rather than unpacked into
// memory: bank statements are a few hundred kilobytes.
constexpr qint64 kMaxPartSize = 256LL * 1024 * 1024;

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

void setCell(Worksheet& out, int row, int col, const QVariant& value)
{
    if (row < 0 || col < 0)
        return;
    if (int(out.rows.size()) <= row)
        out.rows.resize(row + 1);
    SheetRow& r = out.rows[row];
    if (int(r.size()) <= col)
        r.resize(col + 1);
    r[col] = value;
}

// Serial day numbers as the spreadsheet counts them: in the 1900 system day
// 1 is 01/01/1900 and day 60 is the 29/02/1900 that never was; in the 1904
// system day 0 is 01/01/1904.
QVariant fromSerial(double serial, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 2958465.0)
        return serial;
    double whole = std::floor(serial);
    const double fraction = serial - whole;
    QDate date;
    if (date1904)
        date = QDate(1904, 1, 1).addDays(qint64(whole));
    else if (whole < 60)
        date = QDate(1899, 12, 31).addDays(qint64(whole));
    else
        date = QDate(1899, 12, 30).addDays(qint64(whole));
    const qint64 msecs = qint64(std::llround(fraction * 86400000.0));
    if (msecs == 0)
        return date;
    if (msecs >= 86400000)
        return date.addDays(1);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

// ---- .xls ---------------------------------------------------------------

QVariant freexlDateText(const char* text)
{
    const QString s = QString::fromUtf8(text);
    const QDateTime dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (dt.isValid())
        return dt.time() == QTime(0, 0) ? QVariant(dt.date()) : QVariant(dt);
    const QDate d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
    if (d.isValid())
        return d;
    return s;
}

bool readXls(const QString& path, const QString& sheetName, Worksheet& out, QString& error)
{
    const void* handle = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (freexl_open(name.constData(), &handle) != FREEXL_OK) {
        if (handle)
            freexl_close(handle);
        error = erroDanificado(path);
        return false;
    }
    struct Closer {
        const void* h;
        ~Closer() { freexl_close(h); }
    } closer{handle};

    unsigned int count = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        error = erroDanificado(path);
        return false;
    }
    int index = -1;
    for (unsigned int i = 0; i < count && index < 0; ++i) {
        const char* sheet = nullptr;
        if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(i), &sheet) == FREEXL_OK && sheet
            && QString::fromUtf8(sheet).compare(sheetName, Qt::CaseInsensitive) == 0)
            index = int(i);
    }
    if (index < 0) {
        error = erroPlanilha(path, sheetName);
        return false;
    }
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(handle, static_cast<unsigned short>(index)) != FREEXL_OK
        || freexl_worksheet_dimensions(handle, &rows, &cols) != FREEXL_OK) {
        error = erroDanificado(path);
        return false;
    }
    out.rows.clear();
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(handle, r, c, &v) != FREEXL_OK) {
                error = erroDanificado(path);
                return false;
            }
            switch (v.type) {
            case FREEXL_CELL_INT:
                setCell(out, int(r), c, double(v.value.int_value));
                break;
            case FREEXL_CELL_DOUBLE:
                setCell(out, int(r), c, v.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                if (v.value.text_value)
                    setCell(out, int(r), c, QString::fromUtf8(v.value.text_value));
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                if (v.value.text_value)
                    setCell(out, int(r), c, freexlDateText(v.value.text_value));
                break;
            default:
                break;
            }
        }
    }
    return true;
}

// ---- .xlsx --------------------------------------------------------------

bool readPart(QuaZip& zip, const QString& name, QByteArray& out)
{
    QString part = name;
    while (part.startsWith(QLatin1Char('/')))
        part.remove(0, 1);
    if (!zip.setCurrentFile(part, QuaZip::csInsensitive))
        return false;
    QuaZipFileInfo64 info;
    if (!zip.getCurrentFileInfo(&info) || qint64(info.uncompressedSize) > kMaxPartSize)
        return false;
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    out = file.read(kMaxPartSize + 1);
    const bool ok = file.getZipError() == UNZ_OK && out.size() <= kMaxPartSize;
    file.close();
    return ok;
}

// Walks every element of a document; `onStart` sees each start element.
template <typename F>
bool walkXml(const QByteArray& bytes, F onStart)
{
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement())
            onStart(xml);
    }
    return !xml.hasError();
}

// Relationship targets of one part, by id, resolved against the part's
// folder; also by type (the last segment of the type URI).
struct Rels {
    QHash<QString, QString> byId;
    QHash<QString, QString> byType;
};

QString resolveTarget(const QString& baseFolder, const QString& target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    QStringList parts = baseFolder.isEmpty() ? QStringList() : baseFolder.split(QLatin1Char('/'));
    for (const QString& seg : target.split(QLatin1Char('/'))) {
        if (seg == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (seg != QLatin1String(".") && !seg.isEmpty())
            parts << seg;
    }
    return parts.join(QLatin1Char('/'));
}

Rels readRels(QuaZip& zip, const QString& partPath)
{
    Rels rels;
    const int slash = partPath.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : partPath.left(slash);
    const QString fileName = partPath.mid(slash + 1);
    const QString relsPath = (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + QStringLiteral("_rels/")
        + fileName + QStringLiteral(".rels");
    QByteArray bytes;
    if (!readPart(zip, relsPath, bytes))
        return rels;
    walkXml(bytes, [&](QXmlStreamReader& xml) {
        if (xml.name() != QLatin1String("Relationship"))
            return;
        const auto a = xml.attributes();
        const QString target = resolveTarget(folder, a.value(QLatin1String("Target")).toString());
        rels.byId.insert(a.value(QLatin1String("Id")).toString(), target);
        const QString type = a.value(QLatin1String("Type")).toString();
        rels.byType.insert(type.mid(type.lastIndexOf(QLatin1Char('/')) + 1), target);
    });
    return rels;
}

// The text of an <si> or <is> element: its <t> pieces, phonetic runs aside.
QString readRichText(QXmlStreamReader& xml)
{
    QString text;
    const QString end = xml.name().toString();
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0)
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            else if (xml.name() == end)
                break;
        }
    }
    return text;
}

bool isDateFormatCode(QString code)
{
    static const QRegularExpression quoted(QStringLiteral("\"[^\"]*\"|\\\\.|\\[[^\\]]*\\]"));
    code.remove(quoted);
    code = code.toLower();
    if (code.contains(QLatin1String("general")))
        return false;
    return code.contains(QLatin1Char('d')) || code.contains(QLatin1Char('y'))
        || (code.contains(QLatin1Char('m')) && !code.contains(QLatin1Char('h')) && !code.contains(QLatin1Char('s')));
}

bool isBuiltinDateFormat(int id)
{
    return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
}

// For each cell style (the index in "s"), whether it shows a date.
std::vector<bool> readDateStyles(const QByteArray& bytes)
{
    QHash<int, bool> custom;
    std::vector<bool> styles;
    QXmlStreamReader xml(bytes);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto a = xml.attributes();
            if (xml.name() == QLatin1String("numFmt"))
                custom.insert(a.value(QLatin1String("numFmtId")).toInt(),
                              isDateFormatCode(a.value(QLatin1String("formatCode")).toString()));
            else if (xml.name() == QLatin1String("cellXfs"))
                inCellXfs = true;
            else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                const int id = a.value(QLatin1String("numFmtId")).toInt();
                styles.push_back(custom.contains(id) ? custom.value(id) : isBuiltinDateFormat(id));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    return styles;
}

// "B12" → column 1, row 11; false when the reference is not one.
bool parseRef(QStringView ref, int& row, int& col)
{
    int i = 0;
    qint64 c = 0;
    while (i < ref.size() && ref[i].isLetter()) {
        c = c * 26 + (ref[i].toUpper().unicode() - 'A' + 1);
        if (c > 16384)
            return false;
        ++i;
    }
    if (i == 0 || i == ref.size())
        return false;
    bool ok = false;
    const qint64 r = ref.mid(i).toLongLong(&ok);
    if (!ok || r < 1 || r > 1048576)
        return false;
    row = int(r - 1);
    col = int(c - 1);
    return true;
}

bool readXlsx(const QString& path, const QString& sheetName, Worksheet& out, QString& error)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip)) {
        error = erroDanificado(path);
        return false;
    }
    const Rels root = readRels(zip, QString());
    const QString workbookPath = root.byType.value(QStringLiteral("officeDocument"), QStringLiteral("xl/workbook.xml"));
    QByteArray workbook;
    if (!readPart(zip, workbookPath, workbook)) {
        error = erroDanificado(path);
        return false;
    }
    QString sheetRel;
    bool date1904 = false;
    bool found = false;
    const bool wbOk = walkXml(workbook, [&](QXmlStreamReader& xml) {
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("workbookPr")) {
            const QString v = a.value(QLatin1String("date1904")).toString();
            date1904 = v == QLatin1String("1") || v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
        } else if (xml.name() == QLatin1String("sheet") && !found
                   && a.value(QLatin1String("name")).toString().compare(sheetName, Qt::CaseInsensitive) == 0) {
            found = true;
            for (const auto& attr : a)
                if (attr.name() == QLatin1String("id"))
                    sheetRel = attr.value().toString();
        }
    });
    if (!wbOk) {
        error = erroDanificado(path);
        return false;
    }
    if (!found) {
        error = erroPlanilha(path, sheetName);
        return false;
    }
    const Rels wbRels = readRels(zip, workbookPath);
    const QString sheetPath = wbRels.byId.value(sheetRel);
    QByteArray sheetXml;
    if (sheetPath.isEmpty() || !readPart(zip, sheetPath, sheetXml)) {
        error = erroDanificado(path);
        return false;
    }

    QStringList shared;
    const QString sharedPath = wbRels.byType.value(QStringLiteral("sharedStrings"));
    if (!sharedPath.isEmpty()) {
        QByteArray bytes;
        if (readPart(zip, sharedPath, bytes)) {
            QXmlStreamReader xml(bytes);
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement() && xml.name() == QLatin1String("si"))
                    shared << readRichText(xml);
            }
        }
    }
    std::vector<bool> dateStyles;
    const QString stylesPath = wbRels.byType.value(QStringLiteral("styles"));
    if (!stylesPath.isEmpty()) {
        QByteArray bytes;
        if (readPart(zip, stylesPath, bytes))
            dateStyles = readDateStyles(bytes);
    }

    out.rows.clear();
    QXmlStreamReader xml(sheetXml);
    int row = -1;
    int col = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("row")) {
            const auto r = xml.attributes().value(QLatin1String("r"));
            bool ok = false;
            const int n = r.toInt(&ok);
            row = ok && n >= 1 && n <= 1048576 ? n - 1 : row + 1;
            col = -1;
        } else if (xml.name() == QLatin1String("c")) {
            const auto a = xml.attributes();
            int r = row, c = col + 1;
            const auto ref = a.value(QLatin1String("r"));
            if (!ref.isEmpty() && !parseRef(ref, r, c)) {
                error = erroDanificado(path);
                return false;
            }
            if (r < 0)
                r = 0;
            col = c;
            const QString type = a.value(QLatin1String("t")).toString();
            const int style = a.value(QLatin1String("s")).toInt();
            QString raw;
            bool hasValue = false;
            QString inlineText;
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement()) {
                    if (xml.name() == QLatin1String("v")) {
                        raw = xml.readElementText();
                        hasValue = true;
                    } else if (xml.name() == QLatin1String("is")) {
                        inlineText = readRichText(xml);
                        hasValue = true;
                    }
                } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
                    break;
                }
            }
            if (!hasValue)
                continue;
            QVariant value;
            if (type == QLatin1String("s")) {
                bool ok = false;
                const int i = raw.trimmed().toInt(&ok);
                if (!ok || i < 0 || i >= shared.size()) {
                    error = erroDanificado(path);
                    return false;
                }
                value = shared.at(i);
            } else if (type == QLatin1String("inlineStr")) {
                value = inlineText;
            } else if (type == QLatin1String("str") || type == QLatin1String("e")) {
                value = raw;
            } else if (type == QLatin1String("b")) {
                value = raw.trimmed() == QLatin1String("1");
            } else if (type == QLatin1String("d")) {
                const QDateTime dt = QDateTime::fromString(raw.trimmed(), Qt::ISODate);
                value = dt.isValid() ? (dt.time() == QTime(0, 0) ? QVariant(dt.date()) : QVariant(dt))
                                     : QVariant(raw);
            } else {
                bool ok = false;
                const double d = raw.trimmed().toDouble(&ok);
                if (!ok)
                    value = raw;
                else if (style >= 0 && style < int(dateStyles.size()) && dateStyles[style])
                    value = fromSerial(d, date1904);
                else
                    value = d;
            }
            if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
                continue;
            setCell(out, r, c, value);
        }
    }
    if (xml.hasError()) {
        error = erroDanificado(path);
        return false;
    }
    return true;
}

} // namespace

SheetFormat sheetFormatOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SheetFormat::Unknown;
    const QByteArray head = file.read(8);
    if (head == QByteArray::fromHex("D0CF11E0A1B11AE1"))
        return SheetFormat::Xls;
    if (head.startsWith(QByteArray("PK\x03\x04", 4)))
        return SheetFormat::Xlsx;
    return SheetFormat::Unknown;
}

bool readWorksheet(const QString& path, const QString& sheetName, Worksheet& out, QString& error)
{
    out.rows.clear();
    if (!QFileInfo(path).isFile()) {
        error = erroAbrir(path);
        return false;
    }
    {
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly)) {
            error = erroAbrir(path);
            return false;
        }
    }
    switch (sheetFormatOf(path)) {
    case SheetFormat::Xls:
        return readXls(path, sheetName, out, error);
    case SheetFormat::Xlsx:
        return readXlsx(path, sheetName, out, error);
    case SheetFormat::Unknown:
        break;
    }
    error = erroFormato(path);
    return false;
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
