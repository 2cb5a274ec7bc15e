#include "import/LancamentosExtrato.h"

#include "data/Despesas.h"
#include "platform/conversions.h"
#include "platform/formats.h"

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

// The first entry of the account due on the line's date with its value:
// its number (0 for none), description and value.
struct Achado {
    std::int64_t numLan = 0;
    QString referente;
    data::Centavos valor = 0;
};

Achado procurarDuplicado(data::Connection& db, const LinhaConferida& c)
{
    data::Statement probe(db,
                          QStringLiteral("SELECT NumLan, Referente, Valor FROM Lancamentos"
                                         " WHERE DataVen = ? AND Valor = ? ORDER BY NumLan LIMIT 1"),
                          c.data, c.valor);
    Achado a;
    if (probe.next())
        a = {probe.integer(0), probe.text(1), probe.integer(2)};
    return a;
}

// The question about an entry of the same due date and value, naming it.
QString perguntaDuplicado(const LinhaGrade& linha, const LinhaConferida& c, const QString& referente,
                          data::Centavos valor)
{
    return QStringLiteral("Já existe um valor idêndico lançado nesta mesma data. Veja os dois lançamentos:") + kCR +
           QStringLiteral("Sistema: ") + referente + QStringLiteral(" R$ ") + data::formatMoney(valor) + kCR +
           QStringLiteral("Extrato: ") + linha.historico + QStringLiteral(" R$ ") + data::formatMoney(c.valor) + kCR +
           QStringLiteral("Deseja efetuar este lançamento?");
}

} // namespace

LinhaGrade linhaDaGrade(const LinhaExtrato& linha)
{
    return {platform::fmtDate(linha.data), linha.historico, data::formatMoney(linha.valor),
            linha.classificacao, linha.ordem, linha.conta};
}

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

    // Every question is asked before the transaction, so that no other
    // program waits on the file while the user reads. Each probe sees the
    // account and the lines of this statement kept before it, as posting
    // row by row would.
    std::vector<bool> postar(linhas.size(), false);
    std::vector<std::int64_t> achados(linhas.size(), 0);
    try {
        const std::int64_t versaoDasPerguntas = data::dataVersion(db);
        for (size_t i = 0; i < linhas.size(); ++i) {
            if (linhaIgnorada(linhas[i]))
                continue;
            const LinhaConferida& c = conferidas[i];
            const Achado achado = procurarDuplicado(db, c);
            achados[i] = achado.numLan;
            QString pergunta;
            if (achado.numLan != 0) {
                pergunta = perguntaDuplicado(linhas[i], c, achado.referente, achado.valor);
            } else {
                for (size_t j = 0; j < i && pergunta.isEmpty(); ++j)
                    if (postar[j] && conferidas[j].data == c.data && conferidas[j].valor == c.valor)
                        pergunta = perguntaDuplicado(linhas[i], c, linhas[j].historico, conferidas[j].valor);
            }
            postar[i] = pergunta.isEmpty() || (perguntar && perguntar(pergunta));
        }

        data::Transaction t(db);
        // What the answers were given on must still hold: the same entries
        // matched, the same classifications, the total still within reach.
        // Under the write lock no one else commits; when no one did since the
        // questions began, nothing they were answered on can have changed.
        bool mudou = !data::totalFitsWith(db, soma);
        if (!mudou && data::dataVersion(db) != versaoDasPerguntas) {
            const data::ClassificacoesPorNome planoAgora(db);
            for (size_t i = 0; i < linhas.size() && !mudou; ++i) {
                if (linhaIgnorada(linhas[i]))
                    continue;
                LinhaConferida agora;
                mudou = !conferir(planoAgora, linhas[i], agora).isEmpty() || agora.codigo != conferidas[i].codigo ||
                        procurarDuplicado(db, conferidas[i]).numLan != achados[i];
            }
        }
        if (mudou) {
            r.erro = QStringLiteral("O banco de dados foi alterado por outro programa enquanto as perguntas eram "
                                    "respondidas; o extrato não foi importado.") +
                     kCR + kNadaGravado + kCR + QStringLiteral("Importe o extrato novamente.");
            return r;
        }
        for (size_t i = 0; i < linhas.size(); ++i) {
            if (!postar[i])
                continue;
            const LinhaGrade& linha = linhas[i];
            const LinhaConferida& c = conferidas[i];
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
