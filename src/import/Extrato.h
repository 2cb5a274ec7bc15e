#pragma once
// Bank statements: the files of a statements folder, the five layouts they
// come in, and the reader that turns one file into plain statement lines.
// The reader never touches the account file; pre-classification
// (PreClassificacao.h) works on the lines it returns, and the import window
// only shows them in its grid and posts them.
#include "data/Money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace importacao {

// The classification a line holds until it is classified, compared exactly
// (letter case included). Lines that still hold it cannot be posted.
inline const QString kImportadoDoExtrato = QStringLiteral("Importado do Extrato");

// The Ordem letter a freshly read line carries.
inline const QString kOrdemInicial = QStringLiteral("A");

// One line of a statement, as the statement grid shows it:
//   column 0 data (shown "DD/MM/YYYY"), 1 historico, 2 valor ("#,##0.00",
//   signed), 3 classificacao, 4 ordem, 5 conta.
struct LinhaExtrato {
    QDate data;                 // date of the movement; always a valid date
    QString historico;          // description as read (BRADESCO: trimmed)
    data::Centavos valor = 0;   // negative: money leaving the account
    // Filled by pre-classification, by the catch-all, or by hand:
    QString classificacao = kImportadoDoExtrato;  // Despesas.Despesa
    std::int64_t codigo = 0;    // Despesas.Codigo; 0 while not known
    QString conta;              // Despesas.Conta, the group; "" while unclassified
    QString ordem = kOrdemInicial;                // "A" to "Z"
};

// The five layouts, in the order the layout list offers them.
enum class LayoutExtrato { Bradesco, Caixa, Itau, Santander, Planilha };

// "BRADESCO", "CAIXA", "ITAÚ", "SANTANDER", "PLANILHA": the layout list's
// items in its order.
const QStringList& nomesLayouts();
QString nomeLayout(LayoutExtrato layout);
// The layout a name stands for, compared exactly (case-sensitive); any other
// text stands for none, and the read step then reads nothing.
std::optional<LayoutExtrato> layoutPorNome(const QString& nome);

// A statements folder or file as the user types it, as a local path: a path
// with a drive letter ("C:\Extratos") goes through platform::Drives; any
// other path keeps its text, with "\" read as the folder separator.
QString caminhoLocal(const QString& caminho);

// The bare names (no folder) of the statement files of a folder: first every
// "*.txt", then every "*.xls*" (xls, xlsx, ...), each group in name order.
// The extension is matched without regard to letter case. A missing or
// unreadable folder, or an empty folder text, gives an empty list and no
// message.
QStringList listarExtratos(const QString& pasta);

// What a read gives: the lines in file order, or an error. On an error,
// `linhas` holds the lines read before the one that failed (the window may
// show or drop them), and `erro` says in Portuguese what went wrong and where
// (file, sheet, line or column). The read never throws.
struct LeituraExtrato {
    std::vector<LinhaExtrato> linhas;
    QString erro;
    bool ok() const { return erro.isEmpty(); }
};

// Reads a statement file in a layout. `arquivo` is the file's path in either
// form caminhoLocal() accepts.
//   PLANILHA  spreadsheet (.xls or .xlsx, told apart by the file's first
//             bytes), sheet "Plan1", row 1 names Data, Referente, Valor;
//             rows without a Data cell are skipped.
//   SANTANDER spreadsheet, sheet "Plan1", header in row 6; keeps the rows
//             whose "Docto " is numeric, whose "Saldo (R$) " is not empty and
//             whose "Descrição " holds neither TOTAL nor SALDO ANTERIOR;
//             amount is "Crédito (R$) " followed by "Débito (R$) ".
//   BRADESCO  fixed columns: date in characters 1-10, description 25-48,
//             credit 74-98 then debit 99-122; lines holding SALDO (any case)
//             or not starting with a date are skipped.
//   ITAÚ      ";"-delimited, no header: date, description, amount.
//   CAIXA     ";"-delimited, quoted, header line; Data_Mov (YYYYMMDD),
//             Historico, Valor (its digits are the centavos: "500.00" is
//             500,00).
// ITAÚ and CAIXA write a Schema.ini into the statement's folder first,
// overwriting the one there, and read the file as it describes.
// Text files are read as UTF-8 when they are valid UTF-8, else in the Windows
// Western code page (platform::decodeText).
LeituraExtrato lerExtrato(LayoutExtrato layout, const QString& arquivo);

// The Schema.ini lines written for a text layout (ITAÚ, CAIXA) reading the
// file `nomeArquivo`; empty for the other layouts.
QStringList linhasSchemaIni(LayoutExtrato layout, const QString& nomeArquivo);

} // namespace importacao
