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

QString digitos(__int128 v)
{
    if (v == 0)
        return QStringLiteral("0");
    QString s;
    while (v > 0) {
        s.prepend(QChar(char16_t(u'0' + int(v % 10))));
        v /= 10;
    }
    return s;
}

// A number written as the run time writes one: decimal comma, no thousands
// points, at most 15 significant digits, no trailing zeros ("540", "4,5").
QString escreverNumero(QString mantissa, int escala)
{
    if (mantissa.size() > 15) {
        const int cortar = int(mantissa.size()) - 15;
        const bool subir = mantissa[15].unicode() >= '5';
        mantissa.truncate(15);
        if (subir) {
            int i = int(mantissa.size()) - 1;
            while (i >= 0 && mantissa[i] == QLatin1Char('9')) {
                mantissa[i] = QLatin1Char('0');
                --i;
            }
            if (i < 0)
                mantissa.prepend(QLatin1Char('1'));
            else
                mantissa[i] = QChar(char16_t(mantissa[i].unicode() + 1));
        }
        mantissa += QString(cortar, QLatin1Char('0'));
    }
    while (mantissa.size() <= escala)
        mantissa.prepend(QLatin1Char('0'));
    QString inteira = mantissa.left(mantissa.size() - escala);
    QString fracao = mantissa.right(escala);
    while (fracao.endsWith(QLatin1Char('0')))
        fracao.chop(1);
    while (inteira.size() > 1 && inteira.startsWith(QLatin1Char('0')))
        inteira.remove(0, 1);
    return fracao.isEmpty() ? inteira : inteira + QLatin1Char(',') + fracao;
}

void igual(QLineEdit* caixa, EscritaProduto escrita)
{
    const QString atual = caixa->text();
    if (!atual.contains(QLatin1Char('*')))
        return;
    QString resultado;
    if (produtoValor(atual, escrita, resultado))
        caixa->setText(resultado);
    else
        platform::MsgBox(kConteudoInvalido, platform::vbCritical, app::kAtencao);
}

} // namespace

bool produtoValor(const QString& texto, EscritaProduto escrita, QString& resultado)
{
    const qsizetype estrela = texto.indexOf(QLatin1Char('*'));
    if (estrela < 0)
        return false;
    data::Decimal a, b;
    if (!lerNumero(texto.left(estrela), false, a) || !lerNumero(texto.mid(estrela + 1), false, b))
        return false;
    if (digitos(a.mantissa).size() + digitos(b.mantissa).size() > 36)
        return false;
    const data::Decimal p{a.mantissa * b.mantissa, a.scale + b.scale};
    if (escrita == EscritaProduto::Numero) {
        resultado = escreverNumero(digitos(p.mantissa), p.scale);
        return true;
    }
    data::Centavos c = 0;
    if (!parteInteiraNoLimite(p) || !data::toCentavos(p, c))
        return false;
    resultado = escreverNumero(digitos(c), 2);
    return true;
}

bool lerValor(const QString& texto, data::Centavos& out, bool pontosDeMilhar)
{
    data::Decimal d;
    if (!lerNumero(texto, pontosDeMilhar, d))
        return false;
    return data::toCentavos(d, out);
}

platform::NumberKeyFilter* instalarCaixaValor(QLineEdit* caixa, EscritaProduto escrita)
{
    platform::NumberKeyOptions opcoes;
    opcoes.repeated = QStringLiteral("*");
    opcoes.commaInWholeText = true;
    opcoes.allowCopy = false;
    opcoes.onEquals = [caixa, escrita] { igual(caixa, escrita); };
    return new platform::NumberKeyFilter(caixa, std::move(opcoes));
}

} // namespace app
