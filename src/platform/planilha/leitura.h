#pragma once
// The reader process's own work: the cells of one worksheet of an .xls
// (FreeXL) or .xlsx (QuaZip and the sheet's XML). Only the reader process
// and the tests of this code call it; the program reads spreadsheets through
// platform::readWorksheet, which starts the process.
#include "platform/planilha/resposta.h"

#include <QString>

namespace platform::planilha {

// The cells with a value of the sheet named `sheetName` (compared without
// regard to letter case), in no promised order; empty cells are left out.
// NoSheet when there is no such sheet; Damaged for a file that cannot be
// read or holds more than the bounds of resposta.h.
Status readXlsCells(const QString& path, const QString& sheetName, std::vector<Cell>& out);
Status readXlsxCells(const QString& path, const QString& sheetName, std::vector<Cell>& out);

// The same for a file already read into memory (at most kMaxInputBytes);
// FreeXL opens an .xls by name, so it is given `freexlName` for the bytes.
Status readInput(const QByteArray& bytes, const char* freexlName, const QString& sheetName, std::vector<Cell>& out);

// The code page an .xls's CODEPAGE record names, read by the bounds-checked
// walk of the compound file that weighs its declared sizes (not FreeXL);
// -1 when there is none or the file does not hold.
int xlsCodePage(const QByteArray& bytes);

} // namespace platform::planilha
