#pragma once
// What every test of a window or of the account file needs: a temporary
// drives folder, fresh account files, a fixed today, recorded message boxes,
// modal windows handed to the test, and a login without the dialog.
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QDate>
#include <QHash>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace platform {
class FlexGrid;
}

namespace testsupport {

// No test may wait on a real box or a modal loop: without a recorder or a
// hook installed, boxes answer OK / Yes and modal windows close at once,
// each noted on stderr.
void installTestDefaults();

// Keeps every message and input box call; answers from a script (first in,
// first out), OK / Yes / empty text when the script runs out.
class MsgRecorder {
public:
    MsgRecorder();
    ~MsgRecorder();

    std::vector<platform::MsgCall> calls;
    std::vector<platform::InputCall> inputs;

    void answer(int result) { answers_.push_back(result); }
    void answerInput(const QString& text) { inputAnswers_.push_back(text); }

    const platform::MsgCall& last() const { return calls.back(); }
    QString lastText() const { return calls.empty() ? QString() : calls.back().text; }
    void clear() { calls.clear(); inputs.clear(); }

private:
    std::vector<int> answers_;
    std::vector<QString> inputAnswers_;
};

// Windows shown modally are handed to the functions registered here by
// type; a window with none registered is closed at once.
class ModalHook {
public:
    ModalHook();
    ~ModalHook();

    template <class T> void on(std::function<void(T&)> act)
    {
        handlers_.push_back([act](platform::Form& f) {
            if (auto* t = dynamic_cast<T*>(&f)) {
                act(*t);
                return true;
            }
            return false;
        });
    }
    // The windows shown, by class name, in order.
    std::vector<QString> shown;

private:
    std::vector<std::function<bool(platform::Form&)>> handlers_;
};

// The key-derivation count of the accounts the fixtures make and open.
inline constexpr int kIteracoesDeTeste = 2;

// What a user sees of a window during a long wait: its paints counted
// while one is asked for every 20 ms, and the cursor shown at a moment.
class Pinturas : public QObject {
public:
    explicit Pinturas(QWidget* janela);
    int n = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override;

private:
    QTimer repintar_;
};
// The application's cursor now: the override's shape, or the arrow.
Qt::CursorShape cursorAtual();

// A reason for the file to refuse a write, set up and taken away again, and
// what the user is told of it.
struct CausaDeRecusa {
    const char* nome;
    std::function<void()> causa;
    std::function<void()> fim;
    QString mensagem;
};
// Lets a test's own trigger fire on a connection, to make the engine fail
// a write: the program's connections run none (nor make one).
void permitirGatilhos(data::Connection& db);

// What the user is told of a write refused for each cause.
extern const QString kRecusaOcupado;
extern const QString kRecusaSemEspaco;
extern const QString kRecusaSomenteLeitura;

// A temporary folder that stands for the drives (VORSAL_DRIVES), with
// today fixed; removed with everything in it at the end of the test.
class DrivesFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The local folder of a drive's "Banco" (created).
    QString bancoFolder(const QString& letter = QStringLiteral("C")) const;
    // Makes a fresh account file "<nome>.mdb" on a drive; returns its path.
    QString createAccount(const QString& nome, const QString& senha = QStringLiteral("1234"),
                          const QString& letter = QStringLiteral("C"));
    // Writes an account file again as an earlier version kept it: keyed
    // with the former fixed key, or unencrypted (an empty key).
    void regravarComo(const QString& path, const data::Keying& keying);
    // The permission bits of a file or folder (not through a link).
    static int modoDe(const QString& path);
    // Opens an account as a successful login would, without the dialog,
    // with the password it was created with.
    void login(const QString& nome, const QString& letter = QStringLiteral("C"));

    // Makes a file read-only as a user meets it (write-protected; immutable
    // when the tests run as a user every file is writable to); false when
    // this machine allows neither. Undone at the end of the test.
    bool tornarSomenteLeitura(const QString& path);
    void tornarGravaveis();
    // Whether this machine keeps the immutable flag on the drives' files,
    // so that even a descriptor open for writing is refused (EPERM): only
    // a root user sets it, and only some file systems keep it.
    bool imutavelFunciona();

    QDate today{2024, 3, 15};
    QStringList somenteLeitura_;
    QTemporaryDir dir;
    QByteArray oldDrives;
    QHash<QString, QString> senhas;  // by file path
};

// A fresh account "Casa" (with the plan of classifications a new file
// holds) opened as after a login, and what tests write into it or read
// from it straight, past the windows.
class LoggedInFixture : public DrivesFixture {
protected:
    void SetUp() override;

    // Empties the plan, for tests that set up classifications of their own.
    static void limparPlano();
    static void classe(int codigo, const char* nome, const char* tipo, const char* conta);
    // The code of a classification of the plan, by its name.
    static std::int64_t codigo(const QString& nome);

    // An entry due and posted on `ven`, letter "A"; its side follows the
    // sign, 0 counting as incoming. Tests adjust the rest before gravar().
    static data::Lancamento novoLancamento(const QDate& ven, const QString& referente, data::Centavos valor,
                                           const QString& despesa, const QString& conta = QString());
    static std::int64_t gravar(const data::Lancamento& l);
    // Every row of the ledger, oldest first.
    static std::vector<data::Lancamento> lancamentos();
    static qint64 contar(const QString& tabela);

    // A window loaded and shown as the main window shows it, and made the
    // active one so that keys reach its focused control.
    template <class T> static T& aberta()
    {
        T& f = platform::Forms::get<T>();
        f.show();
        f.activateWindow();
        QApplication::setActiveWindow(&f);
        return f;
    }
    // The same, once the window has become the active one.
    template <class T> static T& ativa()
    {
        T& f = aberta<T>();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }

    // Types into a control character by character, accented ones too,
    // which keyClicks cannot send.
    static void digitar(QWidget* w, const QString& texto)
    {
        for (QChar c : texto)
            QTest::sendKeyEvent(QTest::KeyAction::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    // The texts of a grid's data rows in one column, top to bottom.
    static QStringList coluna(const platform::FlexGrid& grade, int col);
    static QStringList coluna(const platform::FlexGrid* grade, int col) { return coluna(*grade, col); }
    // The texts of one row, left to right.
    static QStringList linha(const platform::FlexGrid& grade, int row);
    static QStringList linha(const platform::FlexGrid* grade, int row) { return linha(*grade, row); }
};

} // namespace testsupport
