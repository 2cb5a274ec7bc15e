// The .xlsx reader of the reader process, on the input as a workbook file.
#include "Entrada.h"
#include "platform/planilha/leitura.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform::planilha;
    const QString path = fuzz::gravar(QStringLiteral("extrato.xlsx"), data, size);
    std::vector<Cell> cells;
    if (readXlsxCells(path, QStringLiteral("Plan1"), cells) == Status::Ok) {
        // What the process would write must read back whole.
        Status status;
        std::vector<Cell> back;
        if (!decodeAnswer(encodeAnswer(Status::Ok, cells), status, back) || back.size() != cells.size())
            __builtin_trap();
    }
    return 0;
}
