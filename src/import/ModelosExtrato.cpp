#include "import/ModelosExtrato.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace importacao {
namespace {

const QColor kFundo(0, 128, 128);
const QColor kTitulo(255, 255, 128);
const QColor kMoldura(40, 40, 40);
const QColor kBarra(210, 210, 210);
const QColor kCabecalhoPlanilha(230, 230, 230);
const QColor kLinhas(200, 200, 200);
const QColor kAba(255, 255, 255);

QString fixo(const QString& texto, int largura) { return texto.leftJustified(largura, QLatin1Char(' '), true); }
QString direita(const QString& texto, int largura) { return texto.rightJustified(largura, QLatin1Char(' '), true); }

// One line of the BRADESCO report: date in characters 1-10, description in
// 25-48, credit in 74-98, debit in 99-122, balance after that.
QString linhaBradesco(const QString& data, const QString& historico, const QString& docto, const QString& credito,
                      const QString& debito, const QString& saldo)
{
    return fixo(data, 24) + fixo(historico, 24) + fixo(docto, 25) + direita(credito, 25) + direita(debito, 24) +
           direita(saldo, 14);
}

// The panel's heading: the layout's name and the kind of file.
QRect cabecalho(QPainter& g, const QRect& area, const QString& nome, const QString& tipo)
{
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setPixelSize(18);
    f.setBold(true);
    g.setFont(f);
    g.setPen(kTitulo);
    g.drawText(area.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, nome);
    const int largura = QFontMetrics(f).horizontalAdvance(nome + QStringLiteral("  "));
    f.setPixelSize(14);
    f.setBold(false);
    g.setFont(f);
    g.setPen(Qt::white);
    g.drawText(area.adjusted(4 + largura, 3, 0, 0), Qt::AlignLeft | Qt::AlignTop, tipo);
    return area.adjusted(0, 26, 0, 0);
}

// A text file open in an editor: a title bar with the file's name and the
// lines in a fixed-width font, as small as it takes for the longest to fit.
void painelTexto(QPainter& g, const QRect& area, const QString& nome, const QString& arquivo,
                 const QStringList& linhas)
{
    const QRect janela = cabecalho(g, area, nome, QStringLiteral("arquivo texto (.txt)"));
    g.setPen(kMoldura);
    g.setBrush(Qt::white);
    g.drawRect(janela.adjusted(0, 0, -1, -1));
    const QRect barra(janela.left() + 1, janela.top() + 1, janela.width() - 2, 20);
    g.fillRect(barra, kBarra);
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setPixelSize(12);
    g.setFont(f);
    g.setPen(Qt::black);
    g.drawText(barra.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, arquivo);

    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    int tamanho = 13;
    int maior = 0;
    for (const QString& l : linhas)
        maior = std::max(maior, int(l.size()));
    const int larguraUtil = janela.width() - 14;
    for (; tamanho > 6; --tamanho) {
        mono.setPixelSize(tamanho);
        if (QFontMetrics(mono).horizontalAdvance(QString(maior, QLatin1Char('0'))) <= larguraUtil)
            break;
    }
    mono.setPixelSize(tamanho);
    g.setFont(mono);
    const int altura = QFontMetrics(mono).height();
    int y = barra.bottom() + 6;
    for (const QString& l : linhas) {
        if (y + altura > janela.bottom() - 2)
            break;
        g.drawText(QPoint(janela.left() + 7, y + QFontMetrics(mono).ascent()), l);
        y += altura;
    }
}

// A spreadsheet: column letters, row numbers, the cells, and the sheet tab.
void painelPlanilha(QPainter& g, const QRect& area, const QString& nome, const QList<QStringList>& linhas,
                    const QList<int>& larguras, int linhaTitulos)
{
    const QRect folha = cabecalho(g, area, nome, QStringLiteral("planilha (.xls / .xlsx), folha Plan1"));
    g.setPen(kMoldura);
    g.setBrush(Qt::white);
    g.drawRect(folha.adjusted(0, 0, -1, -1));

    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setPixelSize(12);
    g.setFont(f);
    const int alturaLinha = 19;
    const int numeros = 28;
    const int x0 = folha.left() + 1;
    int y = folha.top() + 1;

    // Column letters.
    g.fillRect(QRect(x0, y, folha.width() - 2, alturaLinha), kCabecalhoPlanilha);
    int x = x0 + numeros;
    for (int c = 0; c < larguras.size(); ++c) {
        g.setPen(kLinhas);
        g.drawLine(x, y, x, folha.bottom() - 24);
        g.setPen(Qt::black);
        g.drawText(QRect(x, y, larguras[c], alturaLinha), Qt::AlignCenter, QString(QChar('A' + c)));
        x += larguras[c];
    }
    y += alturaLinha;

    for (int r = 0; r < linhas.size() && y + alturaLinha < folha.bottom() - 24; ++r) {
        g.fillRect(QRect(x0, y, numeros, alturaLinha), kCabecalhoPlanilha);
        g.setPen(Qt::black);
        g.drawText(QRect(x0, y, numeros, alturaLinha), Qt::AlignCenter, QString::number(r + 1));
        QFont celula = f;
        celula.setBold(r + 1 == linhaTitulos);
        g.setFont(celula);
        x = x0 + numeros;
        // A title alone on its row runs on over the empty cells beside it.
        if (linhas[r].size() == 1)
            g.drawText(QRect(x + 3, y, folha.right() - x - 6, alturaLinha), Qt::AlignLeft | Qt::AlignVCenter,
                       linhas[r].front());
        for (int c = 0; c < larguras.size() && c < linhas[r].size() && linhas[r].size() > 1; ++c) {
            const QString texto = linhas[r][c];
            bool numero = false;
            QString(texto).remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&numero);
            g.drawText(QRect(x + 3, y, larguras[c] - 6, alturaLinha),
                       (numero ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, texto);
            x += larguras[c];
        }
        g.setFont(f);
        y += alturaLinha;
        g.setPen(kLinhas);
        g.drawLine(x0, y, folha.right() - 1, y);
    }

    // The sheet tab.
    const QRect aba(x0 + 6, folha.bottom() - 22, 60, 20);
    g.fillRect(QRect(x0, folha.bottom() - 23, folha.width() - 2, 22), kCabecalhoPlanilha);
    g.setPen(kMoldura);
    g.setBrush(kAba);
    g.drawRect(aba);
    g.setPen(Qt::black);
    g.drawText(aba, Qt::AlignCenter, QStringLiteral("Plan1"));
}

} // namespace

QPixmap desenharModelosExtrato()
{
    QPixmap p(1341, 842);
    p.fill(kFundo);
    QPainter g(&p);
    g.setRenderHint(QPainter::TextAntialiasing);

    painelTexto(g, QRect(12, 10, 430, 250), QStringLiteral("CAIXA"), QStringLiteral("extrato_caixa.txt"),
                {QStringLiteral("\"Conta\";\"Data_Mov\";\"Nr_Doc\";\"Historico\";\"Valor\";\"Deb_Cred\""),
                 QStringLiteral("\"0012345\";\"20240304\";\"041522\";\"PAGTO AGUA\";\"-85.40\";\"D\""),
                 QStringLiteral("\"0012345\";\"20240305\";\"000000\";\"CRED SALARIO\";\"3500.00\";\"C\""),
                 QStringLiteral("\"0012345\";\"20240308\";\"112233\";\"COMPRA CARTAO\";\"-230.15\";\"D\""),
                 QStringLiteral("\"0012345\";\"20240311\";\"000412\";\"SAQUE 24H\";\"-200.00\";\"D\""),
                 QStringLiteral("\"0012345\";\"20240315\";\"558811\";\"DEPOSITO\";\"500.00\";\"C\"")});

    painelTexto(g, QRect(455, 10, 400, 250), QStringLiteral("ITAÚ"), QStringLiteral("extrato_itau.txt"),
                {QStringLiteral("04/03/2024;PAGTO CONTA LUZ;-145,90"),
                 QStringLiteral("05/03/2024;SALARIO;3.500,00"),
                 QStringLiteral("07/03/2024;SUPERMERCADO BOM PRECO;-245,90"),
                 QStringLiteral("11/03/2024;SAQUE 24H;-200,00"),
                 QStringLiteral("12/03/2024;TARIFA PACOTE SERVICOS;-32,50"),
                 QStringLiteral("15/03/2024;PIX RECEBIDO;1.250,00")});

    painelPlanilha(g, QRect(868, 10, 461, 250), QStringLiteral("PLANILHA"),
                   {{QStringLiteral("Data"), QStringLiteral("Referente"), QStringLiteral("Valor")},
                    {QStringLiteral("04/03/2024"), QStringLiteral("Padaria"), QStringLiteral("-18,50")},
                    {QStringLiteral("05/03/2024"), QStringLiteral("Salário"), QStringLiteral("3.500,00")},
                    {QStringLiteral("08/03/2024"), QStringLiteral("Farmácia"), QStringLiteral("-62,30")},
                    {QStringLiteral("10/03/2024"), QStringLiteral("Aluguel"), QStringLiteral("-1.200,00")},
                    {QStringLiteral("15/03/2024"), QStringLiteral("Rendimentos"), QStringLiteral("41,17")}},
                   {100, 210, 100}, 1);

    painelPlanilha(
        g, QRect(12, 272, 1317, 270), QStringLiteral("SANTANDER"),
        {{QStringLiteral("Extrato de Conta Corrente")},
         {QStringLiteral("Titular: MARIA DA SILVA")},
         {QStringLiteral("Agência: 0001  Conta: 01.000123-4")},
         {QStringLiteral("Período: 01/03/2024 a 31/03/2024")},
         {},
         {QStringLiteral("Data"), QStringLiteral("Descrição"), QStringLiteral("Docto"), QStringLiteral("Situação"),
          QStringLiteral("Crédito (R$)"), QStringLiteral("Débito (R$)"), QStringLiteral("Saldo (R$)")},
         {QStringLiteral("01/03/2024"), QStringLiteral("SALDO ANTERIOR"), QString(), QString(), QString(), QString(),
          QStringLiteral("1.520,35")},
         {QStringLiteral("04/03/2024"), QStringLiteral("PAGAMENTO CONTA AGUA"), QStringLiteral("041522"),
          QStringLiteral("Efetivado"), QString(), QStringLiteral("-85,40"), QStringLiteral("1.434,95")},
         {QStringLiteral("05/03/2024"), QStringLiteral("CREDITO DE SALARIO"), QStringLiteral("000101"),
          QStringLiteral("Efetivado"), QStringLiteral("3.500,00"), QString(), QStringLiteral("4.934,95")},
         {QString(), QStringLiteral("TOTAL"), QString(), QString(), QStringLiteral("3.500,00"),
          QStringLiteral("-85,40"), QString()}},
        {100, 300, 110, 140, 150, 150, 150}, 6);

    painelTexto(
        g, QRect(12, 554, 1317, 278), QStringLiteral("BRADESCO"), QStringLiteral("extrato_bradesco.txt"),
        {QStringLiteral("Extrato de: Agência: 1234 | Conta: 56789-0                     Período: 01/03/2024 a "
                        "31/03/2024"),
         QString(),
         linhaBradesco(QStringLiteral("Data"), QStringLiteral("Histórico"), QStringLiteral("Docto."),
                       QStringLiteral("Crédito (R$)"), QStringLiteral("Débito (R$)"), QStringLiteral("Saldo (R$)")),
         linhaBradesco(QStringLiteral("01/03/24"), QStringLiteral("SALDO ANTERIOR"), QString(), QString(), QString(),
                       QStringLiteral("1.520,35")),
         linhaBradesco(QStringLiteral("04/03/24"), QStringLiteral("CONTA DE AGUA"), QStringLiteral("0041522"),
                       QString(), QStringLiteral("-85,40"), QStringLiteral("1.434,95")),
         linhaBradesco(QString(), QStringLiteral("COMPANHIA DE SANEAMENTO"), QString(), QString(), QString(),
                       QString()),
         linhaBradesco(QStringLiteral("05/03/24"), QStringLiteral("CRED SALARIO"), QStringLiteral("0000101"),
                       QStringLiteral("3.500,00"), QString(), QStringLiteral("4.934,95")),
         linhaBradesco(QStringLiteral("08/03/24"), QStringLiteral("COMPRA CARTAO DEB"), QStringLiteral("0112233"),
                       QString(), QStringLiteral("-230,15"), QStringLiteral("4.704,80")),
         linhaBradesco(QString(), QStringLiteral("Total"), QString(), QStringLiteral("3.500,00"),
                       QStringLiteral("-315,55"), QStringLiteral("4.704,80"))});
    return p;
}

QPixmap miniaturaModelosExtrato(int largura)
{
    return desenharModelosExtrato().scaledToWidth(largura, Qt::SmoothTransformation);
}

} // namespace importacao
