#include "platform/planilha/leitura.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QXmlStreamReader>
#include <cmath>
#include <cstring>
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

// The workbook stream of an .xls; false when the compound file does not
// hold.
bool workbookStream(const QByteArray& bytes, QByteArray& book)
{
    if (bytes.size() > kMaxXlsBytes)
        return false;
    CompoundFile compound(bytes);
    return compound.stream(QStringLiteral("Workbook"), book) || compound.stream(QStringLiteral("Book"), book);
}

// Gives each record of a workbook stream from `from` on, its offset, id and
// body, to `onRecord`, which returns false to stop there. False when
// `onRecord` stopped.
template <typename F>
bool forEachRecordIn(const QByteArray& book, qsizetype from, F onRecord)
{
    for (qsizetype at = from; at >= 0 && at + 4 <= book.size();) {
        const quint32 id = u16At(book, at);
        const qsizetype length = u16At(book, at + 2);
        const qsizetype body = at + 4;
        if (body + length > book.size())
            break;
        if (!onRecord(at, id, QByteArrayView(book).sliced(body, length)))
            return false;
        at = body + length;
    }
    return true;
}

// The same over the whole workbook stream of an .xls, without the offsets.
// False when the compound file does not hold, or when `onRecord` stopped.
template <typename F>
bool forEachRecord(const QByteArray& bytes, F onRecord)
{
    QByteArray book;
    if (!workbookStream(bytes, book))
        return false;
    return forEachRecordIn(book, 0, [&](qsizetype, quint32 id, QByteArrayView body) { return onRecord(id, body); });
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

// The results a workbook's formula cells stored when it was last saved.
// FreeXL leaves formula cells out, so the sheet's FORMULA records are read
// here: a number, or a text (in the STRING record that follows), a truth
// value or an error. A number whose cell has a date format is a date, as
// FreeXL gives a number cell. A formula whose result was never stored gives
// nothing: the cell reads empty.
class FormulaResults {
public:
    explicit FormulaResults(const QByteArray& bytes)
    {
        if (!workbookStream(bytes, book_))
            book_.clear();
    }

    // Adds the stored results of the sheet named `sheetName` to `cells`,
    // leaving the positions in `taken` as they are; false when a bound is
    // passed.
    bool addTo(const QString& sheetName, const QSet<qint64>& taken, Cells& cells)
    {
        const qsizetype sheet = readGlobals(sheetName);
        if (sheet < 0)
            return true;
        int depth = 0;
        bool ok = true;
        qsizetype pendingText = -1;  // the position of a formula whose text follows
        forEachRecordIn(book_, sheet, [&](qsizetype at, quint32 id, QByteArrayView body) {
            if (at == sheet && id != 0x0809 && id != 0x0409 && id != 0x0209 && id != 0x0009)
                return false;
            switch (id) {
            case 0x0809: case 0x0409: case 0x0209: case 0x0009:  // BOF: a chart's substream inside
                ++depth;
                return true;
            case 0x000A:  // EOF
                return --depth > 0;
            case 0x0006:  // FORMULA
                pendingText = -1;
                if (depth == 1 && body.size() >= 14)
                    ok = formula(body, taken, cells, pendingText);
                return ok;
            case 0x0207:  // STRING: the text result of the formula just before
                if (depth == 1 && pendingText >= 0) {
                    const qsizetype next = at + 4 + body.size();
                    const QString text = storedText(body, next);
                    if (!text.isEmpty() && !taken.contains(pendingText))
                        ok = cells.add(int(pendingText >> 16), int(pendingText & 0xFFFF), text);
                }
                pendingText = -1;
                return ok;
            default:
                return true;
            }
        });
        return ok;
    }

private:
    // The sheet's substream offset, and on the way the formats and the
    // date system; -1 when the workbook has no such sheet.
    qsizetype readGlobals(const QString& sheetName)
    {
        qsizetype sheet = -1;
        forEachRecordIn(book_, 0, [&](qsizetype at, quint32 id, QByteArrayView body) {
            switch (id) {
            case 0x0809:
                if (at == 0 && body.size() >= 2)
                    biff8_ = u16At(body, 0) == 0x0600;
                return at == 0;
            case 0x0022:  // DATEMODE
                date1904_ = body.size() >= 2 && u16At(body, 0) == 1;
                return true;
            case 0x041E:  // FORMAT
                readFormat(body);
                return true;
            case 0x00E0:  // XF
                if (body.size() >= 4)
                    xfFormats_.push_back(quint16(u16At(body, 2)));
                return true;
            case 0x0085:  // BOUNDSHEET
                if (body.size() >= 7 && sheet < 0 && sheetNameOf(body).compare(sheetName, Qt::CaseInsensitive) == 0)
                    sheet = qsizetype(u16At(body, 0) | u16At(body, 2) << 16);
                return true;
            case 0x000A:
                return false;
            default:
                return true;
            }
        });
        return sheet >= 0 && sheet < book_.size() ? sheet : -1;
    }

    QString sheetNameOf(QByteArrayView body) const
    {
        const qsizetype count = quint8(body[6]);
        if (!biff8_)
            return characters(body.sliced(7), count, false);
        if (body.size() < 8)
            return QString();
        return characters(body.sliced(8), count, quint8(body[7]) & 1);
    }

    // `count` characters: UTF-16 when `wide`, else one byte each (the
    // low byte of the character); as many as there are.
    static QString characters(QByteArrayView from, qsizetype count, bool wide)
    {
        QString text;
        const qsizetype size = wide ? 2 : 1;
        count = std::min(count, from.size() / size);
        text.reserve(count);
        for (qsizetype i = 0; i < count; ++i)
            text.append(QChar(wide ? char16_t(u16At(from, 2 * i)) : char16_t(quint8(from[i]))));
        return text;
    }

    void readFormat(QByteArrayView body)
    {
        if (body.size() < 3)
            return;
        const quint16 index = quint16(u16At(body, 0));
        QString code;
        if (biff8_ && body.size() >= 5) {
            code = characters(body.sliced(5), u16At(body, 2), quint8(body[4]) & 1);
        } else {
            code = characters(body.sliced(3), quint8(body[2]), false);
        }
        if (isDateCode(code))
            dateFormats_.insert(index);
    }

    // A format with days, months or years outside quotes, brackets and
    // escapes shows a date.
    static bool isDateCode(const QString& code)
    {
        bool quoted = false;
        int bracket = 0;
        for (qsizetype i = 0; i < code.size(); ++i) {
            const QChar c = code[i];
            if (c == QLatin1Char('"'))
                quoted = !quoted;
            else if (quoted)
                continue;
            else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*'))
                ++i;
            else if (c == QLatin1Char('['))
                ++bracket;
            else if (c == QLatin1Char(']'))
                bracket = std::max(0, bracket - 1);
            else if (bracket == 0 && QStringLiteral("dmyDMY").contains(c))
                return true;
        }
        return false;
    }

    bool dateStyle(quint16 xf) const
    {
        if (xf >= xfFormats_.size())
            return false;
        const quint16 format = xfFormats_[xf];
        return (format >= 14 && format <= 22) || (format >= 45 && format <= 47) || dateFormats_.contains(format);
    }

    bool formula(QByteArrayView body, const QSet<qint64>& taken, Cells& cells, qsizetype& pendingText) const
    {
        const int row = int(u16At(body, 0));
        const int col = int(u16At(body, 2));
        const quint16 xf = quint16(u16At(body, 4));
        const qint64 at = qint64(row) << 16 | col;
        const QByteArrayView result = body.sliced(6, 8);
        QVariant value;
        if (u16At(result, 6) != 0xFFFF) {
            double number = 0;
            std::memcpy(&number, result.data(), sizeof number);
            if (!std::isfinite(number))
                return true;
            // LibreOffice stores a text result in a cell formatted as a
            // date ("" of a filled-down =IF(...;"";...), or any text) as
            // the number 0, which it shows as the text it computes; day 0
            // is no date, so the cell reads as the empty one it looks.
            if (dateStyle(xf) && number == 0.0)
                return true;
            value = dateStyle(xf) ? fromSerial(number, date1904_) : QVariant(number);
        } else {
            switch (quint8(result[0])) {
            case 0:  // a text, in the STRING record next
                pendingText = qsizetype(at);
                return true;
            case 1:
                value = quint8(result[2]) != 0;
                break;
            case 2:
                value = errorText(quint8(result[2]));
                break;
            default:  // 3: the empty text
                return true;
            }
        }
        if (!value.isValid() || taken.contains(at))
            return true;
        return cells.add(row, col, value);
    }

    static QString errorText(quint8 code)
    {
        switch (code) {
        case 0x00: return QStringLiteral("#NULL!");
        case 0x07: return QStringLiteral("#DIV/0!");
        case 0x0F: return QStringLiteral("#VALUE!");
        case 0x17: return QStringLiteral("#REF!");
        case 0x1D: return QStringLiteral("#NAME?");
        case 0x24: return QStringLiteral("#NUM!");
        case 0x2A: return QStringLiteral("#N/A");
        default: return QStringLiteral("#N/A");
        }
    }

    // The text of a STRING record, with the CONTINUE records from `next` on
    // when it is longer than one record holds. Old (BIFF5) workbooks store
    // it in their code page, read here as Latin-1.
    QString storedText(QByteArrayView body, qsizetype next) const
    {
        if (body.size() < 2)
            return QString();
        const qsizetype count = u16At(body, 0);
        if (!biff8_) {
            // BIFF5 goes on in CONTINUE records of bare bytes.
            QString text = characters(body.sliced(2), count, false);
            forEachRecordIn(book_, next, [&](qsizetype, quint32 id, QByteArrayView more) {
                if (id != 0x003C || text.size() >= count || more.isEmpty())
                    return false;
                text += characters(more, count - text.size(), false);
                return true;
            });
            return text;
        }
        if (body.size() < 3)
            return QString();
        const quint8 flags = quint8(body[2]);
        qsizetype skip = 3;
        if (flags & 0x08)
            skip += 2;  // the count of formatting runs
        if (flags & 0x04)
            skip += 4;  // the size of the phonetic block
        if (body.size() < skip)
            return QString();
        const bool wide = flags & 1;
        const QByteArrayView first = body.sliced(skip);
        std::vector<QByteArrayView> more;
        qsizetype bytes = first.size();
        forEachRecordIn(book_, next, [&](qsizetype, quint32 id, QByteArrayView piece) {
            if (id != 0x003C || piece.isEmpty())
                return false;
            more.push_back(piece);
            bytes += piece.size();
            return bytes < count * (wide ? 2 : 1) + qsizetype(more.size());
        });
        // Some writers go on in bare bytes, a wide character split across
        // two records; their bytes then add up to the text exactly. The
        // others start each CONTINUE with its own byte of flags.
        if (bytes == count * (wide ? 2 : 1)) {
            QByteArray whole(first.data(), first.size());
            for (const QByteArrayView piece : more)
                whole.append(piece.data(), piece.size());
            return characters(whole, count, wide);
        }
        QString text = characters(first, count, wide);
        for (const QByteArrayView piece : more) {
            if (text.size() >= count)
                break;
            text += characters(piece.sliced(1), count - text.size(), quint8(piece[0]) & 1);
        }
        return text;
    }

    QByteArray book_;
    bool biff8_ = true;
    bool date1904_ = false;
    std::vector<quint16> xfFormats_;
    QSet<quint16> dateFormats_;
};

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
    QSet<qint64> taken;
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
            if (!value.isValid())
                continue;
            if (!cells.add(int(r), c, value))
                return Status::Damaged;
            taken.insert(qint64(r) << 16 | c);
        }
    }
    if (!FormulaResults(bytes).addTo(sheetName, taken, cells))
        return Status::Damaged;
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

} // namespace platform::planilha
