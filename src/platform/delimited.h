#pragma once
// Delimited text files read the way the Schema.ini beside them describes:
// the section named after the file gives the delimiter ("Format=Delimited(;)"),
// whether the first line names the columns ("ColNameHeader=True|False") and
// the column names ("Col1="Data" Char Width 255"). Fields may be enclosed in
// double quotes (a doubled quote inside stands for one).
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace platform {

struct DelimitedSchema {
    QChar delimiter = QLatin1Char(',');
    std::optional<bool> colNameHeader;  // absent: the caller's default
    QStringList columns;                // from Col1=, Col2=, ... in order
};

// Writes `lines` as "folder/Schema.ini", each ended by CR LF, replacing
// what stands under that name as a name (writeAsName(): a link there is
// replaced, never written through). False with a message in Portuguese,
// naming the folder as `shownFolder` ("C:\Extratos"), when it cannot be
// written or the name is a folder.
bool writeSchemaIni(const QString& folder, const QStringList& lines, const QString& shownFolder, QString& error);

// The section of "folder/Schema.ini" for the file `fileName` (section names
// compared without regard to letter case). Without the file or the section,
// the defaults: "," and no column names. Nothing when what stands under the
// name is not a regular file that can be read (a link, a FIFO another user
// put there): it is opened as platform::openRegularFile() opens, never
// waiting.
std::optional<DelimitedSchema> readSchemaIni(const QString& folder, const QString& fileName);

struct DelimitedTable {
    QStringList columns;
    // One row per non-blank line, as long as `columns`: missing fields are
    // empty, fields beyond the named columns are dropped.
    std::vector<QStringList> rows;
    // Compared without regard to letter case; -1 when there is no such column.
    int column(const QString& name) const;
};

// Reads `path` as its Schema.ini describes, both opened as
// platform::openRegularFile() opens (a link, a FIFO or a device under
// either name is refused, never waited on). `headerByDefault` is the
// connection's "HDR=" setting, used when the schema does not say. Columns
// without a name in the header or the schema are named F1, F2, ... Text is
// decoded by decodeText(). False with a message
// in Portuguese when the file cannot be read, or with the damaged-file
// message when it holds more than a statement can (8 MB, 100 000 lines,
// lines of 64 K characters, 256 columns, a million fields).
bool readDelimited(const QString& path, bool headerByDefault, DelimitedTable& out, QString& error);

// Reads the lines of a text file (decoded by decodeText(), split at CR LF,
// CR or LF; the empty piece after the last line break is no line), with the
// same bounds and messages as readDelimited().
bool readTextLines(const QString& path, QStringList& lines, QString& error);

// Splits one line into fields at `delimiter`, honouring double quotes.
QStringList splitDelimitedLine(const QString& line, QChar delimiter);

// File bytes as text, line by line: a line that is valid UTF-8 is UTF-8,
// any other line the Windows Western code page (Latin-1 where that is
// unavailable). A leading BOM and a trailing Ctrl-Z end-of-file mark are
// dropped; the line breaks stay as they are.
QString decodeText(const QByteArray& bytes);

} // namespace platform
