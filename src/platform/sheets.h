#pragma once
// Worksheets of spreadsheet files (.xls and .xlsx), read into rows of cell
// values. The reading itself happens in a process of its own
// (planilha/leitura.h), confined before its first instruction
// (Confinement.h), so a hostile file can at worst be reported as damaged. The reader is chosen by the file's first
// bytes, not by its name: banks send .xlsx files named .xls and HTML pages
// named .xls.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace platform {

// A cell value: an invalid QVariant for an empty cell, a QString for text, a
// double for a number, a QDate for a date (a date with a time of day is a
// QDateTime), a bool for a logical cell. Formula cells of an .xls read as
// empty.
using SheetRow = std::vector<QVariant>;

struct Worksheet {
    // Every row from row 1 down to the last used row; rows[0] is row 1, and
    // cell [i][j] is column j (0 = A). Each row is as long as its last used
    // cell; the cells before it that hold nothing are empty.
    std::vector<SheetRow> rows;
};

enum class SheetFormat { Xls, Xlsx, Unknown };
// What the file's first bytes say it is (CFB header or zip header).
SheetFormat sheetFormatOf(const QString& path);

// Reads the worksheet named `sheetName` (compared without regard to letter
// case). False with a message in Portuguese when the file cannot be opened,
// is not a spreadsheet, or has no such sheet, or when this system cannot
// keep the reader from the user's files (the reader is then not run).
bool readWorksheet(const QString& path, const QString& sheetName, Worksheet& out, QString& error);

// The reader process's program: the one set here, else
// "vorsal-leitor-planilha" in libexec/vorsal/ when the running program is
// installed, or in the running program's folder (the build tree).
void setSheetReaderProgram(const QString& program);
QString sheetReaderProgram();
// The confinement layers the reader is run under (Confinement.h): all of
// them, but for tests that stand for a kernel without some.
void setSheetReaderLayers(unsigned layers);

// "O arquivo 'x' está danificado ou não pôde ser lido."
QString damagedFileMessage(const QString& path);
// "Não foi possível abrir o arquivo 'x'."
QString openFailedMessage(const QString& path);

namespace planilha { enum class Status : char; }
// The worksheet a reader answer holds. False when the answer is not a whole
// one or lays out more cells than a statement can hold.
bool worksheetFromAnswer(const QByteArray& answer, Worksheet& out, planilha::Status& status);

// A range of a worksheet read with a header row ("HDR=YES"): the cells of
// `headerRow` name the columns, the rows below it up to the last used row
// are the data. Rows and columns count from 0 (row 0 is row 1, column 0 is
// A); lastColumn -1 means up to the widest row. Data rows that are entirely
// empty are left out, as the spreadsheet driver leaves them out.
struct SheetTable {
    QStringList columns;  // header texts as they stand (blanks kept)
    std::vector<SheetRow> rows;
    std::vector<int> sourceRows;  // the sheet row (from 0) each data row came from
    // The column named `name`, compared without regard to letter case and
    // exactly otherwise (trailing blanks count); -1 when there is none.
    int column(const QString& name) const;
};
SheetTable tableWithHeader(const Worksheet& sheet, int headerRow = 0, int firstColumn = 0, int lastColumn = -1);

// The text the spreadsheet driver gives for a cell: text as it stands,
// numbers with a decimal comma and no thousands marks ("1500", "-30,5"),
// dates "DD/MM/YYYY", empty for an empty cell.
QString cellText(const QVariant& cell);
inline bool cellEmpty(const QVariant& cell) { return !cell.isValid() || cell.isNull(); }

} // namespace platform
