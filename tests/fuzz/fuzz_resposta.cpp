// The reader process's answer as the program reads it back, on to the table
// the import windows take from it.
#include "platform/planilha/resposta.h"
#include "platform/sheets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::Worksheet sheet;
    platform::planilha::Status status;
    if (!platform::worksheetFromAnswer(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), sheet, status))
        return 0;
    for (int header : {0, 5}) {
        const platform::SheetTable table = platform::tableWithHeader(sheet, header, 0, header == 5 ? 6 : -1);
        for (const platform::SheetRow& row : table.rows)
            for (const QVariant& cell : row)
                platform::cellText(cell);
    }
    return 0;
}
