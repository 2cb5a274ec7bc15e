// Benchmarks over a large account file made by the generator. Run by hand.
#include "data/Anotacoes.h"
#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "data/Senha.h"
#include "platform/Application.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QDir>
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
    QProcess::execute(QStringLiteral(VORSAL_CREATOR), {"C", "Bench", "1234"});
    QProcess::execute(QStringLiteral(VORSAL_GENERATOR),
                      {QDir(drives->path()).filePath("C/Banco/Bench.mdb"), QString::fromLatin1(n)});
    DriveBanco = QStringLiteral("C:");
    NomeBanco = QStringLiteral("Bench");
    CaminhoBanco = QStringLiteral("C:\\Banco\\Bench.mdb");
    std::printf("account file with %s entries\n", n.constData());
}

void BM_OpenAndLogin(benchmark::State& state)
{
    for (auto _ : state) {
        ConexaoBanco.close();
        AbrirConexao();
        benchmark::DoNotOptimize(data::lerSenha(ConexaoBanco).senha == QStringLiteral("1234"));
    }
}
BENCHMARK(BM_OpenAndLogin)->Unit(benchmark::kMillisecond);

void BM_SaldoAtual(benchmark::State& state)
{
    if (!ConexaoBanco.isOpen())
        AbrirConexao();
    for (auto _ : state)
        benchmark::DoNotOptimize(data::balanceUntil(ConexaoBanco, platform::Today()));
}
BENCHMARK(BM_SaldoAtual)->Unit(benchmark::kMillisecond);

void BM_LembretesDevidos(benchmark::State& state)
{
    if (!ConexaoBanco.isOpen())
        AbrirConexao();
    for (auto _ : state)
        benchmark::DoNotOptimize(data::lembretesDevidos(ConexaoBanco, platform::Today()).size());
}
BENCHMARK(BM_LembretesDevidos)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::installPortuguese(app);
    prepareAccount();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ConexaoBanco.close();
    delete drives;
    return 0;
}
