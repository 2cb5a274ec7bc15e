#include "data/AccountFile.h"

#include "data/Conexao.h"
#include "data/Schema.h"
#include "platform/PrivateFile.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace data {
namespace {

struct StarterClass {
    const char* name;
    const char* tipo;  // "2" outgoing, "1" incoming
    const char* conta;
    const char* preClass;
};

// A starter plan over the sixteen groups; the user alters and extends it.
const StarterClass kStarterPlan[] = {
    {"Supermercado", "2", "Alimentação", "SUPERMERC"},
    {"Padaria", "2", "Alimentação", "PADARIA"},
    {"Restaurantes", "2", "Alimentação", ""},
    {"Combustível", "2", "Transporte", "POSTO"},
    {"Transporte Público", "2", "Transporte", ""},
    {"Manutenção do Veículo", "2", "Transporte", ""},
    {"Plano de Saúde", "2", "Saúde", ""},
    {"Farmácia", "2", "Saúde", "DROGARIA"},
    {"Consultas e Exames", "2", "Saúde", ""},
    {"Aluguel", "2", "Moradia", ""},
    {"Condomínio", "2", "Moradia", ""},
    {"Energia Elétrica", "2", "Moradia", ""},
    {"Água e Esgoto", "2", "Moradia", ""},
    {"Gás", "2", "Moradia", ""},
    {"Mensalidade Escolar", "2", "Educação", ""},
    {"Livros e Material", "2", "Educação", ""},
    {"Tarifas Bancárias", "2", "Bancos / Financiamentos", "TARIFA"},
    {"Juros", "2", "Bancos / Financiamentos", "JUROS"},
    {"Financiamento", "2", "Bancos / Financiamentos", ""},
    {"Telefone Celular", "2", "Comunicação", ""},
    {"Internet", "2", "Comunicação", ""},
    {"Vestuário", "2", "Gastos Pessoais", ""},
    {"Cuidados Pessoais", "2", "Gastos Pessoais", ""},
    {"Viagens", "2", "Lazer", ""},
    {"Cinema e Passeios", "2", "Lazer", ""},
    {"Seguro do Carro", "2", "Seguros", ""},
    {"Seguro Residencial", "2", "Seguros", ""},
    {"IPTU", "2", "Impostos / Taxas / Contribuições", "IPTU"},
    {"IPVA", "2", "Impostos / Taxas / Contribuições", "IPVA"},
    {"Imposto de Renda", "2", "Impostos / Taxas / Contribuições", ""},
    {"Poupança", "2", "Investimentos", ""},
    {"Previdência Privada", "2", "Investimentos", ""},
    {"Saída Não Classificada", "2", "Outras Saídas", ""},
    {"Saque", "2", "Outras Saídas", "SAQUE"},
    {"Aluguel Recebido", "1", "Patrimoniais", ""},
    {"Rendimentos", "1", "Patrimoniais", "RENDIMENTO"},
    {"Salário", "1", "Trabalho", "SALARIO"},
    {"Adiantamento Salarial", "1", "Trabalho", ""},
    {"Décimo Terceiro", "1", "Trabalho", ""},
    {"Entrada Não Classificada", "1", "Outras Entradas", ""},
    {"Depósito", "1", "Outras Entradas", "DEPOSITO"},
};

// Codes 94 and 95 are reserved: the plan window never alters them and the
// cash flow draws their entries in blue.
const StarterClass kReserved94 = {"Transferência Enviada", "2", "Outras Saídas", ""};
const StarterClass kReserved95 = {"Transferência Recebida", "1", "Outras Entradas", ""};

void insertClass(Connection& db, const StarterClass& c, std::int64_t codigo = 0)
{
    if (codigo > 0) {
        Statement s(db, QStringLiteral("INSERT INTO Despesas (Codigo, Despesa, Tipo, PreClass, Conta) VALUES (?, ?, ?, ?, ?)"),
                    codigo, QString::fromUtf8(c.name), QString::fromUtf8(c.tipo),
                    QString::fromUtf8(c.preClass), QString::fromUtf8(c.conta));
        s.exec();
    } else {
        Statement s(db, QStringLiteral("INSERT INTO Despesas (Despesa, Tipo, PreClass, Conta) VALUES (?, ?, ?, ?)"),
                    QString::fromUtf8(c.name), QString::fromUtf8(c.tipo), QString::fromUtf8(c.preClass),
                    QString::fromUtf8(c.conta));
        s.exec();
    }
}

} // namespace

bool nomeDeCopia(const QString& nomeArquivo)
{
    for (const char* copia : {"Cópia", "Backup", "Copia"})
        if (nomeArquivo.contains(QString::fromUtf8(copia), Qt::CaseSensitive))
            return true;
    return false;
}

QString checkAccountName(const QString& name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("O nome da conta não pode ser vazio.");
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return QStringLiteral("O nome da conta não pode conter separadores de pasta.");
    if (nomeDeCopia(name))
        return QStringLiteral("O nome da conta não pode conter \"Cópia\", \"Copia\" ou \"Backup\": "
                              "a entrada não lista essas contas, tomadas por cópias de segurança.");
    return QString();
}

QString checkNewAccount(const QString& name, const QString& senha)
{
    if (const QString problem = checkAccountName(name); !problem.isEmpty())
        return problem;
    if (senha.size() < 4 || senha.size() > 8)
        return QStringLiteral("A senha deve ter de 4 a 8 caracteres.");
    return QString();
}

void createAccountFile(const QString& localPath, const QString& senha, const QDate& today)
{
    if (QFileInfo::exists(localPath))
        throw DbError(QStringLiteral("O arquivo \"%1\" já existe.").arg(localPath));
    // Build under a temporary name and rename at the end, so that a failure
    // never leaves a half-made account file.
    const QString temp = localPath + QStringLiteral(".criando");
    QFile::remove(temp);
    // The engine keeps the mode of an existing file (and gives it to its
    // journal): the file starts empty, the user's alone.
    const int fd = platform::createPrivateFile(temp);
    if (fd < 0)
        throw DbError(QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(localPath));
    ::close(fd);
    try {
        Connection db;
        db.open(temp, Keying(senha.toUtf8()), true);
        Transaction t(db);
        createSchema(db);
        Statement(db, QStringLiteral("INSERT INTO Senha (Senha, UltimoAcesso, Backup, Drive) VALUES (?, ?, ?, ?)"),
                  senha, today, today, QStringLiteral("C")).exec();
        for (int code : {1000, 2000, 3000})
            Statement(db, QStringLiteral("INSERT INTO Orcamento (Despesa, Valor) VALUES (?, 0)"), code).exec();
        for (int code : {10000, 10001})
            Statement(db, QStringLiteral("INSERT INTO Orcamento (Despesa, Referente) VALUES (?, '')"), code).exec();
        for (const auto& c : kStarterPlan)
            insertClass(db, c);
        insertClass(db, kReserved94, 94);
        insertClass(db, kReserved95, 95);
        t.commit();
        db.close();
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    if (!QFile::rename(temp, localPath)) {
        QFile::remove(temp);
        throw DbError(QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(localPath));
    }
}

} // namespace data
