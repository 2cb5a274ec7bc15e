#include "data/Collation.h"

#include <QCollator>
#include <QLocale>
#include <QStringDecoder>

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstring>

namespace data {
namespace {

QCollator collatorPortugues() { return QCollator(QLocale(QLocale::Portuguese, QLocale::Brazil)); }

// One collator and two reusable buffers per connection: a comparison
// decodes both texts without allocating.
struct Contexto {
    QCollator collator = collatorPortugues();
    QString a, b;
};

QStringView decodificar(QString& buffer, const void* dados, int n)
{
    // UTF-16 never needs more units than UTF-8 has bytes.
    if (buffer.size() < n)
        buffer.resize(n);
    QChar* out = buffer.data();
    const auto* s = static_cast<const unsigned char*>(dados);
    int i = 0;
    for (; i < n && s[i] < 0x80; ++i)
        out[i] = QChar(s[i]);
    if (i == n)
        return QStringView(out, n);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QChar* fim = utf8.appendToBuffer(out + i, QByteArrayView(s + i, n - i));
    return QStringView(out, fim - out);
}

int compararBytes(int na, const void* a, int nb, const void* b)
{
    if (const int c = std::memcmp(a, b, size_t(std::min(na, nb))))
        return c;
    return na - nb;
}

// The collator compares the letters of the whole texts before their
// accents and those before their case, so one comparison at full strength
// already lets case and accents only break ties.
int compararUtf8(void* ctx, int na, const void* a, int nb, const void* b)
{
    if (na == nb && std::memcmp(a, b, size_t(na)) == 0)
        return 0;
    auto* c = static_cast<Contexto*>(ctx);
    if (const int r = c->collator.compare(decodificar(c->a, a, na), decodificar(c->b, b, nb)))
        return r;
    return compararBytes(na, a, nb, b);
}

void liberar(void* ctx) { delete static_cast<Contexto*>(ctx); }

} // namespace

int compareText(const QString& a, const QString& b)
{
    static thread_local const QCollator collator = collatorPortugues();
    if (const int r = collator.compare(a, b))
        return r;
    return a.compare(b);
}

void registerCollation(sqlite3* db)
{
    auto* ctx = new Contexto;
    if (sqlite3_create_collation_v2(db, "PORTUGUES", SQLITE_UTF8, ctx, compararUtf8, liberar) != SQLITE_OK)
        delete ctx;
}

} // namespace data
