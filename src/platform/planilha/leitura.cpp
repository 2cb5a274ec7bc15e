#include "platform/planilha/leitura.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>
#include <cmath>
#include <freexl.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace platform::planilha {

namespace {

// A workbook part that unpacks to more than this is refused, whatever size
// its header claims: bank statements are a few hundred kilobytes.
constexpr qint64 kMaxPartSize = 32LL * 1024 * 1024;

// A workbook has a few dozen parts.
constexpr int kMaxZipEntries = 1000;

// An .xls statement is a few hundred kilobytes.
constexpr qint64 kMaxXlsBytes = 64LL * 1024 * 1024;
// An .xlsx is read whole into memory before its directory is checked.
static_assert(kMaxInputBytes >= kMaxXlsBytes);

// Whether the zip's central directory is what it says: every entry's header,
// name, extra fields and comment inside the directory, and the directory
// inside the file. The unzipping reads what the headers claim, so a header
// claiming more than there is can keep it reading for a long time.
bool centralDirectorySound(const QByteArray& zip)
{
    if (zip.size() > kMaxInputBytes)
        return false;
    const auto u16 = [&](qsizetype at) { return quint32(quint8(zip[at])) | quint32(quint8(zip[at + 1])) << 8; };
    const auto u32 = [&](qsizetype at) { return qint64(u16(at)) | qint64(u16(at + 2)) << 16; };
    const qsizetype eocd = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (eocd < 0 || zip.size() - eocd < 22)
        return false;
    const quint32 entries = u16(eocd + 10);
    const qint64 size = u32(eocd + 12);
    const qint64 start = u32(eocd + 16);
    if (entries > quint32(kMaxZipEntries) || start + size > eocd)
        return false;
    const qint64 end = start + size;
    qint64 at = start;
    for (quint32 i = 0; i < entries; ++i) {
        if (at + 46 > end || zip.mid(at, 4) != QByteArray("PK\x01\x02", 4))
            return false;
        const qint64 name = u16(at + 28), extra = u16(at + 30), comment = u16(at + 32);
        qint64 field = at + 46 + name;
        const qint64 extraEnd = field + extra;
        if (extraEnd + comment > end)
            return false;
        while (field < extraEnd) {
            if (field + 4 > extraEnd || field + 4 + u16(field + 2) > extraEnd)
                return false;
            field += 4 + u16(field + 2);
        }
        at = extraEnd + comment;
    }
    return true;
}

// The cells read so far, held to the bounds; false once a bound is passed.
class Cells {
public:
    explicit Cells(std::vector<Cell>& out) : out_(out) { out_.clear(); }
    bool add(int row, int col, const QVariant& value)
    {
        if (row < 0 || col < 0 || row >= kMaxRows || col >= kMaxColumns || int(out_.size()) >= kMaxCells)
            return false;
        if (value.typeId() == QMetaType::QString && value.toString().toUtf8().size() > kMaxTextBytes)
            return false;
        out_.push_back(Cell{row, col, value});
        return true;
    }

private:
    std::vector<Cell>& out_;
};

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

// The size every sheet of an .xls declares (its DIMENSIONS record), weighed
// against the bounds before FreeXL sees the file: FreeXL lays out every
// declared cell while it opens the file, so a few kilobytes declaring
// 65 536 x 256 cells would keep it busy for seconds. Reads the compound
// file's "Workbook" stream itself; false for a file whose compound
// structure does not hold, or a sheet declaring more than the bounds.
class CompoundFile {
public:
    explicit CompoundFile(QByteArray bytes) : file_(std::move(bytes)) {}

    bool stream(const QString& wanted, QByteArray& out)
    {
        if (file_.size() < 512 || !file_.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
            return false;
        const quint32 shift = u16(0x1E);
        if (shift != 9 && shift != 12)
            return false;
        sectorSize_ = qint64(1) << shift;
        if (!readFat())
            return false;
        QByteArray directory;
        if (!chain(fat_, u32(0x30), sectorSize_, directory, [&](quint32 s) { return sector(s); }))
            return false;
        QByteArray root;
        for (qsizetype at = 0; at + 128 <= directory.size(); at += 128) {
            const char* e = directory.constData() + at;
            const quint16 nameBytes = get16(e + 0x40);
            if (nameBytes < 2 || nameBytes > 64)
                continue;
            const QString name = QString::fromUtf16(reinterpret_cast<const char16_t*>(e), nameBytes / 2 - 1);
            const quint8 type = quint8(e[0x42]);
            const quint32 start = get32(e + 0x74);
            const qint64 size = get32(e + 0x78);
            if (type == 5 && at == 0) {
                if (!chain(fat_, start, -1, root, [&](quint32 s) { return sector(s); }))
                    return false;
            } else if (type == 2 && name.compare(wanted, Qt::CaseInsensitive) == 0) {
                if (size >= qint64(u32(0x38)))
                    return chain(fat_, start, size, out, [&](quint32 s) { return sector(s); });
                // Small streams live in the mini stream, in 64-byte pieces.
                std::vector<quint32> miniFat;
                QByteArray miniFatBytes;
                if (!chain(fat_, u32(0x3C), -1, miniFatBytes, [&](quint32 s) { return sector(s); }))
                    return false;
                for (qsizetype i = 0; i + 4 <= miniFatBytes.size(); i += 4)
                    miniFat.push_back(get32(miniFatBytes.constData() + i));
                return chain(miniFat, start, size, out, [&](quint32 s) -> QByteArrayView {
                    const qint64 from = qint64(s) * 64;
                    if (from + 64 > root.size())
                        return {};
                    return QByteArrayView(root).sliced(from, 64);
                });
            }
        }
        return false;
    }

private:
    static quint16 get16(const char* p) { return quint16(quint8(p[0]) | quint8(p[1]) << 8); }
    static quint32 get32(const char* p) { return quint32(get16(p)) | quint32(get16(p + 2)) << 16; }
    quint16 u16(qsizetype at) const { return get16(file_.constData() + at); }
    quint32 u32(qsizetype at) const { return get32(file_.constData() + at); }

    QByteArrayView sector(quint32 s) const
    {
        const qint64 from = (qint64(s) + 1) * sectorSize_;
        if (s >= 0xFFFFFFFA || from + sectorSize_ > file_.size())
            return {};
        return QByteArrayView(file_).sliced(from, sectorSize_);
    }

    // The allocation table, from the sector list of the header and the
    // chained list sectors after it.
    bool readFat()
    {
        std::vector<quint32> fatSectors;
        for (int i = 0; i < 109; ++i)
            fatSectors.push_back(u32(0x4C + 4 * i));
        quint32 next = u32(0x44);
        for (quint32 n = u32(0x48); n > 0 && next < 0xFFFFFFFA; --n) {
            const QByteArrayView s = sector(next);
            if (s.isEmpty() || fatSectors.size() > std::size_t(file_.size() / 4))
                return false;
            for (qsizetype i = 0; i + 4 < s.size(); i += 4)
                fatSectors.push_back(get32(s.data() + i));
            next = get32(s.data() + s.size() - 4);
        }
        const quint32 count = u32(0x2C);
        if (count > fatSectors.size())
            return false;
        for (quint32 i = 0; i < count; ++i) {
            const QByteArrayView s = sector(fatSectors[i]);
            if (s.isEmpty())
                return false;
            for (qsizetype j = 0; j + 4 <= s.size(); j += 4)
                fat_.push_back(get32(s.data() + j));
        }
        return true;
    }

    // The sectors of a chain, in order, cut to `size` (all of them when -1).
    template <typename Sector>
    bool chain(const std::vector<quint32>& table, quint32 start, qint64 size, QByteArray& out, Sector sectorOf) const
    {
        out.clear();
        std::size_t steps = 0;
        for (quint32 s = start; s != 0xFFFFFFFE; s = table[s]) {
            const QByteArrayView piece = sectorOf(s);
            if (piece.isEmpty() || s >= table.size() || ++steps > table.size())
                return false;
            out.append(piece);
            if (size >= 0 && out.size() >= size)
                break;
        }
        if (size >= 0) {
            if (out.size() < size)
                return false;
            out.truncate(size);
        }
        return true;
    }

    QByteArray file_;
    qint64 sectorSize_ = 512;
    std::vector<quint32> fat_;
};

quint32 u16At(QByteArrayView bytes, qsizetype at)
{
    return quint32(quint8(bytes[at])) | quint32(quint8(bytes[at + 1])) << 8;
}

// Gives each record of an .xls's workbook stream, its id and its body, to
// `onRecord`, which returns false to stop there. False when the compound
// file does not hold, or when `onRecord` stopped.
template <typename F>
bool forEachRecord(const QByteArray& bytes, F onRecord)
{
    if (bytes.size() > kMaxXlsBytes)
        return false;
    CompoundFile compound(bytes);
    QByteArray book;
    if (!compound.stream(QStringLiteral("Workbook"), book) && !compound.stream(QStringLiteral("Book"), book))
        return false;
    for (qsizetype at = 0; at + 4 <= book.size();) {
        const quint32 id = u16At(book, at);
        const qsizetype length = u16At(book, at + 2);
        const qsizetype body = at + 4;
        if (body + length > book.size())
            break;
        if (!onRecord(id, QByteArrayView(book).sliced(body, length)))
            return false;
        at = body + length;
    }
    return true;
}

bool declaredSizesFit(const QByteArray& bytes)
{
    return forEachRecord(bytes, [](quint32 id, QByteArrayView body) {
        if (id != 0x0200)
            return true;
        // DIMENSIONS. BIFF8: first row, last row + 1 (32 bits each), then
        // the columns; BIFF5 and older: 16-bit rows.
        const qsizetype length = body.size();
        const bool biff8 = length >= 14;
        if (!biff8 && length < 10)
            return false;
        const qint64 rows = biff8 ? qint64(u16At(body, 4)) | qint64(u16At(body, 6)) << 16 : u16At(body, 2);
        const qint64 cols = u16At(body, biff8 ? 10 : 6);
        return rows <= kMaxRows && cols <= kMaxColumns && rows * cols <= kMaxCells;
    });
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
    // No more than the part's own header says it unpacks to.
    const qint64 limit = qint64(info.uncompressedSize);
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // In pieces, so a part is never given more room than it has unpacked.
    out.clear();
    char chunk[64 * 1024];
    qint64 n = 0;
    while ((n = file.read(chunk, sizeof chunk)) > 0) {
        if (out.size() + n > limit) {
            file.close();
            return false;
        }
        out.append(chunk, qsizetype(n));
    }
    const bool ok = n == 0 && file.getZipError() == UNZ_OK;
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

// The whole file, or false when it cannot be read or holds more than a
// spreadsheet may.
bool readWhole(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.read(kMaxInputBytes + 1);
    return bytes.size() <= kMaxInputBytes && file.error() == QFile::NoError;
}

Status readXlsBytes(const QByteArray& bytes, const char* freexlName, const QString& sheetName, std::vector<Cell>& out)
{
    out.clear();
    if (!declaredSizesFit(bytes))
        return Status::Damaged;
    const void* handle = nullptr;
    const int opened = freexl_open(freexlName, &handle);
    struct Closer {
        const void*& h;
        ~Closer()
        {
            if (h)
                freexl_close(h);
        }
    } closer{handle};
    if (opened != FREEXL_OK)
        return Status::Damaged;

    unsigned int count = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        return Status::Damaged;
    int index = -1;
    for (unsigned int i = 0; i < count && i <= 0xFFFF && index < 0; ++i) {
        const char* sheet = nullptr;
        if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(i), &sheet) == FREEXL_OK && sheet
            && QString::fromUtf8(sheet).compare(sheetName, Qt::CaseInsensitive) == 0)
            index = int(i);
    }
    if (index < 0)
        return Status::NoSheet;
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(handle, static_cast<unsigned short>(index)) != FREEXL_OK
        || freexl_worksheet_dimensions(handle, &rows, &cols) != FREEXL_OK || rows > unsigned(kMaxRows)
        || cols > kMaxColumns || qint64(rows) * cols > kMaxCells)
        return Status::Damaged;
    Cells cells(out);
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(handle, r, c, &v) != FREEXL_OK)
                return Status::Damaged;
            QVariant value;
            switch (v.type) {
            case FREEXL_CELL_INT:
                value = double(v.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                value = v.value.double_value;
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                if (v.value.text_value)
                    value = QString::fromUtf8(v.value.text_value);
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                if (v.value.text_value)
                    value = freexlDateText(v.value.text_value);
                break;
            default:
                break;
            }
            if (value.isValid() && !cells.add(int(r), c, value))
                return Status::Damaged;
        }
    }
    return Status::Ok;
}

Status readXlsxBytes(const QByteArray& bytes, const QString& sheetName, std::vector<Cell>& out)
{
    out.clear();
    if (!centralDirectorySound(bytes))
        return Status::Damaged;
    QBuffer buffer;
    buffer.setData(bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return Status::Damaged;
    const Rels root = readRels(zip, QString());
    const QString workbookPath = root.byType.value(QStringLiteral("officeDocument"), QStringLiteral("xl/workbook.xml"));
    QByteArray workbook;
    if (!readPart(zip, workbookPath, workbook))
        return Status::Damaged;
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
    if (!wbOk)
        return Status::Damaged;
    if (!found)
        return Status::NoSheet;
    const Rels wbRels = readRels(zip, workbookPath);
    const QString sheetPath = wbRels.byId.value(sheetRel);
    QByteArray sheetXml;
    if (sheetPath.isEmpty() || !readPart(zip, sheetPath, sheetXml))
        return Status::Damaged;

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

    Cells cells(out);
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
            if (!ref.isEmpty() && !parseRef(ref, r, c))
                return Status::Damaged;
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
                if (!ok || i < 0 || i >= shared.size())
                    return Status::Damaged;
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
            if (!cells.add(r, c, value))
                return Status::Damaged;
        }
    }
    if (xml.hasError())
        return Status::Damaged;
    return Status::Ok;
}

// Reads `path` whole and gives its bytes to `read`.
template <typename Read>
Status fromFile(const QString& path, std::vector<Cell>& out, Read read)
{
    QByteArray bytes;
    if (!readWhole(path, bytes)) {
        out.clear();
        return Status::Damaged;
    }
    return read(bytes);
}

} // namespace

Status readXlsCells(const QString& path, const QString& sheetName, std::vector<Cell>& out)
{
    return fromFile(path, out, [&](const QByteArray& bytes) {
        return readXlsBytes(bytes, QFile::encodeName(path).constData(), sheetName, out);
    });
}

Status readXlsxCells(const QString& path, const QString& sheetName, std::vector<Cell>& out)
{
    return fromFile(path, out, [&](const QByteArray& bytes) { return readXlsxBytes(bytes, sheetName, out); });
}

Status readInput(const QByteArray& bytes, const char* freexlName, const QString& sheetName, std::vector<Cell>& out)
{
    out.clear();
    switch (kindOfHeader(bytes.left(8))) {
    case Kind::Xls:
        return readXlsBytes(bytes, freexlName, sheetName, out);
    case Kind::Xlsx:
        return readXlsxBytes(bytes, sheetName, out);
    case Kind::Unknown:
        break;
    }
    return Status::Damaged;
}

int xlsCodePage(const QByteArray& bytes)
{
    int page = -1;
    forEachRecord(bytes, [&](quint32 id, QByteArrayView body) {
        if (id != 0x0042 || body.size() < 2)
            return true;
        page = int(u16At(body, 0));
        return false;
    });
    return page;
}

Status readCells(const QString& path, const QString& sheetName, std::vector<Cell>& out)
{
    return fromFile(path, out, [&](const QByteArray& bytes) {
        return readInput(bytes, QFile::encodeName(path).constData(), sheetName, out);
    });
}

} // namespace platform::planilha
