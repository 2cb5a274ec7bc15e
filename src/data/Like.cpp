#include "data/Like.h"

#include <sqlcipher/sqlite3.h>

#include <QList>

#include <string>
#include <string_view>

namespace data {
namespace {

template <class Str>
bool matchFolded(const Str& s, const Str& p, typename Str::value_type esc, bool hasEsc)
{
    // Iterative wildcard match with one backtrack point for the last "%".
    size_t si = 0, pi = 0;
    size_t starP = Str::npos, starS = 0;
    while (si < s.size()) {
        if (pi < p.size()) {
            const auto pc = p[pi];
            if (hasEsc && pc == esc && pi + 1 < p.size()) {
                if (p[pi + 1] == s[si]) {
                    pi += 2;
                    ++si;
                    continue;
                }
            } else if (pc == '%') {
                starP = pi++;
                starS = si;
                continue;
            } else if (pc == '_' || pc == s[si]) {
                ++pi;
                ++si;
                continue;
            }
        }
        if (starP == Str::npos)
            return false;
        pi = starP + 1;
        si = ++starS;
    }
    while (pi < p.size() && p[pi] == '%')
        ++pi;
    return pi == p.size();
}

std::u32string folded(const QString& text)
{
    std::u32string out;
    out.reserve(text.size());
    for (char32_t c : text.toUcs4())
        out.push_back(QChar::toCaseFolded(c));
    return out;
}

bool isAscii(const unsigned char* p, int n)
{
    for (int i = 0; i < n; ++i)
        if (p[i] >= 0x80)
            return false;
    return true;
}

std::string asciiLower(const unsigned char* p, int n)
{
    std::string s(reinterpret_cast<const char*>(p), size_t(n));
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    // SQLite calls like(pattern, text[, escape]).
    const auto* pat = sqlite3_value_text(argv[0]);
    const int patLen = sqlite3_value_bytes(argv[0]);
    const auto* txt = sqlite3_value_text(argv[1]);
    const int txtLen = sqlite3_value_bytes(argv[1]);
    if (!pat || !txt) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar esc;
    if (argc == 3) {
        const auto* e = sqlite3_value_text(argv[2]);
        const QString es = e ? QString::fromUtf8(reinterpret_cast<const char*>(e)) : QString();
        if (es.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        esc = es[0];
    }
    bool result;
    if (isAscii(pat, patLen) && isAscii(txt, txtLen) && esc.unicode() < 0x80) {
        result = matchFolded(asciiLower(txt, txtLen), asciiLower(pat, patLen),
                             char(esc.toLower().unicode()), argc == 3);
    } else {
        result = likeMatch(QString::fromUtf8(reinterpret_cast<const char*>(txt), txtLen),
                           QString::fromUtf8(reinterpret_cast<const char*>(pat), patLen), esc);
    }
    sqlite3_result_int(ctx, result ? 1 : 0);
}

} // namespace

bool likeMatch(const QString& text, const QString& pattern, QChar escape)
{
    const bool hasEsc = !escape.isNull();
    return matchFolded(folded(text), folded(pattern),
                       hasEsc ? QChar::toCaseFolded(char32_t(escape.unicode())) : U'\0', hasEsc);
}

QString likeFolded(const QString& text)
{
    const std::u32string f = folded(text);
    return QString::fromUcs4(f.data(), qsizetype(f.size()));
}

QString likeLiteral(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

void registerLike(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
}

} // namespace data
