#include "app/Backup.h"

#include "app/Textos.h"
#include "app/frmSenha.h"

#include "data/Conexao.h"
#include "data/Senha.h"
#include "platform/PrivateFile.h"
#include "platform/Drives.h"
#include "platform/MsgBox.h"
#include "platform/formats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace app {

QString nomeCopia(const QString& nomeBanco, const QDate& dia)
{
    return nomeBanco + QStringLiteral(" Backup ") + platform::formatDate(dia, QStringLiteral("DD-MM-YYYY")) +
           QStringLiteral(".mdb");
}

QString pastaCopias() { return platform::Drives::toLocal(QStringLiteral("C:\\Banco")); }

bool ehCopiaDe(const QString& nomeArquivo, const QString& nomeBanco)
{
    // A file the login dialog lists as an account ("casa backup.mdb") is
    // never taken for a copy: deleting it would delete an account.
    if (!frmSenha::nomeDaConta(nomeArquivo).isEmpty())
        return false;
    return nomeArquivo.startsWith(nomeBanco + QStringLiteral(" Backup"), Qt::CaseInsensitive) &&
           nomeArquivo.endsWith(QStringLiteral(".mdb"), Qt::CaseInsensitive);
}

QStringList copiasDe(const QString& nomeBanco)
{
    QStringList out;
    const QDir pasta(pastaCopias());
    for (const QString& nome : pasta.entryList(QDir::Files, QDir::Name))
        if (ehCopiaDe(nome, nomeBanco))
            out.append(nome);
    return out;
}

void apagarCopiasAntigas(const QString& nomeBanco, const QString& manter)
{
    const QDir pasta(pastaCopias());
    for (const QString& nome : copiasDe(nomeBanco))
        if (nome.compare(manter, Qt::CaseInsensitive) != 0)
            QFile::remove(pasta.filePath(nome));
}

bool copiarArquivo(const QString& origem, const QString& destino)
{
    // Whatever is at the copy's name and is no plain file (a link, a
    // folder, a device) is left alone, and nothing is written through it.
    if (!platform::freeForRegularFile(destino))
        return false;
    QFile entrada(origem);
    if (!entrada.open(QIODevice::ReadOnly))
        return false;
    const QFileInfo copia(destino);
    return platform::writeAsName(copia.absolutePath(), copia.fileName(), true, [&entrada](int fd) {
        QFile saida;
        if (!saida.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
            return false;
        char bloco[1 << 16];
        for (;;) {
            const qint64 lidos = entrada.read(bloco, sizeof bloco);
            if (lidos <= 0)
                return lidos == 0 && saida.flush();
            if (saida.write(bloco, lidos) != lidos)
                return false;
        }
    });
}

void avisarUltimoAcessoNaoGravado(const data::DbError& e, const QString& depois)
{
    platform::MsgBox(QStringLiteral("O último acesso não foi gravado.") + depois + QChar(13) + e.userMessage(),
                     platform::vbCritical | platform::vbOKOnly, kAtencao);
}

bool fazerBackup(const QDate& hoje)
{
    data::SenhaRecord senha;
    try {
        senha = data::readSenha(ConexaoBanco);
    } catch (const data::DbError& e) {
        // Nothing could be read (the file held longer than the wait, or no
        // longer the account): no copy is made of what may not be a whole
        // account.
        ConexaoBanco.close();
        avisarUltimoAcessoNaoGravado(e, QStringLiteral(" A cópia de segurança não foi feita."));
        return false;
    }
    // A missing date counts as a copy made long ago.
    const bool devida = !senha.backup.isValid() || senha.backup.daysTo(hoje) >= 10;

    // The copy's date goes in with the last access, while the file is open:
    // opening it again after the copy would derive its key a second time.
    // A last access the file refuses (read-only, moved, busy past the wait)
    // does not keep the copy from being made: the copy only reads; the date
    // then stays unstored, and the copy is made again next time.
    std::optional<data::DbError> recusa;
    try {
        data::Transaction t(ConexaoBanco);
        data::updateUltimoAcesso(ConexaoBanco, hoje);
        if (devida)
            data::updateBackup(ConexaoBanco, hoje);
        t.commit();
    } catch (const data::DbError& e) {
        recusa = e;
    }
    ConexaoBanco.close();

    bool copiada = false;
    if (devida) {
        // Today's copy is complete before any older one goes, so the account
        // is never without a copy; a failed copy leaves everything as it was.
        const QString nome = nomeCopia(NomeBanco, hoje);
        copiada = copiarArquivo(caminhoLocalBanco(), QDir(pastaCopias()).filePath(nome));
        if (copiada) {
            apagarCopiasAntigas(NomeBanco, nome);
        } else if (!recusa) {
            // The date stored names a copy that was not made: the old one
            // goes back, so the copy is tried again on the next exit. The
            // program is ending: a file that refuses it now is left as it is.
            try {
                AbrirConexao();
                data::updateBackup(ConexaoBanco, senha.backup);
            } catch (const data::DbError&) {
            }
            ConexaoBanco.close();
        }
    }
    if (recusa)
        avisarUltimoAcessoNaoGravado(*recusa, copiada ? QStringLiteral(" A cópia de segurança foi feita.")
                                                      : QString());
    return copiada;
}

} // namespace app
