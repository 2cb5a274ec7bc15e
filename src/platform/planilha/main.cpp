// vorsal-leitor-planilha SHEET: reads the spreadsheet given on its standard
// input and writes the cells of its worksheet SHEET on standard output in the
// layout of resposta.h. The program starts it for each statement, confined
// (platform/Confinement.h), and takes anything but a whole answer as a
// damaged file. It reads the whole input first, loads the converters the
// workbook's code page needs, then locks itself down (trava.h): FreeXL and
// the unzipping see no byte before the lock.
#include "platform/planilha/leitura.h"
#include "platform/planilha/trava.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

// The whole of standard input; false past the bound or on a read error.
bool readStandardInput(QByteArray& bytes)
{
    using platform::planilha::kMaxInputBytes;
    for (;;) {
        const qsizetype at = bytes.size();
        bytes.resize(at + 64 * 1024);
        const ssize_t n = ::read(0, bytes.data() + at, 64 * 1024);
        bytes.resize(at + (n > 0 ? qsizetype(n) : 0));
        if (n == 0)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
        if (bytes.size() > kMaxInputBytes)
            return false;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    using namespace platform::planilha;
    QByteArray input;
    const bool whole = readStandardInput(input);
    if (whole && kindOfHeader(input.left(8)) == Kind::Xls)
        loadConverters(xlsCodePage(input));
    holdInput(input);
    if (!lockDown())
        return 1;
    std::vector<Cell> cells;
    const Status status = whole ? readInput(input, kInputName, QString::fromUtf8(argv[1]), cells) : Status::Damaged;
    const QByteArray answer = encodeAnswer(status, cells);
    if (std::fwrite(answer.constData(), 1, std::size_t(answer.size()), stdout) != std::size_t(answer.size())
        || std::fflush(stdout) != 0)
        return 1;
    return 0;
}
