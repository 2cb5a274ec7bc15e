#include "import/LancamentosExtrato.h"

#include "data/Despesas.h"
#include "platform/conversions.h"

namespace importacao {
namespace {

const QString kCR = QString(QChar(13));
const QString kNadaGravado = QStringLiteral("Nenhum lançamento foi gravado.");

struct LinhaConferida {
    QDate data;
    data::Centavos valor = 0;
    QString tipo;
    std::int64_t codigo = 0;
};

// The reason a line cannot be posted, or an empty text with the line's
// date, value, side and classification code filled in.
QString conferir(const data::ClassificacoesPorNome& plano, const LinhaGrade& linha, LinhaConferida& out)
{
    const QString nome = QStringLiteral("O lançamento ''") + linha.historico + QStringLiteral("'' ");
    out.data = platform::parseDate(linha.data);
    if (!out.data.isValid())
        return nome + QStringLiteral("tem data inválida: ''") + linha.data + QStringLiteral("''.");
    if (!data::parseMoney(linha.valor, out.valor))
        return nome + QStringLiteral("tem valor inválido: ''") + linha.valor + QStringLiteral("''.");
    out.tipo = tipoDaLinha(out.valor);
    const auto d = plano.find(linha.classificacao);
    if (!d || d->tipo != data::despesaTipoOf(out.tipo)) {
        const QString lado = out.tipo == data::kTipoEntrada ? QStringLiteral("Entrada") : QStringLiteral("Saída");
        return nome + QStringLiteral("tem a Classificação ''") + linha.classificacao +
               QStringLiteral("'', que não é do tipo ''") + lado + QStringLiteral("''.");
    }
    out.codigo = d->codigo;
    return QString();
}

// The question about an entry of the same due date and value, naming the
// first one found; empty when there is none.
QString perguntaDuplicado(data::Connection& db, const LinhaGrade& linha, const LinhaConferida& c)
{
    data::Statement probe(db,
                          QStringLiteral("SELECT Referente, Valor FROM Lancamentos"
                                         " WHERE DataVen = ? AND Valor = ? ORDER BY NumLan LIMIT 1"),
                          c.data, c.valor);
    if (!probe.next())
        return QString();
    return QStringLiteral("Já existe um valor idêndico lançado nesta mesma data. Veja os dois lançamentos:") + kCR +
           QStringLiteral("Sistema: ") + probe.text(0) + QStringLiteral(" R$ ") + data::formatMoney(probe.integer(1)) +
           kCR + QStringLiteral("Extrato: ") + linha.historico + QStringLiteral(" R$ ") + data::formatMoney(c.valor) +
           kCR + QStringLiteral("Deseja efetuar este lançamento?");
}

} // namespace

bool linhaIgnorada(const LinhaGrade& linha) { return linha.historico.size() <= 3; }

QString tipoDaLinha(data::Centavos valor) { return valor > 0 ? data::kTipoEntrada : data::kTipoSaida; }

ResultadoLancamento lancarLinhas(data::Connection& db, const std::vector<LinhaGrade>& linhas,
                                 const PerguntaDuplicado& perguntar)
{
    ResultadoLancamento r;
    // Every line is checked before the first question, so that a line that
    // could never be posted stops the posting before the user answers for
    // the others.
    std::vector<LinhaConferida> conferidas(linhas.size());
    const data::ClassificacoesPorNome plano(db);
    for (size_t i = 0; i < linhas.size(); ++i) {
        if (linhaIgnorada(linhas[i]))
            continue;
        const QString motivo = conferir(plano, linhas[i], conferidas[i]);
        if (!motivo.isEmpty()) {
            r.erro = motivo + kCR + kNadaGravado;
            return r;
        }
    }
    __int128 soma = 0;
    for (size_t i = 0; i < linhas.size(); ++i)
        if (!linhaIgnorada(linhas[i]))
            soma += conferidas[i].valor < 0 ? -__int128(conferidas[i].valor) : __int128(conferidas[i].valor);
    if (!data::totalFitsWith(db, soma)) {
        r.erro = QStringLiteral("Os valores do extrato, somados aos lançamentos da conta, passam do limite de "
                                "valores que a conta pode guardar; o extrato não foi importado.") +
                 kCR + kNadaGravado;
        return r;
    }

    try {
        data::Transaction t(db);
        for (size_t i = 0; i < linhas.size(); ++i) {
            const LinhaGrade& linha = linhas[i];
            if (linhaIgnorada(linha))
                continue;
            const LinhaConferida& c = conferidas[i];
            // The probe runs inside the transaction, so it also finds the
            // lines this posting has added before.
            const QString pergunta = perguntaDuplicado(db, linha, c);
            if (!pergunta.isEmpty() && (!perguntar || !perguntar(pergunta)))
                continue;
            data::Lancamento l;
            l.dataLan = c.data;
            l.dataVen = c.data;
            l.referente = linha.historico;
            l.valor = c.valor;
            l.tipo = c.tipo;
            l.despesa = QString::number(c.codigo);
            l.filtro = linha.ordem;
            l.conta = linha.conta;
            data::addLancamento(db, l);
            ++r.lancados;
            r.ultimaLinha = int(i);
        }
        t.commit();
    } catch (const data::DbError& e) {
        r = ResultadoLancamento{};
        r.erro = QStringLiteral("Não foi possível importar o extrato:") + kCR + e.userMessage() + kCR + kNadaGravado;
        return r;
    }
    r.gravado = true;
    QString ignoradas;
    for (const LinhaGrade& linha : linhas)
        if (linhaIgnorada(linha) && !(linha.data.isEmpty() && linha.valor.isEmpty()))
            ignoradas += kCR + linha.data + QStringLiteral("  ''") + linha.historico + QStringLiteral("''  R$ ") +
                         linha.valor;
    if (!ignoradas.isEmpty())
        r.aviso = QStringLiteral("Os lançamentos abaixo não foram lançados, pois o histórico tem três caracteres ou "
                                 "menos:") +
                  ignoradas + kCR + QStringLiteral("Lance-os pela tela de lançamentos, se forem movimentos reais.");
    return r;
}

} // namespace importacao
