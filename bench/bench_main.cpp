// Benchmarks over a large account file made by the generator. Run by hand.
#include "data/Anotacoes.h"
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "data/Senha.h"
#include "entries/frmZalteracao.h"
#include "platform/FlexGrid.h"
#include "platform/MaskEdBox.h"
#include "platform/MsgBox.h"
#include "platform/formats.h"
#include "platform/sheets.h"
#include "support/GradeLonga.h"
#include "support/Planilhas.h"
#include "queries/frmConsVen.h"
#include "cashflow/frmFluxo.h"
#include "app/frmPrincipal.h"
#include "app/frmSenha.h"
#include "janelas.h"
#include <QListWidget>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include "platform/Application.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QTemporaryDir* drives = nullptr;

void prepareAccount()
{
    drives = new QTemporaryDir();
    qputenv("VORSAL_DRIVES", drives->path().toLocal8Bit());
    const QByteArray n = qgetenv("VORSAL_BENCH_N").isEmpty() ? QByteArray("200000") : qgetenv("VORSAL_BENCH_N");
    QProcess criador;
    criador.start(QStringLiteral(VORSAL_CREATOR), {"C", "Bench"});
    criador.write("1234\n");
    criador.closeWriteChannel();
    criador.waitForFinished(-1);
    const QString arquivo = QDir(drives->path()).filePath("C/Banco/Bench.mdb");
    // An account made before (VORSAL_BENCH_FILE, password 1234) saves
    // generating a large one for every run.
    const QString pronto = qEnvironmentVariable("VORSAL_BENCH_FILE");
    if (!pronto.isEmpty()) {
        QFile::remove(arquivo);
        QFile::copy(pronto, arquivo);
    } else {
        QProcess gerador;
        gerador.setProcessChannelMode(QProcess::ForwardedChannels);
        gerador.start(QStringLiteral(VORSAL_GENERATOR), {arquivo, QString::fromLatin1(n)});
        gerador.write("1234\n");
        gerador.closeWriteChannel();
        gerador.waitForFinished(-1);
    }
    DriveBanco = QStringLiteral("C:");
    NomeBanco = QStringLiteral("Bench");
    CaminhoBanco = QStringLiteral("C:\\Banco\\Bench.mdb");
    ChaveBanco = "1234";
    std::printf("account file with %s entries\n", n.constData());
}

// The login dialog loads (drive, account list), the password is typed and
// Enter opens the account file and compares the stored password.
void BM_OpenAndLogin(benchmark::State& state)
{
    for (auto _ : state) {
        ConexaoBanco.close();
        auto& login = platform::Forms::get<frmSenha>();
        login.txtSenha->setText(QStringLiteral("1234"));
        login.txtSenha_KeyDown(Qt::Key_Return);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!SenhaAceita)
            state.SkipWithError("login failed");
    }
}
BENCHMARK(BM_OpenAndLogin)->Unit(benchmark::kMillisecond);

frmPrincipal& mainWindow()
{
    static frmPrincipal* w = [] {
        auto* f = new frmPrincipal();
        f->preencherMesesAnos();
        return f;
    }();
    if (!ConexaoBanco.isOpen())
        AbrirConexao();
    return *w;
}

void BM_SaldoAtual(benchmark::State& state)
{
    auto& w = mainWindow();
    for (auto _ : state)
        benchmark::DoNotOptimize(w.SaldoAtualTexto());
}
BENCHMARK(BM_SaldoAtual)->Unit(benchmark::kMillisecond);

void BM_VerificaAnot(benchmark::State& state)
{
    auto& w = mainWindow();
    for (auto _ : state)
        w.VerificaAnot();
    state.counters["reminders"] = w.lstAnotacoes->count();
}
BENCHMARK(BM_VerificaAnot)->Unit(benchmark::kMillisecond);

void BM_Montar_Calendario(benchmark::State& state)
{
    auto& w = mainWindow();
    for (auto _ : state)
        w.Montar_Calendario();
}
BENCHMARK(BM_Montar_Calendario)->Unit(benchmark::kMicrosecond);

// The due-date period that lists about `count` entries from the oldest one.
std::pair<QDate, QDate> periodListing(int count)
{
    data::Statement first(ConexaoBanco, QStringLiteral("SELECT min(DataVen) FROM Lancamentos"));
    first.next();
    data::Statement last(ConexaoBanco,
                         QStringLiteral("SELECT DataVen FROM Lancamentos ORDER BY DataVen LIMIT 1 OFFSET ?"), count - 1);
    last.next();
    return {first.date(0), last.date(0)};
}

void queryByDate(frmConsVen& f, std::pair<QDate, QDate> period)
{
    f.optConsulta[0]->setChecked(true);
    f.txtTipo->setCurrentIndex(f.txtTipo->findText(QStringLiteral("Ambos")));
    f.txtData1->setText(platform::fmtDate(period.first));
    f.txtData2->setText(platform::fmtDate(period.second));
    f.cmdConsulta_Click();
}

void BM_QueryByDate(benchmark::State& state)
{
    if (!ConexaoBanco.isOpen())
        AbrirConexao();
    auto& f = platform::Forms::get<frmConsVen>();
    const auto period = periodListing(int(state.range(0)));
    for (auto _ : state)
        queryByDate(f, period);
    state.counters["rows"] = f.flxConsulta->Rows() - 1;
}
BENCHMARK(BM_QueryByDate)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The editor changes one listed entry and saves; the query that opened it
// (1 000 entries) is refreshed.
void BM_EditorSaveAndRefresh(benchmark::State& state)
{
    if (!ConexaoBanco.isOpen())
        AbrirConexao();
    auto& consulta = platform::Forms::get<frmConsVen>();
    queryByDate(consulta, periodListing(1000));
    const QString numLan = consulta.flxConsulta->TextMatrix(1, 0);
    int i = 0;
    for (auto _ : state) {
        NomeConsultaAtiva = QStringLiteral("Consulta por Vencimento");
        IncluirLancamento = false;
        auto& editor = platform::Forms::get<frmZalteracao>();
        editor.txtNumLan->setText(QString::number(numLan.toLongLong()));
        editor.txtValor->setText(QStringLiteral("%1,00").arg(100 + (i++ % 50)));
        editor.cmdGravaLan_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_EditorSaveAndRefresh)->Unit(benchmark::kMillisecond);

// The cash-flow register rebuilt over the last year (lists, balances, the
// positive balances and the lowest balance of the next twelve months).
void BM_FluxoUmAno(benchmark::State& state)
{
    if (!ConexaoBanco.isOpen())
        AbrirConexao();
    auto& f = platform::Forms::get<frmFluxo>();
    f.txtDataInicial->setText(platform::fmtDate(platform::Today().addYears(-1)));
    f.txtDataFinal->setText(platform::fmtDate(platform::Today()));
    for (auto _ : state)
        f.cmdOK_Click();
    state.counters["rows"] = f.flxConsulta->Rows() - 1;
}
BENCHMARK(BM_FluxoUmAno)->Unit(benchmark::kMillisecond);

// A hundred thousand rows written into the grid cell by cell, each with its
// background, as a long listing fills it (was held under 2 s).
void BM_GradeCemMilLinhas(benchmark::State& state)
{
    for (auto _ : state) {
        platform::FlexGrid grid;
        testsupport::encherGradeLonga(grid, 100000);
    }
}
BENCHMARK(BM_GradeCemMilLinhas)->Unit(benchmark::kMillisecond);

// A workbook declaring 65 536 x 256 cells, refused before the cells are laid
// out (was held under 1.5 s).
void BM_PlanilhaDeclaraCelulasDemais(benchmark::State& state)
{
    const QString caminho = QDir(drives->path()).filePath(QStringLiteral("declara.xls"));
    testsupport::escreverArquivo(caminho, testsupport::xls::declarandoCelulasDemais(state.range(0) != 0));
    for (auto _ : state) {
        platform::Worksheet ws;
        QString erro;
        benchmark::DoNotOptimize(platform::readWorksheet(caminho, QStringLiteral("Plan1"), ws, erro));
    }
}
BENCHMARK(BM_PlanilhaDeclaraCelulasDemais)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::installPortuguese(app);
    platform::setSheetReaderProgram(QStringLiteral(VORSAL_SHEET_READER));
    prepareAccount();
    // Message boxes answer at once: the benchmarks measure the work, not a user.
    platform::setMsgBoxHandler([](const platform::MsgCall& c) {
        return c.buttons() == platform::vbYesNo ? int(platform::vbYes) : int(platform::vbOK);
    });
    if (argc > 1 && QByteArrayView(argv[1]) == "--janelas") {
        const int rc = bench::janelas(qgetenv("VORSAL_BENCH_N").toLong());
        ConexaoBanco.close();
        delete drives;
        return rc;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ConexaoBanco.close();
    delete drives;
    return 0;
}
