#pragma once
// The answer the spreadsheet reader process writes on its standard output,
// and the bounds both sides hold a worksheet to. The reader runs in a
// process of its own because the file comes from outside: whatever it does
// with a hostile file, the program only ever sees these bytes.
//
// Layout (integers little-endian):
//   "VPL1", one status byte ('O' read, 'N' no such sheet, 'D' damaged);
//   after 'O', cells in any order, each a type byte, row u32, column u32
//   and its value:
//     's' text: length u32 + UTF-8 bytes      'n' number: IEEE double
//     'd' date: Julian day i64                'h' date and time: Julian day i64 + msecs of the day u32
//     'b' logical: one byte 0 or 1
//   and an end byte 'Z' closing the answer.
#include <QByteArray>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace platform::planilha {

// What a bank statement can hold; past these the file is taken as damaged.
constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;
constexpr int kMaxCells = 500000;
constexpr int kMaxTextBytes = 32767 * 3;            // one cell's text
constexpr qint64 kMaxAnswerBytes = 32LL * 1024 * 1024;
constexpr qint64 kMaxInputBytes = 128LL * 1024 * 1024;  // the spreadsheet file

enum class Status : char { Ok = 'O', NoSheet = 'N', Damaged = 'D' };

enum class Kind { Xls, Xlsx, Unknown };
// What a file's first bytes say it is (CFB header or zip header).
Kind kindOfHeader(const QByteArray& firstBytes);

struct Cell {
    int row = 0;     // from 0
    int col = 0;     // from 0 (A)
    QVariant value;  // QString, double, QDate, QDateTime or bool
};

// Appends one cell to an answer being built; false (nothing appended) when
// the value is none of the kinds above.
bool encodeCell(QByteArray& answer, const Cell& cell);
QByteArray encodeAnswer(Status status, const std::vector<Cell>& cells);

// Reads an answer back. False when it is not one: a wrong header or type
// byte, a field cut short, a cell outside the bounds, more cells than
// kMaxCells, bytes after the end byte, or no end byte.
bool decodeAnswer(const QByteArray& answer, Status& status, std::vector<Cell>& cells);

} // namespace platform::planilha
