// The .xlsx reader of the reader process, on the input as a workbook file.
#include "Entrada.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::lerPlanilha(platform::planilha::readXlsxCells, QStringLiteral("extrato.xlsx"), data, size);
    return 0;
}
