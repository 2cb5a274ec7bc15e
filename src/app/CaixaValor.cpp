#include "app/CaixaValor.h"

#include "app/Textos.h"
#include "platform/MsgBox.h"

#include <QLineEdit>

namespace app {
namespace {

using data::kMaxDigitosInteiros;

__int128 potenciaDeDez(int n)
{
    __int128 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

bool parteInteiraNoLimite(const data::Decimal& d)
{
    return d.mantissa / potenciaDeDez(d.scale) < potenciaDeDez(kMaxDigitosInteiros);
}

// A number typed in a value box: digits with one optional decimal comma (and
// "." between thousands when allowed), no sign. "," alone, "1,5*" or "-3" are
// not numbers.
bool lerNumero(const QString& texto, bool pontosDeMilhar, data::Decimal& out)
{
    for (QChar c : texto)
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char(',') &&
            !(pontosDeMilhar && c == QLatin1Char('.')))
            return false;
    return data::parseDecimal(texto, out) && out.mantissa >= 0 && parteInteiraNoLimite(out);
}

// Centavos as a box holds an amount the user typed: decimal comma, no
// thousands points, no trailing zeros ("540", "4,5").
QString escreverValor(data::Centavos c)
{
    QString texto = data::formatMoneyPlain(c);
    while (texto.endsWith(QLatin1Char('0')))
        texto.chop(1);
    if (texto.endsWith(QLatin1Char(',')))
        texto.chop(1);
    return texto;
}

void igual(QLineEdit* caixa)
{
    const QString atual = caixa->text();
    if (!atual.contains(QLatin1Char('*')))
        return;
    QString resultado;
    if (produtoValor(atual, resultado))
        caixa->setText(resultado);
    else
        platform::MsgBox(kConteudoInvalido, platform::vbCritical, kAtencao);
}

} // namespace

bool produtoValor(const QString& texto, QString& resultado)
{
    const qsizetype estrela = texto.indexOf(QLatin1Char('*'));
    if (estrela < 0)
        return false;
    data::Decimal a, b;
    if (!lerNumero(texto.left(estrela), false, a) || !lerNumero(texto.mid(estrela + 1), false, b))
        return false;
    // Within 18 digits a side, the product still fits the 128 bits.
    if (a.mantissa >= potenciaDeDez(18) || b.mantissa >= potenciaDeDez(18))
        return false;
    const data::Decimal p{a.mantissa * b.mantissa, a.scale + b.scale};
    data::Centavos c = 0;
    if (!parteInteiraNoLimite(p) || !data::toCentavos(p, c))
        return false;
    resultado = escreverValor(c);
    return true;
}

bool lerValor(const QString& texto, data::Centavos& out, bool pontosDeMilhar)
{
    data::Decimal d;
    if (!lerNumero(texto, pontosDeMilhar, d))
        return false;
    return data::toCentavos(d, out);
}

platform::NumberKeyFilter* instalarCaixaValor(QLineEdit* caixa)
{
    platform::NumberKeyOptions opcoes;
    opcoes.repeated = QStringLiteral("*");
    opcoes.commaInWholeText = true;
    opcoes.allowCopy = false;
    opcoes.maxDecimals = 2;
    opcoes.onEquals = [caixa] { igual(caixa); };
    return new platform::NumberKeyFilter(caixa, std::move(opcoes));
}

} // namespace app
