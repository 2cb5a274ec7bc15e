#include "budget/CaixaValor.h"

#include "platform/MsgBox.h"

#include <QLineEdit>

namespace budget {
namespace {

// Larger amounts are not a household's; the limit keeps a yearly total
// (twelve times the value) within the centavos' range.
constexpr int kMaxDigitosInteiros = 13;

bool dentroDoLimite(data::Centavos c)
{
    constexpr data::Centavos limite = [] {
        data::Centavos l = 100;
        for (int i = 0; i < kMaxDigitosInteiros; ++i)
            l *= 10;
        return l;
    }();
    return c >= 0 && c < limite;
}

bool soDigitosEVirgula(const QString& texto)
{
    for (QChar c : texto)
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char(','))
            return false;
    return true;
}

// One side of a product: digits with at most one decimal comma, not too
// many of them for an exact product.
bool fatorValido(const QString& texto, data::Decimal& out)
{
    return !texto.isEmpty() && texto.size() <= 18 && soDigitosEVirgula(texto) && data::parseDecimal(texto, out);
}

QString semZerosFinais(data::Centavos c)
{
    QString s = data::formatMoneyPlain(c);
    while (s.endsWith(QLatin1Char('0')) && s.contains(QLatin1Char(',')))
        s.chop(1);
    if (s.endsWith(QLatin1Char(',')))
        s.chop(1);
    return s;
}

} // namespace

bool produtoValor(const QString& texto, QString& resultado)
{
    const qsizetype estrela = texto.indexOf(QLatin1Char('*'));
    if (estrela < 0)
        return false;
    data::Decimal a, b;
    if (!fatorValido(texto.left(estrela), a) || !fatorValido(texto.mid(estrela + 1), b))
        return false;
    const data::Decimal p{a.mantissa * b.mantissa, a.scale + b.scale};
    // Whole part within the limit before it is turned into centavos.
    __int128 inteira = p.mantissa;
    for (int i = 0; i < p.scale; ++i)
        inteira /= 10;
    __int128 limite = 1;
    for (int i = 0; i < kMaxDigitosInteiros; ++i)
        limite *= 10;
    if (inteira >= limite)
        return false;
    const data::Centavos c = data::toCentavos(p);
    if (!dentroDoLimite(c))
        return false;
    resultado = semZerosFinais(c);
    return true;
}

bool lerValor(const QString& texto, data::Centavos& out)
{
    if (texto.isEmpty())
        return false;
    for (QChar c : texto)
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char(',') && c != QLatin1Char('.'))
            return false;
    const qsizetype virgula = texto.indexOf(QLatin1Char(','));
    QString inteira = texto.left(virgula < 0 ? texto.size() : virgula);
    inteira.remove(QLatin1Char('.'));
    while (inteira.startsWith(QLatin1Char('0')))
        inteira.remove(0, 1);
    if (inteira.size() > kMaxDigitosInteiros)
        return false;
    data::Centavos c = 0;
    if (!data::parseMoney(texto, c) || !dentroDoLimite(c))
        return false;
    out = c;
    return true;
}

bool teclaValor(QLineEdit* caixa, const QString& texto)
{
    if (texto.isEmpty())
        return true;  // arrows, Home, End, function keys
    const QChar c = texto.front();
    switch (c.unicode()) {
    case '\b': case '\r': case '\n': case '\t': case 0x1b: case 0x7f:
        return true;  // Backspace, Enter, Tab, Escape, Delete keep their meaning
    default:
        break;
    }
    if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('*'))
        return true;
    const QString atual = caixa->text();
    if (c == QLatin1Char('.')) {
        if (!atual.contains(QLatin1Char(',')))
            caixa->insert(QStringLiteral(","));
        return false;
    }
    if (c == QLatin1Char(','))
        return !atual.contains(QLatin1Char(','));
    if (c == QLatin1Char('=') && atual.contains(QLatin1Char('*'))) {
        QString resultado;
        if (produtoValor(atual, resultado))
            caixa->setText(resultado);
        else
            platform::MsgBox(kConteudoInvalido, platform::vbCritical, QStringLiteral("Atenção,"));
    }
    return false;
}

} // namespace budget
