#include "import/Extrato.h"

#include "platform/Drives.h"
#include "platform/delimited.h"
#include "platform/sheets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

namespace importacao {

namespace {

const QString kPlan1 = QStringLiteral("Plan1");

// A statement date held as text: day first, "DD/MM/YYYY" or "DD/MM/YY"
// (two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999), blanks around
// allowed, and a time of day after it ("05/12/2026 13:45:00") read as the
// date alone, as a date cell with a time is. Anything else is no date.
QDate dataDoTexto(const QString& text)
{
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})(?:\\s+\\d{1,2}:\\d{2}(?::\\d{2}(?:[.,]\\d+)?)?)?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return QDate();
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += year < 30 ? 2000 : 1900;
    return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
}

// A date cell of a spreadsheet: a date, a date with a time of day, a serial
// day number, or a date written as text.
QDate dataDaCelula(const QVariant& cell)
{
    switch (cell.typeId()) {
    case QMetaType::QDate:
        return cell.toDate();
    case QMetaType::QDateTime:
        return cell.toDateTime().date();
    case QMetaType::Double: {
        const double serial = cell.toDouble();
        if (serial < 1 || serial > 2958465)
            return QDate();
        const qint64 whole = qint64(serial);
        return whole < 60 ? QDate(1899, 12, 31).addDays(whole) : QDate(1899, 12, 30).addDays(whole);
    }
    case QMetaType::QString:
        return dataDoTexto(cell.toString());
    default:
        return QDate();
    }
}

// An amount cell: a number as it stands (rounded to the centavo), or a text
// read with the Brazilian convention.
bool valorDaCelula(const QVariant& cell, data::Centavos& out)
{
    if (cell.typeId() == QMetaType::Double)
        return data::toCentavos(cell.toDouble(), out);
    if (platform::cellEmpty(cell))
        return false;
    return data::parseMoney(platform::cellText(cell).trimmed(), out);
}

// IsNumeric of the spreadsheet driver: a number, or a text that reads as one.
bool celulaNumerica(const QVariant& cell)
{
    if (cell.typeId() == QMetaType::Double)
        return true;
    if (cell.typeId() != QMetaType::QString)
        return false;
    data::Decimal d;
    return data::parseDecimal(cell.toString().trimmed(), d);
}

// A history as the grid shows and the entry stores it: the control
// characters a file may carry (a NUL would cut the text short where it is
// shown) are dropped, and a tab becomes a blank.
QString historicoLimpo(QString texto)
{
    qsizetype para = 0;
    for (qsizetype de = 0; de < texto.size(); ++de) {
        const QChar c = texto.at(de);
        if (c == QLatin1Char('\t'))
            texto[para++] = QLatin1Char(' ');
        else if (c.unicode() >= 0x20)
            texto[para++] = c;
    }
    texto.truncate(para);
    return texto;
}

// The folder of a statement path as the user wrote it ("C:\Extratos" for
// "C:\Extratos\ext.txt"), to name it in messages.
QString pastaMostrada(const QString& arquivo)
{
    const qsizetype barra = std::max(arquivo.lastIndexOf(QLatin1Char('\\')), arquivo.lastIndexOf(QLatin1Char('/')));
    return barra < 0 ? arquivo : arquivo.left(barra);
}

LeituraExtrato& falha(LeituraExtrato& r, const QString& mensagem)
{
    r.erro = mensagem;
    return r;
}

QString emLinha(int linha, const QString& texto)
{
    return QStringLiteral("Linha %1: %2").arg(linha).arg(texto);
}

QString valorInvalido(const QString& texto)
{
    return QStringLiteral("valor ''%1'' inválido.").arg(texto);
}

QString dataInvalida(const QString& texto)
{
    return QStringLiteral("data ''%1'' inválida.").arg(texto);
}

const QString kHistoricoVazio = QStringLiteral("histórico vazio.");

// The column a layout needs; the bank spells some names with a trailing
// blank, so a name matching without its blanks is accepted too.
template <typename Table>
int colunaObrigatoria(const Table& table, const QString& nome, QString& erro)
{
    int c = table.column(nome);
    for (int i = 0; c < 0 && i < table.columns.size(); ++i)
        if (table.columns.at(i).trimmed().compare(nome.trimmed(), Qt::CaseInsensitive) == 0)
            c = i;
    if (c < 0)
        erro = QStringLiteral("O extrato não tem a coluna ''%1''.").arg(nome.trimmed());
    return c;
}

LeituraExtrato lerPlanilha(const QString& path)
{
    LeituraExtrato r;
    platform::Worksheet sheet;
    if (!platform::readWorksheet(path, kPlan1, sheet, r.erro))
        return r;
    const platform::SheetTable table = platform::tableWithHeader(sheet, 0);
    const int cData = colunaObrigatoria(table, QStringLiteral("Data"), r.erro);
    const int cRef = cData < 0 ? -1 : colunaObrigatoria(table, QStringLiteral("Referente"), r.erro);
    const int cValor = cRef < 0 ? -1 : colunaObrigatoria(table, QStringLiteral("Valor"), r.erro);
    if (cValor < 0)
        return r;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const platform::SheetRow& row = table.rows[i];
        const int linha = table.sourceRows[i] + 1;
        if (platform::cellEmpty(row[cData]))
            continue;
        LinhaExtrato l;
        l.data = dataDaCelula(row[cData]);
        // A text that is no date (a formula's "-" or "abc", a note) leaves
        // the row without a date, as an empty cell does: the sheet shows no
        // movement there.
        if (!l.data.isValid() && row[cData].typeId() == QMetaType::QString)
            continue;
        if (!l.data.isValid())
            return falha(r, emLinha(linha, dataInvalida(platform::cellText(row[cData]))));
        if (platform::cellEmpty(row[cRef]))
            return falha(r, emLinha(linha, kHistoricoVazio));
        l.historico = historicoLimpo(platform::cellText(row[cRef]));
        if (!valorDaCelula(row[cValor], l.valor))
            return falha(r, emLinha(linha, valorInvalido(platform::cellText(row[cValor]))));
        r.linhas.push_back(l);
    }
    return r;
}

LeituraExtrato lerSantander(const QString& path)
{
    LeituraExtrato r;
    platform::Worksheet sheet;
    if (!platform::readWorksheet(path, kPlan1, sheet, r.erro))
        return r;
    // The title block fills rows 1 to 5; the column names are in row 6, A to G.
    const platform::SheetTable table = platform::tableWithHeader(sheet, 5, 0, 6);
    int c[6];
    const QString nomes[6] = {QStringLiteral("Data"),          QStringLiteral("Descrição "),
                              QStringLiteral("Docto "),        QStringLiteral("Crédito (R$) "),
                              QStringLiteral("Débito (R$) "), QStringLiteral("Saldo (R$) ")};
    for (int i = 0; i < 6; ++i)
        if ((c[i] = colunaObrigatoria(table, nomes[i], r.erro)) < 0)
            return r;
    const int cData = c[0], cDesc = c[1], cDocto = c[2], cCred = c[3], cDeb = c[4], cSaldo = c[5];
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const platform::SheetRow& row = table.rows[i];
        const int linha = table.sourceRows[i] + 1;
        if (!celulaNumerica(row[cDocto]) || platform::cellText(row[cSaldo]).isEmpty())
            continue;
        // A documented movement without a description cannot be told from
        // anything else: the read stops there rather than drop it unseen.
        if (platform::cellEmpty(row[cDesc]))
            return falha(r, emLinha(linha, kHistoricoVazio));
        const QString historico = platform::cellText(row[cDesc]);
        if (historico.contains(QLatin1String("TOTAL"), Qt::CaseInsensitive)
            || historico.contains(QLatin1String("SALDO ANTERIOR"), Qt::CaseInsensitive))
            continue;
        LinhaExtrato l;
        l.historico = historicoLimpo(historico);
        l.data = dataDaCelula(row[cData]);
        if (!l.data.isValid())
            return falha(r, emLinha(linha, dataInvalida(platform::cellText(row[cData]))));
        // One of credit and debit is empty; the amount is what the other holds.
        const QString valor = platform::cellText(row[cCred]).trimmed() + platform::cellText(row[cDeb]).trimmed();
        if (!data::parseMoney(valor, l.valor))
            return falha(r, emLinha(linha, valorInvalido(valor)));
        r.linhas.push_back(l);
    }
    return r;
}

LeituraExtrato lerBradesco(const QString& path)
{
    LeituraExtrato r;
    QStringList linhas;
    if (!platform::readTextLines(path, linhas, r.erro))
        return r;
    for (int i = 0; i < linhas.size(); ++i) {
        const QString& texto = linhas.at(i);
        const QDate data = dataDoTexto(texto.left(10));
        if (!data.isValid() || texto.contains(QLatin1String("SALDO"), Qt::CaseInsensitive))
            continue;
        LinhaExtrato l;
        l.data = data;
        l.historico = historicoLimpo(texto.mid(24, 24)).trimmed();
        // Credit in characters 74-98, debit (with its "-") in 99-122.
        const QString valor = texto.mid(73, 25).trimmed() + texto.mid(98, 24).trimmed();
        if (!data::parseMoney(valor, l.valor))
            return falha(r, emLinha(i + 1, valorInvalido(valor)));
        r.linhas.push_back(l);
    }
    return r;
}

bool lerDelimitado(LayoutExtrato layout, const QString& path, const QString& arquivo, platform::DelimitedTable& table,
                   QString& erro)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        erro = platform::openFailedMessage(path);
        return false;
    }
    if (!platform::writeSchemaIni(info.absolutePath(), linhasSchemaIni(layout, info.fileName()), pastaMostrada(arquivo),
                                  erro))
        return false;
    return platform::readDelimited(path, true, table, erro);
}

// How a ";"-delimited layout names its three columns, the number of its
// first line of entries, and how a date and an amount of it read.
struct ColunasDelimitadas {
    QString data, historico, valor;
    int primeiraLinha;
    QDate (*lerData)(const QString&);
    bool (*lerValor)(const QString&, data::Centavos&);
};

LeituraExtrato lerColunas(LayoutExtrato layout, const QString& path, const QString& arquivo,
                          const ColunasDelimitadas& colunas)
{
    LeituraExtrato r;
    platform::DelimitedTable table;
    if (!lerDelimitado(layout, path, arquivo, table, r.erro))
        return r;
    const int cData = colunaObrigatoria(table, colunas.data, r.erro);
    const int cHist = cData < 0 ? -1 : colunaObrigatoria(table, colunas.historico, r.erro);
    const int cValor = cHist < 0 ? -1 : colunaObrigatoria(table, colunas.valor, r.erro);
    if (cValor < 0)
        return r;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const QStringList& row = table.rows[i];
        const int linha = int(i) + colunas.primeiraLinha;
        LinhaExtrato l;
        l.data = colunas.lerData(row.at(cData));
        if (!l.data.isValid())
            return falha(r, emLinha(linha, dataInvalida(row.at(cData))));
        if (row.at(cHist).isEmpty())
            return falha(r, emLinha(linha, kHistoricoVazio));
        l.historico = historicoLimpo(row.at(cHist));
        if (!colunas.lerValor(row.at(cValor), l.valor))
            return falha(r, emLinha(linha, valorInvalido(row.at(cValor))));
        r.linhas.push_back(l);
    }
    return r;
}

LeituraExtrato lerItau(const QString& path, const QString& arquivo)
{
    return lerColunas(LayoutExtrato::Itau, path, arquivo,
                      {QStringLiteral("Data"), QStringLiteral("Referente"), QStringLiteral("Valor"), 1, dataDoTexto,
                       [](const QString& valor, data::Centavos& c) { return data::parseMoney(valor.trimmed(), c); }});
}

// "20240105" is the fifth of January.
QDate dataDoCaixa(const QString& texto)
{
    static const QRegularExpression oitoDigitos(QStringLiteral("^\\d{8}$"));
    const QString dataMov = texto.trimmed();
    if (!oitoDigitos.match(dataMov).hasMatch())
        return QDate();
    return QDate(dataMov.left(4).toInt(), dataMov.mid(4, 2).toInt(), dataMov.mid(6, 2).toInt());
}

// The bank writes 500.00 for five hundred reais: every digit counts, the
// last two being the centavos.
bool valorDoCaixa(const QString& texto, data::Centavos& c)
{
    QString valor = texto.trimmed();
    valor.remove(QLatin1Char('.'));
    data::Decimal d;
    if (!data::parseDecimal(valor, d))
        return false;
    d.scale += 2;
    return data::toCentavos(d, c);
}

LeituraExtrato lerCaixa(const QString& path, const QString& arquivo)
{
    // The first line holds the column names.
    return lerColunas(LayoutExtrato::Caixa, path, arquivo,
                      {QStringLiteral("Data_Mov"), QStringLiteral("Historico"), QStringLiteral("Valor"), 2,
                       dataDoCaixa, valorDoCaixa});
}

} // namespace

namespace {
// Each layout's name in the layout list. A switch, not a table: a layout
// added to the enum without its name here does not compile (switch
// warnings are errors), nor does one left out of the reading switches below.
constexpr const char* nomeUtf8(LayoutExtrato layout)
{
    switch (layout) {
    case LayoutExtrato::Bradesco: return "BRADESCO";
    case LayoutExtrato::Caixa: return "CAIXA";
    case LayoutExtrato::Itau: return "ITAÚ";
    case LayoutExtrato::Santander: return "SANTANDER";
    case LayoutExtrato::Planilha: return "PLANILHA";
    }
    return nullptr;
}

// The layouts run from 0 without a gap; the first value without a name
// is past the last.
constexpr int contarLayouts()
{
    int n = 0;
    while (nomeUtf8(LayoutExtrato(n)))
        ++n;
    return n;
}
constexpr int kQuantosLayouts = contarLayouts();
} // namespace

const QStringList& nomesLayouts()
{
    static const QStringList nomes = [] {
        QStringList l;
        for (int i = 0; i < kQuantosLayouts; ++i)
            l << QString::fromUtf8(nomeUtf8(LayoutExtrato(i)));
        return l;
    }();
    return nomes;
}

QString nomeLayout(LayoutExtrato layout) { return QString::fromUtf8(nomeUtf8(layout)); }

std::optional<LayoutExtrato> layoutPorNome(const QString& nome)
{
    const int i = int(nomesLayouts().indexOf(nome));
    if (i < 0)
        return std::nullopt;
    return LayoutExtrato(i);
}

QString caminhoLocal(const QString& caminho) { return platform::Drives::toLocal(caminho); }

QStringList listarExtratos(const QString& pasta)
{
    if (pasta.trimmed().isEmpty())
        return {};
    const QDir dir(caminhoLocal(pasta));
    if (!dir.exists())
        return {};
    // Regular files only, links followed: a link to a device or a pipe is no
    // statement. A file the user may not read is listed all the same; its
    // read ends in the failure message rather than it going missing unseen.
    QStringList nomes;
    for (const QString& padrao : {QStringLiteral("*.txt"), QStringLiteral("*.xls*")})
        for (const QFileInfo& info : dir.entryInfoList({padrao}, QDir::Files | QDir::System, QDir::Name))
            if (info.isFile())
                nomes << info.fileName();
    return nomes;
}

QStringList linhasSchemaIni(LayoutExtrato layout, const QString& nomeArquivo)
{
    const QString secao = QLatin1Char('[') + nomeArquivo + QLatin1Char(']');
    switch (layout) {
    case LayoutExtrato::Itau:
        return {secao,
                QStringLiteral("Format=Delimited(;)"),
                QStringLiteral("ColNameHeader=False"),
                QStringLiteral("Col1=\"Data\"Char Width 255"),
                QStringLiteral("Col2=\"Referente\" Char Width 255"),
                QStringLiteral("Col3=\"Valor\" Char Width 255")};
    case LayoutExtrato::Caixa:
        return {secao, QStringLiteral("Format=Delimited(;)")};
    case LayoutExtrato::Bradesco:
    case LayoutExtrato::Santander:
    case LayoutExtrato::Planilha:
        break;
    }
    return {};
}

LeituraExtrato lerExtrato(LayoutExtrato layout, const QString& arquivo)
{
    const QString path = caminhoLocal(arquivo);
    try {
        switch (layout) {
        case LayoutExtrato::Planilha:
            return lerPlanilha(path);
        case LayoutExtrato::Santander:
            return lerSantander(path);
        case LayoutExtrato::Bradesco:
            return lerBradesco(path);
        case LayoutExtrato::Itau:
            return lerItau(path, arquivo);
        case LayoutExtrato::Caixa:
            return lerCaixa(path, arquivo);
        }
    } catch (const std::exception& e) {
        LeituraExtrato r;
        r.erro = QStringLiteral("Não foi possível ler o extrato: %1").arg(QString::fromLocal8Bit(e.what()));
        return r;
    }
    LeituraExtrato r;
    r.erro = QStringLiteral("Modelo de extrato desconhecido.");
    return r;
}

} // namespace importacao
