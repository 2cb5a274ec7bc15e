#include "queries/GradeConsulta.h"

#include "app/Textos.h"
#include "data/Collation.h"
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "entries/AcoesLancamento.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/conversions.h"
#include "platform/formats.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>

namespace queries {

namespace {

const QString kCR = QString(QChar(13));

QString brancos(int n) { return QString(n, QLatin1Char(' ')); }

// A text that starts as "YYYY-MM-DD" does: the dashes where they belong.
bool formatoDeData(const QString& d)
{
    return d.size() >= 10 && d[4] == QLatin1Char('-') && d[7] == QLatin1Char('-');
}

} // namespace

const Colunas& colunasDe(LayoutGrade layout)
{
    static const Colunas a{.numLan = 0, .dataLan = 1, .dataVen = 2, .referente = 3, .valor = 4};
    static const Colunas b{.numLan = 0, .dataVen = 1, .filtro = 2, .classificacao = 3, .referente = 4, .valor = 5};
    static const Colunas c{.numLan = 0, .dataVen = 1, .classificacao = 2, .referente = 3, .valor = 4};
    switch (layout) {
    case LayoutGrade::A: return a;
    case LayoutGrade::B: return b;
    case LayoutGrade::C: break;
    }
    return c;
}

QString cabecalhoDe(LayoutGrade layout)
{
    switch (layout) {
    case LayoutGrade::A:
        return QStringLiteral("Núm. Lanc.|Lançamento") + brancos(1) + QStringLiteral("|Vencimento") + brancos(1) +
               QStringLiteral("|Referente") + brancos(90) + QStringLiteral("| Valor") + brancos(17);
    case LayoutGrade::B:
        return QStringLiteral("Núm.Lanc.|Vencimento") + brancos(1) + QStringLiteral("|Filtro|Classificação") +
               brancos(31) + QStringLiteral("|Referente") + brancos(95) + QStringLiteral("|Valor") + brancos(17);
    case LayoutGrade::C: break;
    }
    return QStringLiteral("Núm. Lanc.|Vencimento") + brancos(1) + QStringLiteral("|Classificação") + brancos(43) +
           QStringLiteral("|Referente") + brancos(82) + QStringLiteral("|Valor") + brancos(17);
}

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
    ordem.replace(texto, QStringLiteral("\\1") + data::kCollate);
    return QLatin1Char(' ') + ordem + QStringLiteral(", NumLan");
}

QLatin1StringView escreverValor(data::Centavos c, BufferNumero& buf)
{
    char* end = buf + sizeof buf;
    char* p = end;
    const bool negativo = c < 0;
    unsigned long long v = negativo ? 0ULL - static_cast<unsigned long long>(c) : static_cast<unsigned long long>(c);
    const unsigned cents = unsigned(v % 100);
    v /= 100;
    *--p = char('0' + cents % 10);
    *--p = char('0' + cents / 10);
    *--p = ',';
    int digitos = 0;
    do {
        if (digitos > 0 && digitos % 3 == 0)
            *--p = '.';
        *--p = char('0' + v % 10);
        v /= 10;
        ++digitos;
    } while (v > 0);
    if (negativo)
        *--p = '-';
    return QLatin1StringView(p, end - p);
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

QString textoValor(data::Centavos c)
{
    BufferNumero buf;
    return QString(escreverValor(c, buf));
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
// The texts of one long read, each distinct one decoded once: the rows that
// repeat a description, a code or a letter share its text, which saves an
// allocation a cell and lets the sort place equal texts by address.
class TextosDaLeitura {
public:
    QString operator()(QByteArrayView b)
    {
        if (!b.data())
            return QString();  // NULL, as Statement::text reads it
        const std::string_view chave(b.data(), size_t(b.size()));
        const auto it = textos_.find(chave);
        if (it != textos_.end())
            return it->second;
        QString t = QString::fromUtf8(b);
        // Past a point the texts are mostly one-offs: not worth keeping.
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
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> textos_;
};

// The due and posting dates of a read: the date as yyyymmdd and its shared
// "DD/MM/YYYY" text, one text per distinct day.
class DatasDaLeitura {
public:
    void ler(QByteArrayView b, int& numero, QString& texto)
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
    QHash<int, QString> textos_;
    int ultimo_ = -1;
    QString ultimoTexto_;
};
} // namespace

std::vector<LinhaConsulta> lerLinhas(data::Statement& s, size_t previstas)
{
    std::vector<LinhaConsulta> out;
    out.reserve(previstas);
    DatasDaLeitura datas;
    TextosDaLeitura textos;
    int dataLan = 0;
    while (s.next()) {
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

std::vector<LinhaConsulta> lerPeriodo(data::Connection& db, const QString& colunaData, const QDate& inicio,
                                      const QDate& fim, const QString& condicao, bool desempatePorDespesa)
{
    // The rows come in the table's order or the index's, and are put in the
    // reader's order here: ranking each distinct description once costs far
    // less than the engine's sort, which compares a pair of texts a step.
    const data::PlanoPeriodo plano = data::planoDoPeriodo(db, colunaData, inicio, fim);
    if (plano.linhas == 0)
        return {};
    const QString sql = QStringLiteral("SELECT ") + kColunasConsulta + QStringLiteral(" FROM Lancamentos WHERE ") +
                        plano.coluna + QStringLiteral(" BETWEEN ? AND ?") + condicao;
    data::Statement s(db, sql, inicio, fim);
    std::vector<LinhaConsulta> linhas = lerLinhas(s, size_t(plano.linhas));
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
    return data::compareText(a, b) < 0;
}

// Each row's description as its place among the distinct descriptions in
// the reader's order. The collator then compares each pair of distinct
// descriptions at most once or so, instead of each pair of rows that share
// a due date; equal places mean equal texts, since the order is total.
// Rows read together share their texts (lerLinhas), so most are placed by
// the text's address, and only a text not met before is hashed. A missing
// description (NULL) comes before every text, the empty one included, as
// the engine orders it.
std::vector<quint32> postosDasDescricoes(const std::vector<LinhaConsulta>& linhas)
{
    struct Grupo {
        quint32 id;
        qsizetype tamanho;
    };
    QHash<QString, quint32> grupos;
    QHash<const void*, Grupo> porEndereco;
    std::vector<const QString*> distintas;
    std::vector<quint32> posto(linhas.size());
    std::optional<quint32> nulo;
    for (size_t i = 0; i < linhas.size(); ++i) {
        const QString& r = linhas[i].referente;
        // QString takes a null text as equal to "": it gets a place of its own.
        if (r.isNull()) {
            if (!nulo) {
                nulo = quint32(distintas.size());
                distintas.push_back(&r);
            }
            posto[i] = *nulo;
            continue;
        }
        const auto e = porEndereco.constFind(r.constData());
        if (e != porEndereco.constEnd() && e->tamanho == r.size()) {
            posto[i] = e->id;
            continue;
        }
        auto it = grupos.constFind(r);
        if (it == grupos.constEnd()) {
            it = grupos.insert(r, quint32(distintas.size()));
            distintas.push_back(&r);
        }
        porEndereco.insert(r.constData(), {*it, r.size()});
        posto[i] = *it;
    }
    std::vector<quint32> ordem(distintas.size());
    std::iota(ordem.begin(), ordem.end(), 0U);
    std::sort(ordem.begin(), ordem.end(), [&distintas](quint32 a, quint32 b) {
        return antesNaOrdem(*distintas[a], *distintas[b]);
    });
    std::vector<quint32> lugar(distintas.size());
    for (size_t k = 0; k < ordem.size(); ++k)
        lugar[ordem[k]] = quint32(k);
    for (quint32& p : posto)
        p = lugar[p];
    return posto;
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
            const QString& a = linhas[x.linha].despesa;
            const QString& b = linhas[y.linha].despesa;
            if (a.isNull() != b.isNull())
                return a.isNull();
            if (const int c = a.compare(b))
                return c < 0;
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
        LinhaConsulta primeira = std::move(linhas[inicio]);
        size_t j = inicio;
        while (origem[j] != inicio) {
            const size_t de = origem[j];
            linhas[j] = std::move(linhas[de]);
            origem[j] = kFeito;
            j = de;
        }
        linhas[j] = std::move(primeira);
        origem[j] = kFeito;
    }
}

int contarMeses(const std::vector<LinhaConsulta>& linhas)
{
    int n = 0;
    for (size_t i = 0; i < linhas.size(); ++i)
        if (i == 0 || linhas[i].anoMes() != linhas[i - 1].anoMes())
            ++n;
    return n;
}

bool moverMes(platform::MaskEdBox& caixa, int key)
{
    if (key != Qt::Key_PageUp && key != Qt::Key_PageDown)
        return false;
    caixa.stepDate(key == Qt::Key_PageUp ? 1 : -1);
    return true;
}

std::vector<LinhaConsulta> lerSelecao(data::Connection& db, const Selecao& selecao, const QString& ordem)
{
    QString condicao = selecao.condicao;
    bool ordenarAqui = false;
    if (selecao.vencimento) {
        // A long period is read in one pass over the table rather than a
        // page per row through the index; the reader's usual order is made
        // in memory, as lerPeriodo does.
        const data::PlanoPeriodo plano =
            data::planoDoPeriodo(db, QStringLiteral("DataVen"), selecao.vencimento->first, selecao.vencimento->second);
        const qsizetype onde = condicao.indexOf(Selecao::kCondicaoVencimento);
        if (plano.varrer && onde >= 0)
            condicao.replace(onde, Selecao::kCondicaoVencimento.size(),
                             QStringLiteral("+DataVen >= ? AND +DataVen <= ?"));
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
    data::Statement s(db, sql);
    int i = 1;
    for (const QVariant& v : selecao.parametros)
        s.bind(i++, v);
    std::vector<LinhaConsulta> linhas = lerLinhas(s);
    if (ordenarAqui)
        ordenarPorVencimento(linhas);
    return linhas;
}

Selecao selecaoPorHistorico(ModoHistorico modo, const QString& texto, const QDate& inicio, const QDate& fim,
                            const QString& letra)
{
    Selecao s;
    if (inicio.isValid() && fim.isValid())
        s.vencimentoEntre(inicio, fim);
    QString padrao = texto;
    if (modo == ModoHistorico::Contenha)
        padrao = QLatin1Char('%') + texto + QLatin1Char('%');
    else if (modo == ModoHistorico::ComeceCom)
        padrao = texto + QLatin1Char('%');
    s.e(QStringLiteral("Referente LIKE ?"), {padrao});
    if (!letra.isEmpty())
        s.e(QStringLiteral("Filtro LIKE ?"), {letra});
    return s;
}

QString textoContagem(qsizetype n) { return QString::number(n) + QStringLiteral(" Lançamento(s)"); }

GradeConsulta::GradeConsulta(platform::FlexGrid& grid, QLabel* txtLanc, QLabel* txtSaldo2,
                             Comportamento comportamento, std::function<void()> consultar,
                             data::Centavos* somaCorrente,
                             QObject* parent)
    : QObject(parent),
      grid_(grid),
      txtLanc_(txtLanc),
      txtSaldo2_(txtSaldo2),
      comportamento_(comportamento),
      consultar_(std::move(consultar)),
      somaCorrente_(somaCorrente)
{
}

void GradeConsulta::limpar()
{
    linhas_.clear();
    grid_.setRows(1);
    grid_.Clear();
    // The title's blanks leave the number, date and value columns narrower
    // than what they show in some fonts: the value column holds the largest
    // amount an entry holds (13 integer digits, sign and separators), in
    // bold in the month subtotals.
    const Colunas& c = colunas();
    QStringList maiores;
    for (int i = 0; i <= c.valor; ++i)
        maiores << QString();
    maiores[c.numLan] = QStringLiteral("000000");
    maiores[c.dataVen] = platform::kWidestDate;
    if (c.dataLan >= 0)
        maiores[c.dataLan] = platform::kWidestDate;
    maiores[c.valor] = platform::kWidestAmount;
    grid_.FormatString(cabecalhoDe(comportamento_.layout), maiores);
    // A narrow window shortens the description, never the value.
    grid_.setGivingWayCol(c.referente);
}

void GradeConsulta::escreverLinha(int row, const LinhaConsulta& l)
{
    const Colunas& c = colunas();
    BufferNumero buf;
    grid_.setTextMatrix(row, c.numLan, escreverNumLan(l.numLan, buf));
    if (c.dataLan >= 0)
        grid_.setTextMatrix(row, c.dataLan, l.dataLan);
    grid_.setTextMatrix(row, c.dataVen, l.dataVen);
    if (c.filtro >= 0)
        grid_.setTextMatrix(row, c.filtro, l.filtro);
    if (c.classificacao >= 0) {
        bool ok = false;
        const std::int64_t codigo = l.despesa.toLongLong(&ok);
        if (ok) {
            const auto it = nomes_.constFind(codigo);
            if (it != nomes_.constEnd())
                grid_.setTextMatrix(row, c.classificacao, *it);
        }
    }
    grid_.setTextMatrix(row, c.referente, l.referente);
    grid_.setTextMatrix(row, c.valor, escreverValor(l.valor, buf));
}

void GradeConsulta::preencher(const std::vector<LinhaConsulta>& linhas)
{
    limpar();
    const int n = int(linhas.size());
    grid_.setRows(n + 1);
    linhas_.reserve(size_t(n));
    const int colRef = colunas().referente;
    total_ = 0;
    for (int i = 0; i < n; ++i) {
        const int row = i + 1;
        const LinhaConsulta& l = linhas[size_t(i)];
        escreverLinha(row, l);
        linhas_.push_back({l.numLan, l.valor, false, 0});
        total_ = data::addMoney(total_, l.valor);
        grid_.setAlternateRowColor(row);
        if (comportamento_.previsaoAzul && data::isForecast(l.referente))
            grid_.setCellForeColor(row, colRef, kCorPrevisao);
    }
    if (txtLanc_)
        txtLanc_->setText(n == 0 && comportamento_.contagemVaziaEmBranco ? QString() : textoContagem(n));
    grid_.setEnabled(n > 0 || comportamento_.gradeSempreHabilitada);
    if (txtSaldo2_)
        txtSaldo2_->setText(textoValor(total_));
    rolarParaUltima(comportamento_.rolarAcimaDe);
}

void GradeConsulta::escreverSubtotal(int row, int anoMes, data::Centavos soma, bool vermelho)
{
    linhas_.push_back({0, soma, true, 0});
    const Colunas& c = colunas();
    const int mes = anoMes % 100;
    const int ano = anoMes / 100;
    const QString rotulo = platform::capitalizeFirst(platform::monthName(mes)) + QLatin1Char('/') +
                           QString::number(ano % 100).rightJustified(2, QLatin1Char('0'));
    grid_.setTextMatrix(row, c.referente, rotulo);
    grid_.setTextMatrix(row, c.valor, textoValor(soma));
    for (int col = 0; col < grid_.Cols(); ++col) {
        grid_.setCellBackColor(row, col, kCorLinhaPar);
        grid_.setCellBold(row, col, true);
    }
    if (vermelho)
        grid_.setCellForeColor(row, c.valor, kCorMarcada);
}

void GradeConsulta::preencherComSubtotais(const std::vector<LinhaConsulta>& linhas)
{
    limpar();
    const int n = int(linhas.size());
    const int meses = contarMeses(linhas);
    grid_.setRows(n + meses + 1);
    linhas_.reserve(size_t(n + meses));
    total_ = 0;
    data::Centavos somaMes = 0;
    int row = 0;
    for (int i = 0; i < n; ++i) {
        const LinhaConsulta& l = linhas[size_t(i)];
        if (i > 0 && l.anoMes() != linhas[size_t(i) - 1].anoMes()) {
            ++row;
            escreverSubtotal(row, linhas[size_t(i) - 1].anoMes(), somaMes,
                             comportamento_.subtotalNegativoVermelho && somaMes < 0);
            somaMes = 0;
        }
        ++row;
        escreverLinha(row, l);
        linhas_.push_back({l.numLan, l.valor, false, 0});
        somaMes = data::addMoney(somaMes, l.valor);
        total_ = data::addMoney(total_, l.valor);
    }
    grid_.setEnabled(n > 0 || comportamento_.gradeSempreHabilitada);
    // Nothing found: the header alone, and the total of the last list stays.
    if (n == 0)
        return;
    escreverSubtotal(row + 1, linhas.back().anoMes(), somaMes, false);
    rolarParaUltima(comportamento_.rolarSubtotalAcimaDe);
    if (txtSaldo2_)
        txtSaldo2_->setText(textoValor(total_));
}

void GradeConsulta::rolarParaUltima(int acimaDe)
{
    if (acimaDe > 0 && grid_.Rows() > acimaDe)
        grid_.setTopRow(grid_.Rows() - 1);
}

const GradeConsulta::LinhaDaGrade* GradeConsulta::linhaDaGrade(int row) const
{
    if (row < 1 || row > int(linhas_.size()) || row >= grid_.Rows())
        return nullptr;
    return &linhas_[size_t(row) - 1];
}

std::int64_t GradeConsulta::numLanDaLinha(int row) const
{
    const LinhaDaGrade* l = linhaDaGrade(row);
    return l && l->numLan > 0 ? l->numLan : 0;
}

std::optional<data::Centavos> GradeConsulta::valorDaLinha(int row) const
{
    const LinhaDaGrade* l = linhaDaGrade(row);
    if (!l)
        return std::nullopt;
    return l->valor;
}

bool GradeConsulta::marcada(int row, int col) const
{
    const LinhaDaGrade* l = linhaDaGrade(row);
    return l && col >= 0 && col < 32 && (l->marcas >> col & 1U);
}

void GradeConsulta::abrirLancamento()
{
    const int linha = grid_.Row();
    const std::int64_t n = numLanDaLinha(linha);
    if (n == 0)
        return;
    entries::abrirNoEditor(n);
    voltarAoLancamento(n, linha);
}

void GradeConsulta::voltarAoLancamento(std::int64_t numLan, int linha)
{
    int alvo = -1;
    for (int row = 1; row < grid_.Rows() && alvo < 0; ++row)
        if (numLanDaLinha(row) == numLan)
            alvo = row;
    if (alvo < 0)
        alvo = std::min(linha, grid_.Rows() - 1);
    if (alvo < 1)
        return;
    grid_.setRow(alvo);
    const int topo = grid_.TopRow();
    const int visiveis = std::max(1, grid_.fullyVisibleRowCount());
    if (alvo < topo)
        grid_.setTopRow(alvo);
    else if (alvo >= topo + visiveis)
        grid_.setTopRow(alvo - visiveis + 1);
}

void GradeConsulta::apagarLancamento()
{
    if (entries::excluirComPergunta(numLanDaLinha(grid_.Row())) && consultar_)
        consultar_();
}

void GradeConsulta::apagarTodos()
{
    const int resposta =
        platform::MsgBox(QStringLiteral("Todos os lançamentos desta consulta serão excluidos!") + kCR +
                             QStringLiteral("Deseja Continuar?"),
                         platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2, app::kAtencao);
    if (resposta == platform::vbYes) {
        // One transaction: the listed entries go all together or, when the
        // file fails midway, none of them.
        data::Transaction t(ConexaoBanco);
        for (int row = 1; row < grid_.Rows(); ++row)
            if (const std::int64_t n = numLanDaLinha(row))
                data::deleteLancamento(ConexaoBanco, n);
        t.commit();
    }
    if (consultar_)
        consultar_();
}

void GradeConsulta::mostrarDiaSemana()
{
    const int col = colunas().dataVen;
    const QString texto = grid_.TextMatrix(grid_.Row(), col);
    const QDate data = platform::parseDate(texto);
    if (!data.isValid())
        return;
    platform::MsgBox(texto + kCR + platform::formatDate(data, QStringLiteral("dddd")), platform::vbInformation,
                     QStringLiteral("Dia da Semana"));
}

void GradeConsulta::botaoPressionado(int button)
{
    if (button == Qt::RightButton && comportamento_.diaDaSemana)
        mostrarDiaSemana();
}

bool GradeConsulta::teclaPressionada(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Delete && comportamento_.teclaDelete) {
        apagarLancamento();
        return true;
    }
    if (key == Qt::Key_Plus && (event->modifiers() & Qt::KeypadModifier)) {
        if (comportamento_.mais == TeclaMais::SomaValor) {
            somarValorDaLinha();
            return true;
        }
        if (comportamento_.mais == TeclaMais::Marca) {
            marcarCelula();
            return true;
        }
        return false;
    }
    if (key == Qt::Key_Insert && comportamento_.teclaInsert) {
        somarValorDigitado();
        return true;
    }
    if (comportamento_.teclaSoma != 0 && key == comportamento_.teclaSoma) {
        mostrarSoma();
        return true;
    }
    return false;
}

void GradeConsulta::somarValorDaLinha()
{
    const std::optional<data::Centavos> valor = valorDaLinha(grid_.Row());
    if (somaCorrente_ && valor)
        *somaCorrente_ = data::addMoney(*somaCorrente_, -*valor);
}

void GradeConsulta::marcarCelula()
{
    const int row = grid_.Row();
    const int col = grid_.Col();
    if (!linhaDaGrade(row) || col < 0 || col >= 32)
        return;
    quint32& marcas = linhas_[size_t(row) - 1].marcas;
    marcas ^= 1U << col;
    const bool marcou = marcas >> col & 1U;
    grid_.setCellForeColor(row, col, marcou ? kCorMarcada : kCorTexto);
    grid_.setCellBold(row, col, marcou);
}

void GradeConsulta::somarValorDigitado()
{
    const QString resposta = platform::InputBox(QStringLiteral("Digite o valor:"), QStringLiteral("Soma"));
    data::Centavos valor = 0;
    // An empty, cancelled or non-numeric answer adds nothing.
    if (somaCorrente_ && data::parseMoney(resposta.trimmed(), valor))
        *somaCorrente_ = data::addMoney(*somaCorrente_, valor);
}

void GradeConsulta::mostrarSoma()
{
    if (!somaCorrente_)
        return;
    if (comportamento_.mais == TeclaMais::Marca) {
        const int col = colunas().valor;
        for (int row = 1; row < grid_.Rows(); ++row) {
            grid_.setRow(row);
            grid_.setCol(col);
            if (marcada(row, col))
                *somaCorrente_ = data::addMoney(*somaCorrente_, -linhas_[size_t(row) - 1].valor);
        }
    }
    platform::MsgBox(data::formatMoney(*somaCorrente_), platform::vbInformation, QStringLiteral("Total"));
    *somaCorrente_ = 0;
}

} // namespace queries
