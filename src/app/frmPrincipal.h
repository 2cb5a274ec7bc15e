#pragma once
// The start-up window: the month calendar, the reminders that are due, the
// active account, and the menu and toolbar that open every other window.
#include "platform/Form.h"

#include <QDate>
#include <QLabel>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class QAction;
class QComboBox;
class QFrame;
class QListWidget;
class QToolBar;
namespace platform {
class FocusGroup;
}

// One day cell of the month calendar: a label that holds its date and
// reports a double-click.
class DiaCalendario : public QLabel {
    Q_OBJECT
public:
    explicit DiaCalendario(QWidget* parent = nullptr);

    QDate data;  // the date the last drawing put into the cell
    // The cell's date as text, "DD/MM/YYYY".
    QString Tag() const;

signals:
    void duploClique();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

class frmPrincipal : public platform::MainForm {
    Q_OBJECT
public:
    explicit frmPrincipal(QWidget* parent = nullptr);
    ~frmPrincipal() override;

    // Controls.
    QComboBox* cbxMeses = nullptr;
    QComboBox* cbxAnos = nullptr;
    QFrame* fraCalendario = nullptr;
    std::array<DiaCalendario*, 42> D{};  // D[0] is the first cell, D(1)
    std::array<QLabel*, 7> lblSemana{};  // "DOM" .. "SÁB"
    QListWidget* lstAnotacoes = nullptr;  // each item keeps its note's Codigo in Qt::UserRole
    QToolBar* Toolbar1 = nullptr;         // each action's data is its key, "A" .. "O"
    QLabel* lblBancoAtivo = nullptr;
    QLabel* lblUltimoAcesso = nullptr;

    // Menu items.
    QAction* mnuImportar = nullptr;
    QAction* mnuVisualizar = nullptr;
    QAction* mnuTrocar = nullptr;
    QAction* mnuCalculos = nullptr;
    QAction* mnuSair = nullptr;
    QAction* mnuPorData = nullptr;
    QAction* mnuPorHistorico = nullptr;
    QAction* mnuEstruturada = nullptr;
    QAction* mnuEstruturada2 = nullptr;
    QAction* mnuPorConta = nullptr;
    QAction* mnuPorValor = nullptr;
    QAction* mnuFluxo = nullptr;
    QAction* mnuSaldo = nullptr;
    QAction* mnuLancar = nullptr;
    QAction* mnuClassificacao = nullptr;
    QAction* mnuSenha = nullptr;
    QAction* mnuSobre = nullptr;

    void Form_Load() override;

    // Handlers.
    void Toolbar1_ButtonClick(const QString& key);
    void mnuSaldo_Click();
    void mnuTrocar_Click();
    void mnuSair_Click();
    void lstAnotacoes_DblClick();
    void cbxMeses_Click();
    void cbxAnos_Click();
    // index 1..42, as D(index)
    void D_DblClick(int index);

    // Procedures.
    void VerificaAnot();
    // Fills the month and year lists around today, selecting today's month
    // and year (once, after the first login).
    void preencherMesesAnos();
    void Montar_Calendario();
    void Backup();
    // Deletes every backup copy of the active account in "C:\Banco\" except
    // the file named by manter (a file name, or empty for none).
    void VerificaExistente(const QString& manter = QString());

    // The current balance as shown by "Saldo Atual": "R$ " and the sum of the
    // entries due up to today.
    QString SaldoAtualTexto();
    // The day count shown by a double-click on a calendar cell.
    static QString textoDiasCorridos(const QDate& today, const QDate& d);
    // The main window's caption: today's long date.
    static QString dataPorExtenso(const QDate& d);

    // Backup, then the end of the program.
    void Encerrar();

    // Openers of the other windows, registered before the main window loads.
    static void registrarJanela(const QString& nomeJanela, std::function<void()> abrir);
    static bool janelaRegistrada(const QString& nomeJanela);
    // Opens a note by its number (double-click on a reminder).
    static void registrarAbrirAnotacao(std::function<void(std::int64_t codigo)> abrir);

    // Ends the program at once. Tests replace it to observe the end.
    static std::function<void()> encerrarPrograma;
    // The production ending: closes the connection and leaves the process.
    static void encerrarProcesso();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void construirMenu();
    void construirToolbar();
    void construirCalendario(QWidget* parent);
    void abrirJanela(const QString& nomeJanela);
    void atualizarDisponiveis();

    bool encerrando_ = false;
    platform::FocusGroup* dias_ = nullptr;  // the day cells, one Tab stop
};
