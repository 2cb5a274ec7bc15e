// vorsal-gerar-dados ARQUIVO N [SEMENTE]
// Fills an existing account file with N realistic entries spread over the
// twenty years up to today (with forecasts and instalments ahead of today,
// both sides, every classification) and a set of notes with reminders.
// Used for the demonstration account and for the benchmarks.
#include "data/Conexao.h"
#include "data/Database.h"
#include "data/Despesas.h"
#include "data/Money.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <cstdio>
#include <random>

namespace {

const char* const kHistoricos[] = {"Compra mercado", "Conta de luz", "Farmácia centro", "Posto Ipiranga",
                                   "Mensalidade", "Restaurante", "Presente aniversário", "Manutenção",
                                   "Tarifa pacote", "Assinatura", "Padaria", "Feira", "Loja de roupas",
                                   "Cinema", "Consulta médica", "Material escolar"};

const char* const kHistoricosEntrada[] = {"Salário", "Adiantamento", "Rendimento poupança", "Reembolso",
                                          "Venda de usado", "Aluguel recebido"};

int run(const QString& path, int n, unsigned seed)
{
    data::Connection db;
    abrirArquivoConta(db, path);
    const auto saidas = data::classificacoes(db, data::kDespesaSaida);
    const auto entradas = data::classificacoes(db, data::kDespesaEntrada);
    if (saidas.empty() || entradas.empty()) {
        std::fprintf(stderr, "A conta não tem classificações.\n");
        return 1;
    }
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const QDate today = platform::Today();
    const QDate first = today.addYears(-20);
    const int span = int(first.daysTo(today.addDays(365)));

    data::Transaction t(db);
    data::Statement ins(db, QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, DataLan, Tipo, Despesa,"
                                           " Filtro, Conta) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    auto add = [&](const QDate& ven, const QString& ref, data::Centavos valor, const QDate& lan, bool saida,
                   const data::Despesa& d, QChar filtro) {
        ins.reset();
        ins.bind(1, ven);
        ins.bind(2, ref);
        ins.bind(3, saida ? -valor : valor);
        ins.bind(4, lan);
        ins.bind(5, saida ? QStringLiteral("1") : QStringLiteral("2"));
        ins.bind(6, QString::number(d.codigo));
        ins.bind(7, QString(filtro));
        ins.bind(8, d.conta);
        ins.exec();
    };
    int written = 0;
    while (written < n) {
        const bool saida = pick(0, 9) < 8;
        const auto& d = saida ? saidas[size_t(pick(0, int(saidas.size()) - 1))]
                              : entradas[size_t(pick(0, int(entradas.size()) - 1))];
        const QDate ven = first.addDays(pick(0, span));
        const QDate lan = ven.addDays(-pick(0, 10));
        const QChar filtro = QChar(u'A' + pick(0, 5));
        QString ref = QString::fromUtf8(saida ? kHistoricos[pick(0, 15)] : kHistoricosEntrada[pick(0, 5)]);
        const data::Centavos valor = saida ? pick(500, 150000) : pick(100000, 900000);
        const int kind = pick(0, 19);
        if (kind == 0 && written + 12 <= n) {
            // A series of monthly instalments.
            const int parcelas = pick(2, 12);
            for (int i = 1; i <= parcelas; ++i)
                add(ven.addMonths(i - 1), ref + QStringLiteral(" Parc. %1/%2").arg(i).arg(parcelas), valor / parcelas,
                    lan, saida, d, filtro);
            written += parcelas;
            continue;
        }
        if (kind == 1 || ven > today)
            ref = QStringLiteral("Previsão ") + ref;
        add(ven, ref, valor, lan, saida, d, filtro);
        ++written;
    }
    data::Statement nota(db, QStringLiteral("INSERT INTO Anotacoes (Titulo, Texto, DataAlter, DataLemb, Lembrar,"
                                            " QtdeDias, LembrarSempre) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    const char* const titulos[] = {"Pagar IPTU", "Renovar seguro do carro", "Revisão do carro", "Declarar IR",
                                   "Aniversário da Ana", "Vencimento do cartão", "Consulta dentista",
                                   "Trocar filtro de água"};
    for (int i = 0; i < 40; ++i) {
        nota.reset();
        nota.bind(1, QString::fromUtf8(titulos[i % 8]) + (i >= 8 ? QStringLiteral(" %1").arg(i / 8) : QString()));
        nota.bind(2, QStringLiteral("Lembrete gerado para a demonstração.\nSegunda linha do texto."));
        nota.bind(3, today.addDays(-pick(0, 300)));
        nota.bind(4, today.addDays(pick(-60, 300)));
        nota.bind(5, pick(0, 4) == 0 ? QStringLiteral("N") : QStringLiteral("S"));
        nota.bind(6, pick(0, 15));
        nota.bind(7, pick(0, 3) == 0 ? QStringLiteral("S") : QStringLiteral("N"));
        nota.exec();
    }
    t.commit();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "Uso: vorsal-gerar-dados ARQUIVO N [SEMENTE]\n");
        return 1;
    }
    bool ok = false;
    const int n = args[2].toInt(&ok);
    if (!ok || n < 0) {
        std::fprintf(stderr, "N deve ser um número inteiro.\n");
        return 1;
    }
    try {
        return run(args[1], n, args.size() > 3 ? args[3].toUInt() : 406172u);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
