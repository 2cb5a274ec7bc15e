// vorsal-leitor-planilha FILE SHEET: writes the cells of the worksheet SHEET
// of the spreadsheet FILE on standard output in the layout of resposta.h.
// The program starts it for each statement, confined (platform/Confinement.h),
// and takes anything but a whole answer as a damaged file.
#include "platform/planilha/leitura.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    using namespace platform::planilha;
    std::vector<Cell> cells;
    const Status status = readCells(QFile::decodeName(argv[1]), QString::fromUtf8(argv[2]), cells);
    const QByteArray answer = encodeAnswer(status, cells);
    if (std::fwrite(answer.constData(), 1, std::size_t(answer.size()), stdout) != std::size_t(answer.size())
        || std::fflush(stdout) != 0)
        return 1;
    return 0;
}
