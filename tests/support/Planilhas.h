#pragma once
// Small .xlsx workbooks written by the tests themselves: the parts are XML
// strings zipped with QuaZip. The sheet a test asks for is placed second in
// the workbook, behind an empty "Resumo", in a part not named sheet1.xml, so
// readers must find it through the workbook's relationships.
#include <QDate>
#include <QFile>
#include <QMap>
#include <QString>
#include <QVariant>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>
#include <cstring>
#include <vector>

namespace testsupport {

inline bool escreverZip(const QString& path, const QMap<QString, QByteArray>& parts)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (auto it = parts.cbegin(); it != parts.cend(); ++it) {
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::WriteOnly, QuaZipNewInfo(it.key())))
            return false;
        f.write(it.value());
        f.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

inline QByteArray xmlEscape(const QString& s)
{
    return s.toHtmlEscaped().toUtf8();
}

inline QString colunaLetra(int c)
{
    QString s;
    for (++c; c > 0; c = (c - 1) / 26)
        s.prepend(QChar('A' + (c - 1) % 26));
    return s;
}

// Cells: QString (inline string), int or double (number), QDate (serial
// number with the date style 1); an invalid QVariant leaves the cell out.
inline QByteArray folhaXml(const std::vector<std::vector<QVariant>>& rows)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                     "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        xml += "<row r=\"" + QByteArray::number(qulonglong(r + 1)) + "\">";
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const QVariant& v = rows[r][c];
            if (!v.isValid())
                continue;
            const QByteArray ref = (colunaLetra(int(c)) + QString::number(r + 1)).toUtf8();
            if (v.typeId() == QMetaType::QString)
                xml += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + xmlEscape(v.toString()) + "</t></is></c>";
            else if (v.typeId() == QMetaType::QDate)
                xml += "<c r=\"" + ref + "\" s=\"1\"><v>"
                    + QByteArray::number(QDate(1899, 12, 30).daysTo(v.toDate())) + "</v></c>";
            else
                xml += "<c r=\"" + ref + "\"><v>" + QByteArray::number(v.toDouble(), 'g', 17) + "</v></c>";
        }
        xml += "</row>";
    }
    return xml + "</sheetData></worksheet>";
}

// A workbook with an empty first sheet "Resumo" and the given sheet second.
// `extra` adds or replaces parts (e.g. a sharedStrings.xml).
inline bool escreverXlsx(const QString& path, const QString& nomeFolha, const QByteArray& folha,
                         const QMap<QString, QByteArray>& extra = {})
{
    QMap<QString, QByteArray> p;
    p["[Content_Types].xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>";
    p["_rels/.rels"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"xl/workbook.xml\"/></Relationships>";
    p["xl/workbook.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
        "<sheet name=\"Resumo\" sheetId=\"1\" r:id=\"rId1\"/>"
        "<sheet name=\"" + xmlEscape(nomeFolha) + "\" sheetId=\"2\" r:id=\"rId2\"/>"
        "</sheets></workbook>";
    p["xl/_rels/workbook.xml.rels"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
        "Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId2\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
        "Target=\"worksheets/sheet7.xml\"/>"
        "<Relationship Id=\"rId3\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
        "Target=\"styles.xml\"/>"
        "<Relationship Id=\"rId4\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
        "Target=\"sharedStrings.xml\"/>"
        "</Relationships>";
    p["xl/worksheets/sheet1.xml"] = folhaXml({{QStringLiteral("não é esta")}});
    p["xl/worksheets/sheet7.xml"] = folha;
    p["xl/styles.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\\ hh:mm\"/></numFmts>"
        "<cellXfs count=\"4\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>"
        "<xf numFmtId=\"4\"/></cellXfs></styleSheet>";
    p["xl/sharedStrings.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"/>";
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        p[it.key()] = it.value();
    return escreverZip(path, p);
}

inline bool escreverXlsx(const QString& path, const QString& nomeFolha,
                         const std::vector<std::vector<QVariant>>& rows)
{
    return escreverXlsx(path, nomeFolha, folhaXml(rows));
}

inline bool escreverArquivo(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace testsupport

namespace testsupport {

// A genuine old-format (.xls) workbook: BIFF8 records in a "Workbook" stream
// of a compound file, written byte by byte. Cells as for folhaXml; text goes
// through the shared string table, dates are numbers with the built-in date
// format 14.
namespace xls {

inline void u16(QByteArray& b, quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); }
inline void u32(QByteArray& b, quint32 v) { u16(b, quint16(v & 0xFFFF)); u16(b, quint16(v >> 16)); }
inline void f64(QByteArray& b, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    u32(b, quint32(bits & 0xFFFFFFFFu));
    u32(b, quint32(bits >> 32));
}
inline void registro(QByteArray& b, quint16 tipo, const QByteArray& dados)
{
    u16(b, tipo);
    u16(b, quint16(dados.size()));
    b += dados;
}
inline QByteArray bof(quint16 tipo)
{
    QByteArray d;
    u16(d, 0x0600);
    u16(d, tipo);
    u16(d, 0x0DBB);
    u16(d, 0x07CC);
    u32(d, 0);
    u32(d, 0x0006);
    return d;
}
inline QByteArray texto16(const QString& s, bool cch16)
{
    QByteArray d;
    if (cch16)
        u16(d, quint16(s.size()));
    else
        d.append(char(s.size()));
    d.append(char(1));  // UTF-16LE characters
    for (QChar c : s)
        u16(d, c.unicode());
    return d;
}

// A formula cell, with the result a spreadsheet program stored when it
// saved the file: a number, a date, a text, a truth value, an error code
// (Erro) or nothing (an invalid QVariant: the formula was never worked out).
struct Formula {
    QVariant resultado;
};
struct Erro {
    quint8 codigo;
};

inline QByteArray workbook(const QString& nomeFolha, const std::vector<std::vector<QVariant>>& rows)
{
    QStringList sst;
    QByteArray celulas;
    quint16 largura = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const QVariant& v = rows[r][c];
            if (!v.isValid())
                continue;
            largura = std::max<quint16>(largura, quint16(c + 1));
            QByteArray d;
            u16(d, quint16(r));
            u16(d, quint16(c));
            if (v.metaType() == QMetaType::fromType<Formula>()) {
                const QVariant r = v.value<Formula>().resultado;
                const bool data = r.typeId() == QMetaType::QDate;
                u16(d, data ? 1 : 0);
                QByteArray texto;
                if (r.typeId() == QMetaType::Double || data) {
                    f64(d, data ? double(QDate(1899, 12, 30).daysTo(r.toDate())) : r.toDouble());
                } else {
                    // The special results: the type in the first byte, the
                    // value in the third, 0xFFFF in the last two.
                    const bool erro = r.metaType() == QMetaType::fromType<Erro>();
                    const quint8 tipo = r.typeId() == QMetaType::QString ? 0 : r.typeId() == QMetaType::Bool ? 1 : erro ? 2 : 3;
                    d.append(char(tipo)).append('\0');
                    d.append(char(tipo == 1 ? r.toBool() : erro ? r.value<Erro>().codigo : 0));
                    d += QByteArray(3, '\0');
                    u16(d, 0xFFFF);
                    if (tipo == 0)
                        texto = texto16(r.toString(), true);
                }
                u16(d, 0);    // flags
                u32(d, 0);
                u16(d, 3);    // the formula: the integer 1
                d.append(char(0x1E));
                u16(d, 1);
                registro(celulas, 0x0006, d);  // FORMULA
                if (!texto.isEmpty())
                    registro(celulas, 0x0207, texto);  // STRING
            } else if (v.typeId() == QMetaType::QString) {
                u16(d, 0);
                u32(d, quint32(sst.size()));
                sst << v.toString();
                registro(celulas, 0x00FD, d);  // LABELSST
            } else {
                const bool data = v.typeId() == QMetaType::QDate;
                u16(d, data ? 1 : 0);
                f64(d, data ? double(QDate(1899, 12, 30).daysTo(v.toDate())) : v.toDouble());
                registro(celulas, 0x0203, d);  // NUMBER
            }
        }
    }
    QByteArray globais;
    registro(globais, 0x0809, bof(0x0005));
    QByteArray cp;
    u16(cp, 0x04B0);
    registro(globais, 0x0042, cp);  // CODEPAGE
    QByteArray dm;
    u16(dm, 0);
    registro(globais, 0x0022, dm);  // DATEMODE 1900
    for (quint16 fmt : {quint16(0), quint16(14)}) {
        QByteArray xf;
        u16(xf, 0);
        u16(xf, fmt);
        xf += QByteArray(16, '\0');
        registro(globais, 0x00E0, xf);  // XF
    }
    QByteArray tabela;
    u32(tabela, quint32(sst.size()));
    u32(tabela, quint32(sst.size()));
    for (const QString& s : sst)
        tabela += texto16(s, true);
    registro(globais, 0x00FC, tabela);  // SST
    QByteArray folhaNome = texto16(nomeFolha, false);
    const int posBoundsheet = globais.size();
    QByteArray bs;
    u32(bs, 0);
    u16(bs, 0);
    bs += folhaNome;
    registro(globais, 0x0085, bs);  // BOUNDSHEET, its offset filled in below
    registro(globais, 0x000A, {});  // EOF

    QByteArray folha;
    registro(folha, 0x0809, bof(0x0010));
    QByteArray dim;
    u32(dim, 0);
    u32(dim, quint32(rows.size()));
    u16(dim, 0);
    u16(dim, largura);
    u16(dim, 0);
    registro(folha, 0x0200, dim);  // DIMENSIONS
    folha += celulas;
    registro(folha, 0x000A, {});

    QByteArray pos;
    u32(pos, quint32(globais.size()));
    globais.replace(posBoundsheet + 4, 4, pos);
    return globais + folha;
}

// The compound file: sector 0 the allocation table, then the stream's
// sectors, then the directory. A stream under 4096 bytes belongs in the mini
// stream: with `mini` it goes there (64-byte pieces inside the root entry's
// sectors, chained by a mini allocation table in sector 1), as small
// workbooks are written; without, it is padded with zero bytes after its last
// record to that size.
inline QByteArray arquivoComposto(QByteArray stream, bool mini = false)
{
    const quint32 fim = 0xFFFFFFFE, livre = 0xFFFFFFFF;
    mini = mini && stream.size() < 4096;
    const quint32 tamanho = mini ? quint32(stream.size()) : quint32(std::max<qsizetype>(stream.size(), 4096));
    const int pedacos = int((stream.size() + 63) / 64);
    stream += QByteArray((mini ? pedacos * 64 : qsizetype(tamanho)) - stream.size(), '\0');
    const int setoresStream = int((stream.size() + 511) / 512);
    stream += QByteArray(setoresStream * 512 - stream.size(), '\0');
    const quint32 primeiro = mini ? 2 : 1;  // the stream's (or mini stream's) first sector
    const quint32 setorDir = primeiro + quint32(setoresStream);

    QByteArray cab = QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(16, '\0');
    u16(cab, 0x003E);
    u16(cab, 0x0003);
    u16(cab, 0xFFFE);
    u16(cab, 9);
    u16(cab, 6);
    cab += QByteArray(6, '\0');
    u32(cab, 0);
    u32(cab, 1);          // FAT sectors
    u32(cab, setorDir);   // first directory sector
    u32(cab, 0);
    u32(cab, 0x1000);
    u32(cab, mini ? 1 : fim);  // mini FAT
    u32(cab, mini ? 1 : 0);
    u32(cab, fim);        // no DIFAT sectors
    u32(cab, 0);
    u32(cab, 0);          // DIFAT[0]: the FAT is sector 0
    for (int i = 1; i < 109; ++i)
        u32(cab, livre);

    QByteArray fat;
    u32(fat, 0xFFFFFFFD);
    if (mini)
        u32(fat, fim);
    for (int i = 0; i < setoresStream; ++i)
        u32(fat, i + 1 == setoresStream ? fim : primeiro + quint32(i) + 1);
    u32(fat, fim);
    while (fat.size() < 512)
        u32(fat, livre);
    QByteArray miniFat;
    if (mini) {
        for (int i = 0; i < pedacos; ++i)
            u32(miniFat, i + 1 == pedacos ? fim : quint32(i + 1));
        while (miniFat.size() < 512)
            u32(miniFat, livre);
    }

    auto entrada = [](const QString& nome, quint8 tipo, quint32 filho, quint32 inicio, quint32 tamanho) {
        QByteArray e;
        for (QChar c : nome)
            u16(e, c.unicode());
        e += QByteArray(64 - e.size(), '\0');
        u16(e, quint16((nome.size() + 1) * 2));
        e.append(char(tipo)).append(char(1));
        u32(e, livre);
        u32(e, livre);
        u32(e, filho);
        e += QByteArray(16 + 4 + 16, '\0');
        u32(e, inicio);
        u32(e, tamanho);
        u32(e, 0);
        return e;
    };
    QByteArray dir = entrada(QStringLiteral("Root Entry"), 5, 1, mini ? primeiro : fim, mini ? quint32(pedacos * 64) : 0)
        + entrada(QStringLiteral("Workbook"), 2, livre, mini ? 0 : primeiro, tamanho);
    dir += QByteArray(512 - dir.size(), '\0');
    return cab + fat + miniFat + stream + dir;
}

// A small workbook whose dimensions record declares 65 536 rows of 256
// columns: laying out the declared cells would take seconds.
inline QByteArray declarandoCelulasDemais(bool mini)
{
    QByteArray livro = workbook(QStringLiteral("Plan1"), {{QStringLiteral("Data"), QStringLiteral("Referente")}});
    const qsizetype dim = livro.indexOf(QByteArray("\x00\x02\x0e\x00", 4));
    if (dim <= 0)
        return QByteArray();
    QByteArray declarado;
    u32(declarado, 0);
    u32(declarado, 65536);
    u16(declarado, 0);
    u16(declarado, 256);
    livro.replace(dim + 4, declarado.size(), declarado);
    return arquivoComposto(livro, mini);
}

} // namespace xls

inline bool escreverXls(const QString& path, const QString& nomeFolha, const std::vector<std::vector<QVariant>>& rows,
                        bool mini = false)
{
    return escreverArquivo(path, xls::arquivoComposto(xls::workbook(nomeFolha, rows), mini));
}

} // namespace testsupport
