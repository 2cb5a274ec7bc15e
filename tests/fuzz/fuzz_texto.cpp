// The text statements: the first byte picks BRADESCO, CAIXA, ITAÚ, or a
// delimited file read as a Schema.ini of the input's own describes (the
// input holds the Schema.ini, a NUL byte, then the file).
#include "Entrada.h"
#include "import/Extrato.h"
#include "platform/delimited.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int mode = data[0] % 4;
    ++data;
    --size;
    const QString path = fuzz::pasta().filePath(QStringLiteral("extrato.txt"));
    switch (mode) {
    case 0:
    case 1:
    case 2: {
        fuzz::gravar(QStringLiteral("extrato.txt"), data, size);
        const importacao::LayoutExtrato layout =
            mode == 0 ? importacao::LayoutExtrato::Bradesco : mode == 1 ? importacao::LayoutExtrato::Caixa : importacao::LayoutExtrato::Itau;
        importacao::lerExtrato(layout, path);
        break;
    }
    default: {
        const void* nul = std::memchr(data, 0, size);
        const size_t schema = nul ? size_t(static_cast<const uint8_t*>(nul) - data) : size;
        fuzz::gravar(QStringLiteral("Schema.ini"), data, schema);
        const size_t rest = nul ? schema + 1 : size;
        fuzz::gravar(QStringLiteral("extrato.txt"), data + rest, size - rest);
        platform::DelimitedTable table;
        QString erro;
        if (platform::readDelimited(path, (size & 1) != 0, table, erro))
            for (const QStringList& row : table.rows)
                if (row.size() != table.columns.size())
                    __builtin_trap();
        break;
    }
    }
    return 0;
}
