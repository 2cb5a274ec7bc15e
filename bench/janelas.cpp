// What the user waits for, window by window: the handler with its queued
// events and one paint (the grid filled), beside the time of the SQL the
// window ran replayed alone on the same file, and the best plan for the
// same rows (the statement as run, with the table scanned, or through an
// index). Prints a Markdown table. Run by hand: vorsal-bench --janelas.
#include "janelas.h"

#include "app/Backup.h"
#include "app/frmPrincipal.h"
#include "app/frmSenha.h"
#include "budget/frmPreXReal.h"
#include "cashflow/frmFluxo.h"
#include "cashflow/frmGraficos.h"
#include "data/Conexao.h"
#include "data/Senha.h"
#include "entries/frmZalteracao.h"
#include "import/Extrato.h"
#include "import/frmIntegracao.h"
#include "platform/Clock.h"
#include "platform/FlexGrid.h"
#include "platform/Form.h"
#include "platform/MaskEdBox.h"
#include "platform/formats.h"
#include "queries/frmConsHistorico.h"
#include "queries/frmConsVen.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

namespace {

std::vector<std::string>* capturadas = nullptr;

int aoExecutar(unsigned tipo, void*, void* p, void* x)
{
    if (tipo != SQLITE_TRACE_STMT || !capturadas)
        return 0;
    const char* texto = static_cast<const char*>(x);
    if (texto && texto[0] == '-' && texto[1] == '-')
        return 0;  // a trigger's statement
    char* sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(p));
    if (sql) {
        capturadas->emplace_back(sql);
        sqlite3_free(sql);
    }
    return 0;
}

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Steps a statement to its end reading every column as what it holds (a
// number as a number: asking a number for its text would time a
// conversion the window does not make); milliseconds, or -1 when the
// statement cannot be prepared (an index the plan cannot use).
double tempoSql(const std::string& sql)
{
    sqlite3* db = ConexaoBanco.handle();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &st, nullptr) != SQLITE_OK)
        return -1;
    QElapsedTimer t;
    t.start();
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < n; ++c)
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: sqlite3_column_int64(st, c); break;
            case SQLITE_FLOAT: sqlite3_column_double(st, c); break;
            case SQLITE_NULL: break;
            default: sqlite3_column_bytes(st, c); break;
            }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    sqlite3_finalize(st);
    return ms;
}

std::string substituir(std::string s, const std::string& de, const std::string& para)
{
    for (size_t p = s.find(de); p != std::string::npos; p = s.find(de, p + para.size()))
        s.replace(p, de.size(), para);
    return s;
}

bool ehLeitura(const std::string& sql)
{
    return sql.size() > 6 && (sql.compare(0, 6, "SELECT") == 0 || sql.compare(0, 6, "select") == 0);
}

// The same rows by other plans: the whole table scanned, or the index on
// the period's column.
std::vector<std::string> planos(const std::string& sql)
{
    std::vector<std::string> v{sql};
    const std::string semMais = substituir(substituir(sql, "+DataVen", "DataVen"), "+DataLan", "DataLan");
    if (sql.find("FROM Lancamentos") != std::string::npos && sql.find("INDEXED") == std::string::npos)
        v.push_back(substituir(semMais, "FROM Lancamentos", "FROM Lancamentos NOT INDEXED"));
    if (semMais != sql)
        v.push_back(semMais);
    for (const char* indice : {"Lancamentos_DataVen", "Lancamentos_DataLan"})
        if (sql.find("INDEXED") == std::string::npos)
            v.push_back(substituir(semMais, "FROM Lancamentos", std::string("FROM Lancamentos INDEXED BY ") + indice));
    return v;
}

// Counts the paints a window gets while it is timed.
struct Pinturas : QObject {
    QWidget* janela = nullptr;
    int vistas = 0;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && janela && o->isWidgetType() &&
            (o == janela || janela->isAncestorOf(static_cast<QWidget*>(o))))
            ++vistas;
        return false;
    }
} pinturas;

struct Linha {
    std::string nome;
    long linhas = -1;
    double janela = 0;
    double sql = 0;
    double melhor = 0;
};

std::vector<Linha> tabela;
int repeticoes = 5;

// Times a window's work: its handler, the events it queued, one paint.
void medir(const std::string& nome, QWidget* w, const std::function<void()>& acao,
           const std::function<long()>& linhas = {}, bool comSql = true,
           const std::function<void()>& preparar = {})
{
    // VORSAL_BENCH_ONLY: the rows whose name contains one of its texts
    // (separated by "|"), to profile one or a few.
    const QStringList so = qEnvironmentVariable("VORSAL_BENCH_ONLY").split(QLatin1Char('|'), Qt::SkipEmptyParts);
    const QString este = QString::fromStdString(nome);
    if (!so.isEmpty() && std::none_of(so.begin(), so.end(), [&](const QString& t) { return este.contains(t); }))
        return;
    if (w && !w->isVisible()) {
        w->show();
        QApplication::processEvents();
    }
    std::vector<std::string> sqls;
    capturadas = &sqls;
    if (preparar)
        preparar();
    sqlite3_trace_v2(ConexaoBanco.handle(), SQLITE_TRACE_STMT, aoExecutar, nullptr);
    acao();
    QApplication::processEvents();
    if (ConexaoBanco.isOpen())
        sqlite3_trace_v2(ConexaoBanco.handle(), 0, nullptr, nullptr);
    capturadas = nullptr;

    std::vector<double> tempos;
    pinturas.janela = w;
    qApp->installEventFilter(&pinturas);
    for (int i = 0; i < repeticoes; ++i) {
        if (preparar) {
            preparar();
            QApplication::processEvents();
        }
        QElapsedTimer t;
        t.start();
        pinturas.vistas = 0;
        acao();
        QApplication::processEvents();
        // One paint, as the event loop gives it: a second one only where the
        // events painted nothing.
        if (w && pinturas.vistas == 0)
            w->repaint();
        tempos.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    qApp->removeEventFilter(&pinturas);
    Linha l;
    l.nome = nome;
    l.janela = mediana(tempos);
    if (!ConexaoBanco.isOpen())
        AbrirConexao();
    for (const std::string& s : sqls) {
        if (!comSql || !ehLeitura(s))
            continue;
        std::vector<double> comoRodou;
        double melhor = -1;
        for (const std::string& p : planos(s)) {
            std::vector<double> ts;
            for (int i = 0; i < std::max(3, repeticoes / 2); ++i)
                ts.push_back(tempoSql(p));
            const double m = mediana(ts);
            if (m < 0)
                continue;
            if (comoRodou.empty())
                comoRodou.push_back(m);
            if (melhor < 0 || m < melhor)
                melhor = m;
        }
        l.sql += comoRodou.empty() ? 0 : comoRodou[0];
        l.melhor += std::max(0.0, melhor);
    }
    if (linhas)
        l.linhas = linhas();
    std::fprintf(stderr, "  %-46s %9.1f ms  (sql %.1f, best %.1f)\n", nome.c_str(), l.janela, l.sql, l.melhor);
    if (qEnvironmentVariableIsSet("VORSAL_BENCH_SQL"))
        for (const std::string& s : sqls)
            std::fprintf(stderr, "      %s\n", s.c_str());
    tabela.push_back(l);
}

long kbDe(const char* campo)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& linha : f.readAll().split('\n'))
        if (linha.startsWith(campo))
            return linha.mid(int(qstrlen(campo))).trimmed().split(' ').value(0).toLong();
    return 0;
}

// The due-date period that lists `count` entries from the oldest one.
std::pair<QDate, QDate> periodo(long count)
{
    data::Statement first(ConexaoBanco, QStringLiteral("SELECT min(DataVen) FROM Lancamentos"));
    first.next();
    data::Statement last(ConexaoBanco,
                         QStringLiteral("SELECT DataVen FROM Lancamentos ORDER BY DataVen LIMIT 1 OFFSET ?"),
                         qint64(count - 1));
    if (!last.next())
        return {first.date(0), platform::Today().addYears(2)};
    return {first.date(0), last.date(0)};
}

long total()
{
    return long(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Lancamentos")).toLongLong());
}

void consultaPorData(frmConsVen& f, std::pair<QDate, QDate> p, bool lancamento)
{
    f.optConsulta[lancamento ? 1 : 0]->setChecked(true);
    f.txtTipo->setCurrentIndex(f.txtTipo->findText(QStringLiteral("Ambos")));
    f.txtData1->setText(platform::fmtDate(p.first));
    f.txtData2->setText(platform::fmtDate(p.second));
    f.cmdConsulta_Click();
}

} // namespace

int janelas(long entradas)
{
    repeticoes = qEnvironmentVariableIsSet("VORSAL_BENCH_REPS") ? qEnvironmentVariableIntValue("VORSAL_BENCH_REPS")
                                                                : (entradas >= 500000 ? 3 : 5);
    if (!ConexaoBanco.isOpen())
        AbrirConexao();
    const long n = total();
    const QDate hoje = platform::Today();
    const QDate vinteAnos = hoje.addYears(-20);
    const QDate fimVinteAnos = hoje.addYears(1);
    auto& consulta = platform::Forms::get<frmConsVen>();
    auto linhasConsulta = [&] { return long(consulta.flxConsulta->Rows() - 1); };

    std::fprintf(stderr, "account of %ld entries, %d runs each\n", n, repeticoes);
    {
        // Before any window holds listed rows, since a login lets go of the
        // texts of the account it closes. The main window is built apart
        // from the forms list: its load opens the login.
        static frmPrincipal* criada = new frmPrincipal();
        auto& principal = *criada;
        principal.preencherMesesAnos();
        medir("Login (senha e abertura)", nullptr, [] {
            ConexaoBanco.close();
            auto& login = platform::Forms::get<frmSenha>();
            login.txtSenha->setText(QStringLiteral("1234"));
            login.txtSenha_KeyDown(Qt::Key_Return);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            // A refused login would time only part of the work.
            if (!SenhaAceita)
                std::fprintf(stderr, "  login refused\n");
            if (!ConexaoBanco.isOpen())
                AbrirConexao();
        }, {}, false);
        medir("\"Saldo Atual\"", nullptr, [&] { principal.SaldoAtualTexto(); });
    }
    // Memory first, before any window fills a grid: a 100 000-row listing
    // (or the whole account when smaller) in a window just shown, the page
    // cache warmed by one pass over the table.
    const auto cem = periodo(std::min(n, 100000L));
    consulta.show();
    QApplication::processEvents();
    tempoSql("SELECT * FROM Lancamentos NOT INDEXED");
    tempoSql("SELECT * FROM Lancamentos INDEXED BY Lancamentos_DataVen WHERE DataVen > ''");
    const long antes = kbDe("VmRSS:");
    QFile limpar(QStringLiteral("/proc/self/clear_refs"));
    if (limpar.open(QIODevice::WriteOnly))
        limpar.write("5");
    limpar.close();
    consultaPorData(consulta, cem, false);
    QApplication::processEvents();
    consulta.repaint();
    const long depois = kbDe("VmRSS:");
    const long pico = kbDe("VmHWM:");
    const long memLinhas = linhasConsulta();

    for (long k : {1000L, 17500L, 100000L}) {
        if (k > n)
            continue;
        const auto p = periodo(k);
        medir("Consulta por Vencimento, " + std::to_string(k) + " linhas", &consulta,
              [&] { consultaPorData(consulta, p, false); }, linhasConsulta);
    }
    medir("Consulta por Vencimento, 20 anos", &consulta,
          [&] { consultaPorData(consulta, {vinteAnos, fimVinteAnos}, false); }, linhasConsulta);
    medir("Consulta por Lançamento, 1 ano", &consulta,
          [&] { consultaPorData(consulta, {hoje.addYears(-1), hoje}, true); }, linhasConsulta);
    {
        auto& h = platform::Forms::get<frmConsHistorico>();
        h.optConsulta[1]->setChecked(true);
        h.txtConsulta->setText(QStringLiteral("mercado"));
        h.txtDataVen1->setText(platform::fmtDate(hoje.addYears(-1)));
        h.txtDataVen2->setText(platform::fmtDate(hoje));
        medir("Consulta por Histórico, \"mercado\", 1 ano", &h, [&] { h.cmdConsulta_Click(); },
              [&] { return long(h.flxConsulta->Rows() - 1); });
        h.txtDataVen1->setText(platform::fmtDate(vinteAnos));
        h.txtDataVen2->setText(platform::fmtDate(fimVinteAnos));
        medir("Consulta por Histórico, \"mercado\", 20 anos", &h, [&] { h.cmdConsulta_Click(); },
              [&] { return long(h.flxConsulta->Rows() - 1); });
        h.close();
    }
    consulta.close();
    {
        auto& f = platform::Forms::get<frmFluxo>();
        auto linhasFluxo = [&] { return long(f.flxConsulta->Rows() - 1); };
        f.txtDataInicial->setText(platform::fmtDate(hoje.addYears(-1)));
        f.txtDataFinal->setText(platform::fmtDate(hoje));
        medir("Fluxo de Caixa, 1 ano", &f, [&] { f.cmdOK_Click(); }, linhasFluxo);
        f.txtDataInicial->setText(platform::fmtDate(vinteAnos));
        f.txtDataFinal->setText(platform::fmtDate(fimVinteAnos));
        medir("Fluxo de Caixa, 20 anos", &f, [&] { f.cmdOK_Click(); }, linhasFluxo);
        // The balances-only view is built from the full one.
        medir("Fluxo de Caixa, 20 anos, somente saldos", &f, [&] { f.lblSoSaldo_Click(); }, linhasFluxo, true,
              [&] { f.cmdOK_Click(); });
        medir("Menores saldos (12 meses)", &f, [&] { f.Tempo2(); });
        f.close();
    }
    {
        auto preparar = [&](frmGraficos& g) {
            g.txtDataVen1->setText(platform::fmtDate(vinteAnos));
            g.txtDataVen2->setText(platform::fmtDate(fimVinteAnos));
            g.txtTipo->setCurrentIndex(0);
            g.txtDespesa1->setCurrentIndex(std::min(1, g.txtDespesa1->count() - 1));
            g.txtAno->setText(QString::number(hoje.year() - 1));
        };
        const std::vector<std::pair<std::string, QRadioButton* frmGraficos::*>> tipos = {
            {"Projeção do lançamento\", 20 anos", &frmGraficos::optDespesa},
            {"Comparação de lançamentos\", 1 ano", &frmGraficos::optCompara},
            {"Entradas e Saídas mensais\", 20 anos", &frmGraficos::optEntraSai},
            {"Grupo de Contas\", 20 anos", &frmGraficos::optGrupoContas}};
        auto& g = platform::Forms::get<frmGraficos>();
        preparar(g);
        for (const auto& [nome, opcao] : tipos) {
            (g.*opcao)->setChecked(true);
            medir("Gráfico \"" + nome, &g, [&] { g.cmdGerarGrafico_Click(); });
        }
        // A kind drawn where another kind was.
        for (size_t i = 0; i < tipos.size(); ++i) {
            QRadioButton* antes = g.*tipos[(i + tipos.size() - 1) % tipos.size()].second;
            QRadioButton* este = g.*tipos[i].second;
            medir("Gráfico \"" + tipos[i].first + ", depois de outro", &g, [&] {
                este->setChecked(true);
                g.cmdGerarGrafico_Click();
            }, {}, true, [&] {
                antes->setChecked(true);
                g.cmdGerarGrafico_Click();
            });
        }
        g.close();
        // The first chart of a window just opened: nothing drawn before.
        for (const auto& [nome, opcao] : tipos) {
            frmGraficos* nova = nullptr;
            medir("Gráfico \"" + nome + ", janela nova", nullptr, [&] {
                (nova->*opcao)->setChecked(true);
                nova->cmdGerarGrafico_Click();
                QApplication::processEvents();
                if (pinturas.vistas == 0)
                    nova->repaint();
            }, {}, true, [&] {
                platform::Forms::unload<frmGraficos>();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                nova = &platform::Forms::get<frmGraficos>();
                nova->show();
                preparar(*nova);
                QApplication::processEvents();
                pinturas.janela = nova;
            });
        }
        platform::Forms::unload<frmGraficos>();
    }
    {
        // One entry changed in the editor and saved, refreshing no window:
        // the save alone, its checks included.
        const qint64 numLan =
            data::scalar(ConexaoBanco,
                         QStringLiteral("SELECT NumLan FROM Lancamentos WHERE DataVen >= ? ORDER BY DataVen LIMIT 1"),
                         hoje)
                .toLongLong();
        int vez = 0;
        auto carregar = [&] {
            NomeConsultaAtiva = QString();
            IncluirLancamento = false;
            auto& e = platform::Forms::get<frmZalteracao>();
            e.txtNumLan->setText(QString::number(numLan));
            e.txtValor->setText(QStringLiteral("%1,00").arg(100 + (vez++ % 50)));
        };
        auto gravar = [] {
            platform::Forms::get<frmZalteracao>().cmdGravaLan_Click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        // A save takes a few milliseconds, most of it the disk's: more runs
        // keep the median off another program's writes.
        const int vezes = repeticoes;
        repeticoes = std::max(repeticoes, 11);
        medir("Editor: gravar um lançamento", nullptr, gravar, {}, true, carregar);
        // The first save after the account was opened.
        medir("Editor: gravar, o primeiro depois da entrada", nullptr, gravar, {}, true, [&] {
            AbrirConexao();
            carregar();
        });
        repeticoes = vezes;
    }
    {
        // The watch list of a month: its lines repeat the classifications
        // that have entries, as a long list over a large plan would watch
        // classifications each with years of entries.
        std::vector<qint64> usadas;
        {
            data::Statement s(ConexaoBanco, QStringLiteral("SELECT Codigo FROM Despesas D WHERE EXISTS (SELECT 1 FROM"
                                                           " Lancamentos L WHERE L.Despesa = CAST(D.Codigo AS TEXT))"
                                                           " ORDER BY Codigo"));
            while (s.next())
                usadas.push_back(s.integer(0));
        }
        ConexaoBanco.exec(QStringLiteral("DELETE FROM PrevistoRealizado"));
        auto& p = platform::Forms::get<frmPreXReal>();
        long vigiadas = 0;
        for (long quantas : {50L, 500L}) {
            for (; vigiadas < quantas && !usadas.empty(); ++vigiadas)
                data::Statement(ConexaoBanco, QStringLiteral("INSERT INTO PrevistoRealizado (Despesa, Valor) VALUES (?, ?)"),
                                usadas[size_t(vigiadas) % usadas.size()], qint64(10000 + vigiadas))
                    .exec();
            medir("Previsto X Realizado, " + std::to_string(quantas) + " linhas", &p, [&] { p.Atualiza(); },
                  [&] { return long(p.flxConsulta->Rows() - 1); }, false);
        }
        p.close();
        platform::Forms::unload<frmPreXReal>();
        ConexaoBanco.exec(QStringLiteral("DELETE FROM PrevistoRealizado"));
    }
    {
        // A statement of 10 000 lines over 50 words, some of them keywords
        // of the plan, read into the grid and posted; over the plan as it
        // is, then over 5 000 more classifications, one in a hundred with
        // one of the 50 words as its keyword, as a user's own classifications
        // come after the first ones. Each posting's entries are taken out
        // again before the next.
        auto& imp = platform::Forms::get<frmIntegracao>();
        imp.show();
        const QStringList palavras = [] {
            QStringList p{"SUPERMERC", "PADARIA", "POSTO", "DROGARIA", "TARIFA", "JUROS", "IPTU",
                          "IPVA", "SAQUE", "RENDIMENTO", "SALARIO", "DEPOSITO"};
            for (int i = p.size(); i < 50; ++i)
                p << QStringLiteral("LOJA%1").arg(i);
            return p;
        }();
        const qint64 ultimoAntes = data::scalar(ConexaoBanco, QStringLiteral("SELECT MAX(NumLan) FROM Lancamentos")).toLongLong();
        // The lines go in behind the grid, as a statement read puts them.
        auto preencher = [&] {
            std::vector<importacao::LinhaExtrato> linhas(10000);
            for (int r = 1; r <= 10000; ++r) {
                importacao::LinhaExtrato& l = linhas[size_t(r - 1)];
                const bool entrada = r % 10 == 0;
                l.data = hoje.addDays(-(r % 28));
                l.historico = QStringLiteral("COMPRA %1 %2").arg(palavras[r % 50]).arg(r);
                l.valor = (entrada ? 1 : -1) * (data::Centavos(10 + r % 900) * 100 + r % 100);
            }
            imp.mostrarLinhasDoExtrato(std::move(linhas));
        };
        auto desfazer = [&] {
            data::Statement(ConexaoBanco, QStringLiteral("DELETE FROM Lancamentos WHERE NumLan > ?"), ultimoAntes).exec();
        };
        auto importar = [&](const std::string& plano) {
            medir("Importação de 10000 linhas, " + plano + " classificações: pré-classificação", &imp,
                  [&] { imp.PreClassicar(); }, {}, false, preencher);
            medir("Importação de 10000 linhas, " + plano + " classificações: lançamento", &imp,
                  [&] { imp.cmdAtualiza_Click(); }, {}, false, [&] {
                      desfazer();
                      preencher();
                      imp.PreClassicar();
                      imp.cmdNaoClassificar_Click();
                  });
            desfazer();
        };
        const long plano = long(data::scalar(ConexaoBanco, QStringLiteral("SELECT COUNT(*) FROM Despesas")).toLongLong());
        importar(std::to_string(plano));
        {
            data::Transaction t(ConexaoBanco);
            for (int i = 0; i < 5000; ++i) {
                // The incoming words go to incoming classifications.
                const int palavra = i / 100;
                const bool comPalavra = i % 100 == 50;
                const bool entrada = comPalavra ? palavra >= 9 && palavra <= 11 : i % 5 == 0;
                data::Statement(ConexaoBanco,
                                QStringLiteral("INSERT INTO Despesas (Despesa, Tipo, PreClass, Conta) VALUES (?, ?, ?, ?)"),
                                QStringLiteral("Classificação %1").arg(i + 1), entrada ? "1" : "2",
                                comPalavra ? palavras[palavra] : QString(QLatin1String("")),
                                entrada ? "Outras Entradas" : "Outras Saídas")
                    .exec();
            }
            t.commit();
        }
        importar(std::to_string(plano + 5000));
        imp.close();
        platform::Forms::unload<frmIntegracao>();
    }
    // Leaving with a copy due: the last access stored, the file copied.
    medir("Backup (cópia do arquivo)", nullptr, [&] { app::fazerBackup(hoje); }, {}, false, [&] {
        if (!ConexaoBanco.isOpen())
            AbrirConexao();
        data::updateBackup(ConexaoBanco, hoje.addDays(-30));
    });

    std::printf("\n| janela | linhas | janela (ms) | SQL da janela (ms) | melhor plano (ms) | janela / melhor |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (const Linha& l : tabela) {
        const std::string linhas = l.linhas >= 0 ? std::to_string(l.linhas) : std::string("—");
        if (l.melhor > 0)
            std::printf("| %s | %s | %.1f | %.1f | %.1f | %.1f× |\n", l.nome.c_str(), linhas.c_str(), l.janela, l.sql,
                        l.melhor, l.janela / l.melhor);
        else
            std::printf("| %s | %s | %.1f | — | — | — |\n", l.nome.c_str(), linhas.c_str(), l.janela);
    }
    std::printf("\nMemória de uma listagem de %ld linhas: +%.1f MB ao processo, pico +%.1f MB\n", memLinhas,
                double(depois - antes) / 1024.0, double(pico - antes) / 1024.0);
    return 0;
}

} // namespace bench
