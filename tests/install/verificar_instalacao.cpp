// Copied into an installed bin/ folder and run there by the install test, as
// the installed program runs: reads a small workbook through the program's
// own lookup of its spreadsheet reader, and compares the installed icon with
// the logo the program draws.
//   vorsal-verificar-instalacao PASTA ICONE.png
#include "app/Icones.h"
#include "platform/sheets.h"
#include "support/Planilhas.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

namespace {

int falha(const QString& texto)
{
    std::fprintf(stderr, "%s\n", qPrintable(texto));
    return 1;
}

// Pixels that differ visibly between the two pictures; a few along the
// edges may differ with the rasteriser's version.
qint64 pixelsDiferentes(const QImage& a, const QImage& b)
{
    qint64 n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 8 || std::abs(qGreen(p) - qGreen(q)) > 8
                || std::abs(qBlue(p) - qBlue(q)) > 8 || std::abs(qAlpha(p) - qAlpha(q)) > 8)
                ++n;
        }
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3)
        return falha(QStringLiteral("Uso: vorsal-verificar-instalacao PASTA ICONE.png"));

    std::printf("leitor: %s\n", qPrintable(platform::sheetReaderProgram()));
    const QString xlsx = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("extrato.xlsx"));
    if (!testsupport::escreverXlsx(xlsx, QStringLiteral("Plan1"),
                                   {{QStringLiteral("Data"), QStringLiteral("Valor")}, {QDate(2024, 3, 15), 1500.5}}))
        return falha(QStringLiteral("não foi possível escrever ") + xlsx);
    platform::Worksheet folha;
    QString erro;
    if (!platform::readWorksheet(xlsx, QStringLiteral("Plan1"), folha, erro))
        return falha(erro);
    if (folha.rows.size() != 2 || folha.rows[1].size() != 2 || folha.rows[1][0].toDate() != QDate(2024, 3, 15)
        || folha.rows[1][1].toDouble() != 1500.5)
        return falha(QStringLiteral("a planilha não foi lida como foi escrita"));

    const QImage instalado = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_ARGB32);
    const QImage desenhado = logoVorsal(256).toImage().convertToFormat(QImage::Format_ARGB32);
    if (instalado.size() != desenhado.size())
        return falha(QStringLiteral("o ícone instalado não tem 256 pixels de lado"));
    if (pixelsDiferentes(instalado, desenhado) > 256 * 256 / 200)
        return falha(QStringLiteral("o ícone instalado não é o logotipo que o programa desenha"));
    std::printf("ok\n");
    return 0;
}
