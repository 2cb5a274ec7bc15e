#pragma once
// The reader's own confinement, added once it holds its input and before
// FreeXL or the unzipping parses a byte of it. The launcher's filter has to let the loader open the
// libraries; from here on nothing is opened by name and nothing is run, so
// a parser that the file subverts finds no file to read, on any kernel.
#include <QByteArray>

namespace platform::planilha {

// The name FreeXL is given for the input: its fopen of this name reads the
// bytes held by holdInput(); every other fopen fails once locked.
extern const char kInputName[];

// The input FreeXL reads; the bytes must outlive the read.
void holdInput(const QByteArray& bytes);

// Loads the character set converters FreeXL asks for a workbook of
// `codePage` (its CODEPAGE record, -1 for none) while files can still be
// opened; they stay loaded for the rest of the run.
void loadConverters(int codePage);

// From here on: no open, stat or exec of any kind, only reading descriptors
// already open, writing the answer, memory and exiting. False when the
// kernel refused the filter: the reader then reads nothing.
bool lockDown();

} // namespace platform::planilha
