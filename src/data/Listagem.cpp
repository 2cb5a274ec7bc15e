#include "data/Listagem.h"

#include "data/Collation.h"
#include "data/Lancamentos.h"
#include "platform/Application.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <deque>
#include <limits>
#include <numeric>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>

namespace data {

namespace {

// A text that starts as "YYYY-MM-DD" does: the dashes where they belong.
bool formatoDeData(const QString& d)
{
    return d.size() >= 10 && d[4] == QLatin1Char('-') && d[7] == QLatin1Char('-');
}
} // namespace

QString ordemDaConsulta(QString& clausulaOrdem)
{
    if (clausulaOrdem.trimmed().isEmpty())
        clausulaOrdem = kOrdemPadrao;
    static const QRegularExpression valida(
        QStringLiteral("^\\s*order\\s+by\\s+(NumLan|DataVen|Referente|Valor|DataLan|Tipo|Despesa|Filtro|Conta)"
                       "(\\s+(asc|desc))?(\\s*,\\s*(NumLan|DataVen|Referente|Valor|DataLan|Tipo|Despesa|Filtro|Conta)"
                       "(\\s+(asc|desc))?)*\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    if (!valida.match(clausulaOrdem).hasMatch())
        return kOrdemPadrao;
    return clausulaOrdem;
}

QString ordemComDesempate(QString& clausulaOrdem)
{
    // The texts a reader reads are ordered as a reader expects; dates and
    // codes keep their own order. The clause holds column names only.
    static const QRegularExpression texto(QStringLiteral("\\b(Referente|Filtro|Conta)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString ordem = ordemDaConsulta(clausulaOrdem).trimmed();
    ordem.replace(texto, QStringLiteral("\\1") + kCollate);
    return QLatin1Char(' ') + ordem + QStringLiteral(", NumLan");
}

QLatin1StringView escreverNumLan(std::int64_t numLan, BufferNumero& buf)
{
    if (numLan < 0 || numLan > 999'999) {
        const QByteArray t = QByteArray::number(qint64(numLan)).rightJustified(6, '0');
        const int n = std::min(int(t.size()), int(sizeof buf));
        std::memcpy(buf, t.constData(), size_t(n));
        return QLatin1StringView(buf, n);
    }
    for (int i = 5; i >= 0; --i, numLan /= 10)
        buf[i] = char('0' + numLan % 10);
    return QLatin1StringView(buf, 6);
}

QString textoNumLan(std::int64_t numLan)
{
    BufferNumero buf;
    return QString(escreverNumLan(numLan, buf));
}

QString textoData(const QString& d)
{
    if (!formatoDeData(d))
        return QString();
    QString out(10, Qt::Uninitialized);
    QChar* o = out.data();
    o[0] = d[8];
    o[1] = d[9];
    o[2] = QLatin1Char('/');
    o[3] = d[5];
    o[4] = d[6];
    o[5] = QLatin1Char('/');
    o[6] = d[0];
    o[7] = d[1];
    o[8] = d[2];
    o[9] = d[3];
    return out;
}

namespace {
// "YYYY-MM-DD" as yyyymmdd; 0 for anything else.
int numeroDaData(const QString& d)
{
    if (!formatoDeData(d))
        return 0;
    int n = 0;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        const char16_t c = d[i].unicode();
        if (c >= u'0' && c <= u'9')
            n = n * 10 + (c - u'0');
        else if (d[i].isDigit())
            n = n * 10 + d[i].digitValue();
        else
            return 0;
    }
    return n;
}
} // namespace

namespace {
// Every listed text of the open account, each once; handle 0 is the missing
// text. A handle carries the table's generation in its top bits, so that a
// row kept past the account's close is caught when read, not shown with
// the next account's texts.
class TextosDaConta {
public:
    static constexpr int kBitsDoLugar = 28;
    static constexpr quint32 kLugar = (1U << kBitsDoLugar) - 1;

    static TextosDaConta& todos()
    {
        static TextosDaConta t;
        return t;
    }
    static quint32 lugar(quint32 id) { return id & kLugar; }

    const QString& texto(quint32 id) const
    {
        naLinhaDasJanelas();
        if (id == 0)
            return textos_.front();
        if ((id >> kBitsDoLugar) != geracao_ || lugar(id) >= textos_.size())
            qFatal("A listed row was read after its account closed.");
        return textos_[lugar(id)];
    }
    quint32 id(const QString& t)
    {
        naLinhaDasJanelas();
        if (t.isNull())
            return 0;
        const auto it = ids_.constFind(t);
        if (it != ids_.constEnd())
            return *it;
        if (textos_.size() > kLugar)
            qFatal("Too many distinct texts listed.");
        const quint32 id = (geracao_ << kBitsDoLugar) | quint32(textos_.size());
        textos_.push_back(t);  // a deque: the texts handed out stay where they are
        ids_.insert(t, id);
        return id;
    }
    size_t quantos() const { return textos_.size(); }
    void esvaziar()
    {
        naLinhaDasJanelas();
        std::deque<QString>(1).swap(textos_);
        QHash<QString, quint32>().swap(ids_);
        geracao_ = (geracao_ + 1) & (0xFFFFFFFFU >> kBitsDoLugar);
    }

private:
    // The table has no lock: a listing on another thread would race with
    // the windows' reads, so it stops the program at once instead.
    void naLinhaDasJanelas() const
    {
        if (std::this_thread::get_id() != dono_)
            qFatal("Listed texts are made and read on the windows' thread only.");
    }

    const std::thread::id dono_ = std::this_thread::get_id();
    quint32 geracao_ = 0;
    std::deque<QString> textos_{QString()};
    QHash<QString, quint32> ids_;  // its keys share the texts' data
};
} // namespace

TextoListado::TextoListado(const QString& texto) : id_(TextosDaConta::todos().id(texto)) {}

const QString& TextoListado::texto() const { return TextosDaConta::todos().texto(id_); }

void forgetListedTexts() { TextosDaConta::todos().esvaziar(); }

namespace {
// The texts of one long read by their bytes: the rows that repeat a
// description, a code or a letter are neither decoded nor looked up again.
class TextosDaLeitura {
public:
    TextoListado operator()(QByteArrayView b)
    {
        if (!b.data())
            return TextoListado();  // NULL, as Statement::text reads it
        const std::string_view chave(b.data(), size_t(b.size()));
        const auto it = textos_.find(chave);
        if (it != textos_.end())
            return it->second;
        const TextoListado t(QString::fromUtf8(b));
        // Past a point the texts are mostly one-offs: not worth keeping here.
        if (textos_.size() < kMaximo)
            textos_.emplace(chave, t);
        return t;
    }

private:
    // The library's hash of a text costs several times this one here, and
    // it runs three times a row.
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    static constexpr size_t kMaximo = 1 << 18;
    std::unordered_map<std::string, TextoListado, Hash, std::equal_to<>> textos_;
};

// The due and posting dates of a read: the date as yyyymmdd and its
// "DD/MM/YYYY" text.
class DatasDaLeitura {
public:
    void ler(QByteArrayView b, int& numero, TextoListado& texto)
    {
        const char* d = b.data();
        int n = 0;
        bool ascii = b.size() >= 10 && d[4] == '-' && d[7] == '-';
        for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
            if (!ascii)
                break;
            const char c = d[i];
            ascii = c >= '0' && c <= '9';
            n = n * 10 + (c - '0');
        }
        if (!ascii) {
            // Anything else is read as the row's own text says.
            const QString t = b.data() ? QString::fromUtf8(b) : QString();
            numero = numeroDaData(t);
            texto = textoData(t);
            return;
        }
        numero = n;
        if (n != ultimo_) {
            auto it = textos_.constFind(n);
            if (it == textos_.constEnd())
                it = textos_.insert(n, textoData(QString::fromLatin1(d, 10)));
            ultimo_ = n;
            ultimoTexto_ = *it;
        }
        texto = ultimoTexto_;
    }

private:
    QHash<int, TextoListado> textos_;
    int ultimo_ = -1;
    TextoListado ultimoTexto_;
};
} // namespace

std::vector<LinhaConsulta> lerLinhas(Statement& s, size_t previstas, platform::LongWork* espera)
{
    std::vector<LinhaConsulta> out;
    out.reserve(previstas);
    DatasDaLeitura datas;
    TextosDaLeitura textos;
    int dataLan = 0;
    while (s.next()) {
        if (espera)
            espera->step();
        LinhaConsulta& l = out.emplace_back();
        l.numLan = s.integer(0);
        datas.ler(s.bytes(1), l.vencimento, l.dataVen);
        l.referente = textos(s.bytes(2));
        l.valor = s.integer(3);
        datas.ler(s.bytes(4), dataLan, l.dataLan);
        l.despesa = textos(s.bytes(5));
        l.filtro = textos(s.bytes(6));
    }
    return out;
}

std::vector<LinhaConsulta> lerPeriodo(Connection& db, const QString& colunaData, const QDate& inicio,
                                      const QDate& fim, const QString& condicao, bool desempatePorDespesa)
{
    // The rows come in the table's order or the index's, and are put in the
    // reader's order here: ranking each distinct description once costs far
    // less than the engine's sort, which compares a pair of texts a step.
    platform::LongWork espera;
    const PlanoPeriodo plano = planoDoPeriodo(db, colunaData, inicio, fim);
    if (plano.linhas == 0)
        return {};
    const QString sql = QStringLiteral("SELECT ") + kColunasConsulta + QStringLiteral(" FROM Lancamentos WHERE ") +
                        plano.condicao + condicao;
    Statement s(db, sql, inicio, fim);
    std::vector<LinhaConsulta> linhas = lerLinhas(s, size_t(plano.linhas), &espera);
    ordenarPorVencimento(linhas, desempatePorDespesa);
    return linhas;
}

namespace {
// The engine's ascending order of a text column: NULL first, then the texts
// by the collation.
bool antesNaOrdem(const QString& a, const QString& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && !b.isNull();
    return compareText(a, b) < 0;
}

// Each row's description as its place among the distinct descriptions in
// the reader's order. The collator then compares each pair of distinct
// descriptions at most once or so, instead of each pair of rows that share
// a due date; equal places mean equal texts, since the order is total. A
// missing description (NULL) comes before every text, the empty one
// included, as the engine orders it.
std::vector<quint32> postosDasDescricoes(const std::vector<LinhaConsulta>& linhas)
{
    constexpr quint32 kNenhum = std::numeric_limits<quint32>::max();
    // Each row's group among the distinct descriptions: by the handle
    // itself, unless the account's texts far outnumber the rows.
    const size_t quantos = TextosDaConta::todos().quantos();
    const bool porTabela = quantos <= 8 * linhas.size() + 1024;
    std::vector<quint32> tabela(porTabela ? quantos : 0, kNenhum);
    std::unordered_map<quint32, quint32> mapa;
    std::vector<quint32> distintas;
    std::vector<quint32> grupoDaLinha(linhas.size());
    for (size_t i = 0; i < linhas.size(); ++i) {
        const quint32 id = linhas[i].referente.id();
        quint32* g = porTabela ? &tabela[TextosDaConta::lugar(id)] : &mapa.try_emplace(id, kNenhum).first->second;
        if (*g == kNenhum) {
            *g = quint32(distintas.size());
            distintas.push_back(id);
        }
        grupoDaLinha[i] = *g;
    }
    std::vector<quint32> ordem(distintas.size());
    std::iota(ordem.begin(), ordem.end(), 0U);
    const TextosDaConta& textos = TextosDaConta::todos();
    std::sort(ordem.begin(), ordem.end(), [&](quint32 a, quint32 b) {
        return antesNaOrdem(textos.texto(distintas[a]), textos.texto(distintas[b]));
    });
    std::vector<quint32> lugar(distintas.size());
    for (size_t k = 0; k < ordem.size(); ++k)
        lugar[ordem[k]] = quint32(k);
    for (quint32& g : grupoDaLinha)
        g = lugar[g];
    return grupoDaLinha;
}
} // namespace

void ordenarPorVencimento(std::vector<LinhaConsulta>& linhas, bool desempatePorDespesa)
{
    struct Chave {
        int vencimento;
        quint32 referente;
        std::int64_t numLan;
        quint32 linha;
    };
    const std::vector<quint32> postos = postosDasDescricoes(linhas);
    std::vector<Chave> chaves(linhas.size());
    for (size_t i = 0; i < linhas.size(); ++i)
        chaves[i] = {linhas[i].vencimento, postos[i], linhas[i].numLan, quint32(i)};
    std::sort(chaves.begin(), chaves.end(), [&linhas, desempatePorDespesa](const Chave& x, const Chave& y) {
        if (x.vencimento != y.vencimento)
            return x.vencimento < y.vencimento;
        if (x.referente != y.referente)
            return x.referente < y.referente;
        if (desempatePorDespesa) {
            const TextoListado a = linhas[x.linha].despesa;
            const TextoListado b = linhas[y.linha].despesa;
            if (a != b) {
                if (a.isNull() || b.isNull())
                    return a.isNull();
                if (const int c = a.texto().compare(b.texto()))
                    return c < 0;
            }
        }
        return x.numLan < y.numLan;
    });
    // The rows are put in place by following each cycle of the order: a
    // second copy of a long listing would cost as much again in memory.
    std::vector<quint32> origem(chaves.size());
    for (size_t i = 0; i < chaves.size(); ++i)
        origem[i] = chaves[i].linha;
    chaves = {};
    constexpr quint32 kFeito = std::numeric_limits<quint32>::max();
    for (size_t inicio = 0; inicio < origem.size(); ++inicio) {
        if (origem[inicio] == kFeito || origem[inicio] == inicio) {
            origem[inicio] = kFeito;
            continue;
        }
        const LinhaConsulta primeira = linhas[inicio];
        size_t j = inicio;
        while (origem[j] != inicio) {
            const size_t de = origem[j];
            linhas[j] = linhas[de];
            origem[j] = kFeito;
            j = de;
        }
        linhas[j] = primeira;
        origem[j] = kFeito;
    }
}

void Selecao::vencimentoEntre(const QDate& inicio, const QDate& fim)
{
    // The first period is the one weighed; its place lets lerSelecao write
    // it as the plan says.
    const QString periodo = condicaoDoPeriodo(QStringLiteral("DataVen"), false);
    const qsizetype onde = condicao.isEmpty() ? 0 : condicao.size() + 5;
    e(periodo, {inicio, fim});
    if (!vencimento) {
        vencimento = std::pair(inicio, fim);
        posicaoDoVencimento = onde;
    }
}

std::vector<LinhaConsulta> lerSelecao(Connection& db, const Selecao& selecao, const QString& ordem)
{
    QString condicao = selecao.condicao;
    bool ordenarAqui = false;
    if (selecao.vencimento) {
        // A long period is read in one pass over the table rather than a
        // page per row through the index; the reader's usual order is made
        // in memory, as lerPeriodo does.
        const PlanoPeriodo plano =
            planoDoPeriodo(db, QStringLiteral("DataVen"), selecao.vencimento->first, selecao.vencimento->second);
        if (plano.varrer && selecao.posicaoDoVencimento >= 0)
            condicao.replace(selecao.posicaoDoVencimento, condicaoDoPeriodo(QStringLiteral("DataVen"), false).size(),
                             plano.condicao);
        static const QString padrao = [] {
            QString o = kOrdemPadrao;
            return ordemComDesempate(o);
        }();
        ordenarAqui = ordem == padrao;
    }
    QString sql = QStringLiteral("SELECT ") + kColunasConsulta + QStringLiteral(" FROM Lancamentos");
    if (!condicao.isEmpty())
        sql += QStringLiteral(" WHERE ") + condicao;
    if (!ordenarAqui)
        sql += ordem;
    Statement s(db, sql);
    int i = 1;
    for (const QVariant& v : selecao.parametros)
        s.bind(i++, v);
    platform::LongWork espera;
    std::vector<LinhaConsulta> linhas = lerLinhas(s, 0, &espera);
    if (ordenarAqui)
        ordenarPorVencimento(linhas);
    return linhas;
}

} // namespace data
