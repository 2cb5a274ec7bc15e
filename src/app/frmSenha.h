#pragma once
// The login dialog: the data drive, the account files of its "\Banco\"
// folder, and the password that unlocks the chosen account.
#include "platform/Form.h"

class QComboBox;
class QLineEdit;
class QListWidget;

class frmSenha : public platform::Form {
    Q_OBJECT
public:
    explicit frmSenha(QWidget* parent = nullptr);

    QComboBox* txtFiltro = nullptr;   // "A" .. "Z"
    QListWidget* lstBancos = nullptr; // account names; each item keeps its real file name in Qt::UserRole
    QLineEdit* txtSenha = nullptr;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool& cancel) override;

    // Handlers.
    void txtFiltro_Click();
    void lstBancos_Click();
    void txtSenha_KeyDown(int key);

    // Procedures.
    void BuscaBancos();

    // The account name a file of "\Banco\" stands for, or an empty text when
    // the file is not an account file the list shows (a copy, another kind).
    static QString nomeDaConta(const QString& nomeArquivo);
    // The drive letter the first line of Drive.txt names ("C" when none).
    static QString driveInicial();
    // How to make an account on a drive, for a drive that holds none.
    static QString comoCriarConta(const QString& letra);
    // The message naming an account file that cannot be read.
    static QString arquivoIlegivel(const QString& caminho);

protected:
    void escapePressed() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void escolherDrive(const QString& letra);
    void selecionarConta(int linha);
    void Login();
    void recusarArquivo(const QString& mensagem);
    void senhaInvalida();

    bool comoCriarConta_ = false;  // the next empty listing says how to make an account
};
