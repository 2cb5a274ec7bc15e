#include "platform/planilha/resposta.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstring>

namespace platform::planilha {

namespace {

const char kMagic[4] = {'V', 'P', 'L', '1'};

template <typename T>
void put(QByteArray& out, T value)
{
    unsigned char bytes[sizeof(T)];
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    out.append(reinterpret_cast<const char*>(bytes), sizeof(T));
}

// Reads the answer front to back; every read checks what is left.
class Cursor {
public:
    explicit Cursor(const QByteArray& bytes) : data_(bytes.constData()), left_(bytes.size()) {}
    template <typename T>
    bool get(T& value)
    {
        if (left_ < qsizetype(sizeof(T)))
            return false;
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            bits |= std::uint64_t(static_cast<unsigned char>(data_[i])) << (8 * i);
        std::memcpy(&value, &bits, sizeof(T));
        skip(sizeof(T));
        return true;
    }
    bool bytes(qsizetype n, const char*& at)
    {
        if (n < 0 || left_ < n)
            return false;
        at = data_;
        skip(n);
        return true;
    }
    bool atEnd() const { return left_ == 0; }

private:
    void skip(qsizetype n)
    {
        data_ += n;
        left_ -= n;
    }
    const char* data_;
    qsizetype left_;
};

} // namespace

Kind kindOfHeader(const QByteArray& head)
{
    if (head.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        return Kind::Xls;
    if (head.startsWith(QByteArray("PK\x03\x04", 4)))
        return Kind::Xlsx;
    return Kind::Unknown;
}

bool encodeCell(QByteArray& answer, const Cell& cell)
{
    QByteArray value;
    char type = 0;
    switch (cell.value.typeId()) {
    case QMetaType::QString: {
        QByteArray text = cell.value.toString().toUtf8();
        if (text.size() > kMaxTextBytes)
            return false;
        type = 's';
        put<std::uint32_t>(value, std::uint32_t(text.size()));
        value += text;
        break;
    }
    case QMetaType::Double:
        type = 'n';
        put<double>(value, cell.value.toDouble());
        break;
    case QMetaType::QDate:
        type = 'd';
        put<std::int64_t>(value, cell.value.toDate().toJulianDay());
        break;
    case QMetaType::QDateTime: {
        const QDateTime dt = cell.value.toDateTime();
        type = 'h';
        put<std::int64_t>(value, dt.date().toJulianDay());
        put<std::uint32_t>(value, std::uint32_t(dt.time().msecsSinceStartOfDay()));
        break;
    }
    case QMetaType::Bool:
        type = 'b';
        value.append(cell.value.toBool() ? '\1' : '\0');
        break;
    default:
        return false;
    }
    answer.append(type);
    put<std::uint32_t>(answer, std::uint32_t(cell.row));
    put<std::uint32_t>(answer, std::uint32_t(cell.col));
    answer += value;
    return true;
}

QByteArray encodeAnswer(Status status, const std::vector<Cell>& cells)
{
    QByteArray answer(kMagic, sizeof kMagic);
    answer.append(char(status));
    if (status == Status::Ok) {
        for (const Cell& cell : cells)
            encodeCell(answer, cell);
        answer.append('Z');
    }
    return answer;
}

bool decodeAnswer(const QByteArray& answer, Status& status, std::vector<Cell>& cells)
{
    cells.clear();
    Cursor in(answer);
    const char* magic = nullptr;
    char s = 0;
    if (!in.bytes(sizeof kMagic, magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0 || !in.get(s))
        return false;
    if (s == char(Status::NoSheet) || s == char(Status::Damaged)) {
        status = Status(s);
        return in.atEnd();
    }
    if (s != char(Status::Ok))
        return false;
    for (;;) {
        char type = 0;
        if (!in.get(type))
            return false;
        if (type == 'Z')
            break;
        std::uint32_t row = 0, col = 0;
        if (!in.get(row) || !in.get(col) || row >= std::uint32_t(kMaxRows) || col >= std::uint32_t(kMaxColumns)
            || cells.size() >= std::size_t(kMaxCells))
            return false;
        Cell cell;
        cell.row = int(row);
        cell.col = int(col);
        switch (type) {
        case 's': {
            std::uint32_t size = 0;
            const char* text = nullptr;
            if (!in.get(size) || size > std::uint32_t(kMaxTextBytes) || !in.bytes(qsizetype(size), text))
                return false;
            cell.value = QString::fromUtf8(text, qsizetype(size));
            break;
        }
        case 'n': {
            double d = 0;
            if (!in.get(d))
                return false;
            cell.value = d;
            break;
        }
        case 'd':
        case 'h': {
            std::int64_t jd = 0;
            if (!in.get(jd))
                return false;
            // Years 1 to 9999, as the spreadsheets count them.
            if (jd < QDate(1, 1, 1).toJulianDay() || jd > QDate(9999, 12, 31).toJulianDay())
                return false;
            const QDate date = QDate::fromJulianDay(jd);
            if (!date.isValid())
                return false;
            if (type == 'd') {
                cell.value = date;
                break;
            }
            std::uint32_t ms = 0;
            if (!in.get(ms) || ms >= 86400000u)
                return false;
            cell.value = QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
            break;
        }
        case 'b': {
            char b = 0;
            if (!in.get(b) || (b != 0 && b != 1))
                return false;
            cell.value = b == 1;
            break;
        }
        default:
            return false;
        }
        cells.push_back(std::move(cell));
    }
    status = Status::Ok;
    return in.atEnd();
}

} // namespace platform::planilha
