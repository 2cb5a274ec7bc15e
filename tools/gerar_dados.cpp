// vorsal-gerar-dados ARQUIVO N [SEMENTE]
// The account's password is asked on the terminal, or read from the first
// line of standard input when that is no terminal.
// Fills an existing account file with N entries spread over the twenty years
// up to today and the year ahead, and a set of notes with reminders. The
// entries are a household's books at each year's prices: two salaries and
// their thirteenth, rent and later a mortgage, groceries, bills, school,
// health, leisure, instalment purchases and now and then a larger item or a
// tax; entries after today are forecasts. A savings account takes the
// surplus and gives it back when the balance runs low, so the balance stays
// that of a family whatever N is: with few entries a month the smaller items
// are left out (their spending goes to a kept item of the same group), with
// many the everyday purchases are split into smaller ones.
// Used for the demonstration account and for the benchmarks.
#include "SenhaTerminal.h"
#include "data/Conexao.h"
#include "data/Database.h"
#include "data/Despesas.h"
#include "data/Money.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

using data::Centavos;

// One entry-to-be of a month, before the month's entries are counted out.
struct Item {
    QString classe;      // classification name
    QStringList refs;    // descriptions; each entry picks one
    Centavos valor = 0;  // positive; the side gives the sign
    int dia = 0;         // day of the month; 0 for any day
    bool saida = true;
    double peso = 0;     // chance of a place in a month of few entries; 0: placed first, in list order
    int partes = 1;      // everyday purchases: how many entries the month's total naturally makes
};

// A purchase or a yearly bill paid in monthly instalments.
struct Serie {
    QString classe;
    QString ref;
    Centavos parcela = 0;
    int inicio = 0;  // index of the month of the first instalment
    int n = 1;
    int dia = 10;
};

struct Lancamento {
    QDate ven;
    QString ref;
    Centavos valor = 0;  // signed
    const data::Despesa* d = nullptr;
};

class Familia {
public:
    Familia(data::Connection& db, unsigned seed)
        : rng_(seed), hoje_(platform::Today()), plano_(data::classificacoes(db))
    {
        for (const auto& d : plano_) {
            porNome_.insert(d.nome, &d);
            const data::Despesa*& padrao = d.tipo == data::kDespesaSaida ? saidaPadrao_ : entradaPadrao_;
            if (!padrao)
                padrao = &d;
        }
    }

    bool temPlano() const { return saidaPadrao_ && entradaPadrao_; }

    // The `quantos` entries of the month starting on `primeiro`, the
    // `indice`-th month of the books.
    std::vector<Lancamento> mes(const QDate& primeiro, int indice, int quantos);

private:
    double sorteio(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(double p) { return sorteio(0, 1) < p; }
    // A price of today at the month's prices, give or take `variacao`.
    Centavos preco(double reais, double variacao = 0)
    {
        return Centavos(std::llround(reais * fator_ * sorteio(1 - variacao, 1 + variacao) * 100));
    }
    // The same in whole reais, as rents, fees and salaries are.
    Centavos redondo(double reais) const { return Centavos(std::llround(reais * fator_)) * 100; }
    const data::Despesa& despesa(const QString& nome, bool saida) const
    {
        if (const data::Despesa* d = porNome_.value(nome))
            return *d;
        return saida ? *saidaPadrao_ : *entradaPadrao_;
    }
    std::vector<Item> itens(const QDate& primeiro, int indice, int mesesAtras);
    void novasSeries(int mes, int indice);
    void serie(const QString& classe, const QString& ref, Centavos total, int inicio, int n, int dia)
    {
        series_.push_back({classe, ref, total / n, inicio, n, dia});
    }

    std::mt19937 rng_;
    QDate hoje_;
    std::vector<data::Despesa> plano_;
    QHash<QString, const data::Despesa*> porNome_;
    const data::Despesa* saidaPadrao_ = nullptr;
    const data::Despesa* entradaPadrao_ = nullptr;
    double fator_ = 1;
    Centavos saldo_ = 0;
    Centavos poupanca_ = 0;
    Centavos salario1_ = 0, salario2_ = 0;
    Centavos prestacaoImovel_ = 0, prestacaoCarro_ = 0;
    std::vector<Serie> series_;
};

// Instalment purchases and the yearly bills paid in instalments, started in
// their months.
void Familia::novasSeries(int mes, int indice)
{
    if (mes == 1) {
        if (chance(0.7))
            serie(QStringLiteral("Viagens"), QStringLiteral("Viagem de férias"), preco(6500, 0.3), indice, 6, 12);
        serie(QStringLiteral("IPVA"), QStringLiteral("IPVA"), preco(2100, 0.1), indice, 3, 20);
    }
    if (mes == 2)
        serie(QStringLiteral("IPTU"), QStringLiteral("IPTU"), preco(1900, 0.05), indice, 10, 10);
    if (mes == 7 && chance(0.3))
        serie(QStringLiteral("Viagens"), QStringLiteral("Viagem de inverno"), preco(3200, 0.3), indice, 4, 12);
    if (mes == 8)
        serie(QStringLiteral("Seguro do Carro"), QStringLiteral("Seguro do carro"), preco(2600, 0.15), indice, 4, 15);
    // Now and then a larger item.
    if (chance(0.045)) {
        static const struct {
            const char* classe;
            const char* ref;
            double reais;
            int n;
        } grandes[] = {
            {"Financiamento", "Crediário geladeira", 4200, 10},
            {"Financiamento", "Crediário notebook", 4500, 10},
            {"Financiamento", "Crediário sofá", 3600, 8},
            {"Financiamento", "Crediário máquina de lavar", 2900, 10},
            {"Consultas e Exames", "Tratamento dentário", 3000, 6},
            {"Manutenção do Veículo", "Conserto do carro", 2800, 3},
            {"Mensalidade Escolar", "Curso de inglês", 4200, 12},
            {"Vestuário", "Roupas de inverno", 1500, 3},
        };
        const auto& g = grandes[pick(0, int(std::size(grandes)) - 1)];
        serie(QString::fromUtf8(g.classe), QString::fromUtf8(g.ref), preco(g.reais, 0.2), indice, g.n, pick(5, 25));
    }
}

// Everything the family would enter in a month, before the month's entries
// are counted out; the list order of the items of weight 0 is their
// precedence.
std::vector<Item> Familia::itens(const QDate& primeiro, int indice, int mesesAtras)
{
    const int mes = primeiro.month();
    std::vector<Item> v;
    auto fixo = [&](const char* classe, QStringList refs, Centavos valor, int dia, bool saida, double peso) {
        v.push_back({QString::fromUtf8(classe), std::move(refs), valor, dia, saida, peso, 1});
    };
    auto compras = [&](const char* classe, QStringList refs, Centavos valor, double peso, int partes) {
        v.push_back({QString::fromUtf8(classe), std::move(refs), valor, 0, true, peso, partes});
    };
    const auto um = [](const char* ref) { return QStringList{QString::fromUtf8(ref)}; };

    // Placed first, in this order.
    if (indice == 0)
        fixo("Depósito", um("Saldo da conta anterior"), redondo(4000), 1, false, 0);
    fixo("Salário", um("Salário Ricardo"), salario1_ * 6 / 10, 5, false, 0);
    fixo("Salário", um("Salário Márcia"), salario2_, 5, false, 0);
    if (mesesAtras > 130)
        fixo("Aluguel", um("Aluguel apartamento"), redondo(2400), 10, true, 0);
    else
        fixo("Financiamento", um("Prestação financiamento imóvel"), prestacaoImovel_, 15, true, 0);
    compras("Supermercado", {QStringLiteral("Supermercado Extra"), QStringLiteral("Compra mercado"),
                             QStringLiteral("Atacadão"), QStringLiteral("Sacolão")},
            preco(1950, 0.1), 0, 5);
    fixo("Adiantamento Salarial", um("Adiantamento salarial Ricardo"), salario1_ * 4 / 10, 20, false, 0);
    if (mesesAtras <= 204)
        fixo("Mensalidade Escolar", um("Mensalidade escola - Pedro"), redondo(1280), 5, true, 0);
    if (mes == 11) {
        fixo("Décimo Terceiro", um("1ª parcela do 13º - Ricardo"), salario1_ / 2, 30, false, 0);
        fixo("Décimo Terceiro", um("1ª parcela do 13º - Márcia"), salario2_ / 2, 30, false, 0);
    }
    if (mes == 12) {
        fixo("Décimo Terceiro", um("2ª parcela do 13º - Ricardo"), salario1_ * 4 / 10, 20, false, 0);
        fixo("Décimo Terceiro", um("2ª parcela do 13º - Márcia"), salario2_ * 4 / 10, 20, false, 0);
    }
    if (saldo_ < 0)
        fixo("Juros", um("Juros cheque especial"), std::clamp<Centavos>(-saldo_ * 8 / 100, 500, redondo(400)), 3,
             true, 0);

    // The rest, placed by weight when the month has few entries.
    for (const Serie& s : series_)
        if (indice >= s.inicio && indice < s.inicio + s.n)
            v.push_back({s.classe, {s.ref + QStringLiteral(" Parc. %1/%2").arg(indice - s.inicio + 1).arg(s.n)},
                         s.parcela, s.dia, true, 12, 1});
    if (mesesAtras <= 90 && mesesAtras > 42)
        fixo("Financiamento", {QStringLiteral("Financiamento carro Parc. %1/48").arg(90 - mesesAtras + 1)},
             prestacaoCarro_, 15, true, 12);
    if (mesesAtras <= 150)
        fixo("Mensalidade Escolar", um("Mensalidade escola - Ana"), redondo(1280), 5, true, 10);
    fixo("Plano de Saúde", um("Plano de saúde família"), redondo(980), 8, true, 10);
    fixo("Condomínio", um("Condomínio"), preco(720, 0.02), 10, true, 9);
    // Summer bills run higher.
    const double verao = (mes <= 3 || mes == 12) ? 1.25 : 1.0;
    fixo("Energia Elétrica", um("Conta de luz"), preco(240 * verao, 0.2), 15, true, 9);
    fixo("Água e Esgoto", um("Conta de água"), preco(115 * verao, 0.15), 18, true, 8);
    fixo("Internet", um(mesesAtras > 150 ? "Internet banda larga" : "Internet fibra"), redondo(120), 12, true, 7);
    fixo("Telefone Celular", um("Plano celular"), preco(140, 0.05), 12, true, 7);
    if (mes % 2 == 0)
        fixo("Gás", um("Gás de cozinha"), preco(120, 0.05), 0, true, 4);
    compras("Combustível", {QStringLiteral("Posto Ipiranga"), QStringLiteral("Posto Shell")}, preco(620, 0.15), 6, 3);
    compras("Farmácia", {QStringLiteral("Farmácia"), QStringLiteral("Drogaria São Paulo")}, preco(190, 0.3), 6, 2);
    compras("Padaria", {QStringLiteral("Padaria")}, preco(180, 0.15), 5, 6);
    compras("Restaurantes", {QStringLiteral("Restaurante"), QStringLiteral("Pizzaria"), QStringLiteral("Lanchonete")},
            preco(380, 0.25), 4, 3);
    fixo("Tarifas Bancárias", um("Tarifa pacote de serviços"), preco(39.9), 3, true, 5);
    if (mesesAtras <= 150)
        fixo("Previdência Privada", um("Previdência privada"), redondo(400), 20, true, 4);
    compras("Cinema e Passeios", {QStringLiteral("Cinema"), QStringLiteral("Passeio com as crianças"),
                                  QStringLiteral("Teatro")},
            preco(220, 0.35), 3, 2);
    fixo("Cuidados Pessoais", um("Cabeleireiro"), preco(120, 0.3), 0, true, 3);
    fixo("Aluguel Recebido", um("Aluguel da vaga de garagem"), redondo(260), 10, false, 3);
    fixo("Rendimentos", um("Rendimento conta remunerada"), preco(35, 0.6), 1, false, 4);
    if (chance(0.5))
        fixo("Vestuário", {QStringLiteral("Loja de roupas"), QStringLiteral("Calçados")}, preco(380, 0.5), 0, true, 3);
    fixo("Transferência Enviada", um("Transferência para a mãe"), redondo(300), 10, true, 2);
    compras("Transporte Público", {QStringLiteral("Recarga bilhete único")}, preco(110, 0.2), 2, 2);
    fixo("Saque", um("Saque caixa eletrônico"), redondo(150 * sorteio(0.5, 1.5)), 0, true, 2);
    if (chance(1.0 / 6))
        fixo("Manutenção do Veículo", um("Revisão do carro"), preco(850, 0.4), 0, true, 2);
    if (chance(0.3))
        fixo("Consultas e Exames", {QStringLiteral("Consulta médica"), QStringLiteral("Exames laboratoriais")},
             preco(280, 0.4), 0, true, 1.5);
    if (mes <= 2)
        fixo("Livros e Material", um("Material escolar"), preco(mesesAtras <= 150 ? 1800 : 900, 0.3), 0, true, 9);
    else if (chance(0.2))
        fixo("Livros e Material", um("Livraria"), preco(90, 0.4), 0, true, 1);
    if (mes == 3)
        fixo("Seguro Residencial", um("Seguro residencial"), preco(450, 0.1), 15, true, 8);
    if (mes == 4 && chance(0.45))
        fixo("Imposto de Renda", um("Imposto de Renda - quota única"), preco(900, 0.6), 30, true, 8);
    if (mes == 6 && chance(0.4))
        fixo("Depósito", um("Restituição do Imposto de Renda"), preco(1500, 0.6), 15, false, 6);
    if (chance(0.08))
        fixo("Depósito", um("Venda de usado"), preco(800, 0.6), 0, false, 1);
    if (chance(0.3))
        fixo("Entrada Não Classificada", um("Pix recebido"), preco(150, 0.6), 0, false, 0.6);
    if (chance(0.3))
        fixo("Saída Não Classificada", um("Pix enviado"), preco(90, 0.6), 0, true, 0.6);
    return v;
}

std::vector<Lancamento> Familia::mes(const QDate& primeiro, int indice, int quantos)
{
    const int mesesAtras = (hoje_.year() - primeiro.year()) * 12 + hoje_.month() - primeiro.month();
    fator_ = std::pow(1.05, -mesesAtras / 12.0);
    if (indice == 0 || primeiro.month() == 1) {
        // Raises in January, a little above the prices.
        salario1_ = Centavos(std::llround(9000 * fator_ * std::pow(1.01, -mesesAtras / 12.0))) * 100;
        salario2_ = Centavos(std::llround(5600 * fator_ * std::pow(1.01, -mesesAtras / 12.0))) * 100;
    }
    if (mesesAtras == 130 || (indice == 0 && mesesAtras < 130))
        prestacaoImovel_ = redondo(2900);
    if (mesesAtras == 90 || (indice == 0 && mesesAtras < 90))
        prestacaoCarro_ = redondo(1250);
    novasSeries(primeiro.month(), indice);

    const QDate ultimo = primeiro.addMonths(1).addDays(-1);
    // One entry is kept for moving money to or from the savings at the
    // month's end.
    const bool controle = quantos >= 1;
    int vagas = quantos - (controle ? 1 : 0);

    std::vector<Item> todos = itens(primeiro, indice, mesesAtras);
    // Precedence: the items of weight 0 in list order, then the others in
    // a draw by weight and amount, so that what is left out is mostly small.
    std::vector<size_t> ordem;
    std::vector<std::pair<double, size_t>> sorteados;
    for (size_t i = 0; i < todos.size(); ++i) {
        if (todos[i].peso == 0)
            ordem.push_back(i);
        else
            sorteados.push_back({-std::log(sorteio(1e-12, 1)) / (todos[i].peso * double(todos[i].valor)), i});
    }
    std::sort(sorteados.begin(), sorteados.end());
    for (const auto& [chave, i] : sorteados)
        ordem.push_back(i);
    std::vector<int> quantas(todos.size(), 0);  // entries each item gets
    size_t proximo = 0;
    for (; proximo < ordem.size() && vagas > 0; ++proximo, --vagas)
        quantas[ordem[proximo]] = 1;

    // The spending of an item left out goes to a kept everyday purchase of
    // its group (a bill would look odd with it); otherwise the savings get
    // it.
    std::vector<bool> dobrado(todos.size(), false);
    auto grupo = [&](const Item& it) { return despesa(it.classe, it.saida).conta; };
    for (size_t i = 0; i < todos.size(); ++i) {
        if (quantas[i] || !todos[i].saida)
            continue;
        for (size_t j = 0; j < todos.size() && !dobrado[i]; ++j)
            if (quantas[j] && todos[j].partes > 1 && grupo(todos[j]) == grupo(todos[i])) {
                todos[j].valor += todos[i].valor;
                dobrado[i] = true;
            }
    }
    // Places left split the everyday purchases: first up to their natural
    // number of entries, then further in proportion to it.
    std::vector<size_t> compras;
    int naturais = 0;
    for (size_t i = 0; i < todos.size(); ++i)
        if (quantas[i] && todos[i].partes > 1) {
            compras.push_back(i);
            naturais += todos[i].partes;
        }
    for (bool deu = true; vagas > 0 && deu;) {
        deu = false;
        for (size_t i : compras)
            if (vagas > 0 && quantas[i] < todos[i].partes) {
                ++quantas[i];
                --vagas;
                deu = true;
            }
    }
    if (vagas > 0 && naturais > 0) {
        const int extra = vagas;
        for (size_t i : compras) {
            const int mais = extra * todos[i].partes / naturais;
            quantas[i] += mais;
            vagas -= mais;
        }
        for (size_t k = 0; vagas > 0; k = (k + 1) % compras.size(), --vagas)
            ++quantas[compras[k]];
    }

    std::vector<Lancamento> out;
    out.reserve(size_t(quantos));
    auto lancar = [&](const QString& classe, const QString& ref, Centavos valor, int dia, bool saida) {
        const QDate ven = dia > 0 ? QDate(primeiro.year(), primeiro.month(), std::min(dia, ultimo.day()))
                                  : primeiro.addDays(pick(0, ultimo.day() - 1));
        out.push_back({ven, ref, saida ? -valor : valor, &despesa(classe, saida)});
        saldo_ += out.back().valor;
    };
    auto descricao = [&](const Item& it) { return it.refs[pick(0, int(it.refs.size()) - 1)]; };
    auto lancarItem = [&](const Item& it, int vezes) {
        if (vezes == 1) {
            lancar(it.classe, descricao(it), it.valor, it.partes > 1 ? 0 : it.dia, it.saida);
            return;
        }
        // Parts of unequal size that add up to the month's total.
        std::vector<double> pesos(static_cast<size_t>(vezes));
        double soma = 0;
        for (double& p : pesos)
            soma += p = sorteio(0.4, 1.6);
        Centavos resto = it.valor;
        for (size_t k = 0; k < pesos.size(); ++k) {
            const Centavos parte = k + 1 == pesos.size() ? resto : Centavos(std::llround(it.valor * pesos[k] / soma));
            resto -= parte;
            lancar(it.classe, descricao(it), std::max<Centavos>(parte, 1), 0, it.saida);
        }
    };
    auto pequenaCompra = [&] { lancar(QStringLiteral("Padaria"), QStringLiteral("Padaria"), preco(15, 0.5), 0, true); };
    for (size_t i = 0; i < todos.size(); ++i)
        if (quantas[i] > 0)
            lancarItem(todos[i], quantas[i]);
    for (; vagas > 0; --vagas)
        pequenaCompra();

    if (controle) {
        const Centavos alto = redondo(20000), baixo = redondo(1000);
        if (saldo_ > alto) {
            const Centavos aplicacao = (saldo_ - redondo(12000)) / 10000 * 10000;
            lancar(QStringLiteral("Poupança"), QStringLiteral("Aplicação na poupança"), aplicacao, 28, true);
            poupanca_ += aplicacao;
        } else if (saldo_ < baixo && poupanca_ > 0) {
            const Centavos resgate = std::min(poupanca_, (redondo(5000) - saldo_) / 10000 * 10000);
            lancar(QStringLiteral("Transferência Recebida"), QStringLiteral("Resgate da poupança"), resgate, 28, false);
            poupanca_ -= resgate;
        } else if (proximo < ordem.size() && !dobrado[ordem[proximo]]) {
            lancarItem(todos[ordem[proximo]], 1);
        } else {
            pequenaCompra();
        }
    }
    return out;
}

int run(const QString& path, const QString& senha, int n, unsigned seed)
{
    data::Connection db;
    openAccountFile(db, path, senha.toUtf8());
    Familia familia(db, seed);
    if (!familia.temPlano()) {
        std::fprintf(stderr, "A conta não tem classificações.\n");
        return 1;
    }
    std::mt19937 rng(seed + 1);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const QDate today = platform::Today();
    const QDate first = today.addYears(-20);
    const QDate primeiroMes(first.year(), first.month(), 1);
    const QDate fim = today.addDays(365);
    const int meses = (fim.year() - first.year()) * 12 + fim.month() - first.month() + 1;

    data::Transaction t(db);
    data::Statement ins(db, QStringLiteral("INSERT INTO Lancamentos (DataVen, Referente, Valor, DataLan, Tipo, Despesa,"
                                           " Filtro, Conta) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    // A letter per part of the household's life, so that the filters mean
    // something.
    auto filtroDe = [](const QString& conta) {
        static const QHash<QString, QChar> letras = {
            {QStringLiteral("Alimentação"), u'A'},     {QStringLiteral("Moradia"), u'B'},
            {QStringLiteral("Transporte"), u'C'},      {QStringLiteral("Saúde"), u'D'},
            {QStringLiteral("Educação"), u'D'},        {QStringLiteral("Lazer"), u'E'},
            {QStringLiteral("Gastos Pessoais"), u'E'}, {QStringLiteral("Comunicação"), u'B'},
        };
        return letras.value(conta, u'F');
    };
    for (int m = 0; m < meses; ++m) {
        const int quantos = int(std::int64_t(m + 1) * n / meses - std::int64_t(m) * n / meses);
        auto lancamentos = familia.mes(primeiroMes.addMonths(m), m, quantos);
        std::sort(lancamentos.begin(), lancamentos.end(),
                  [](const Lancamento& a, const Lancamento& b) { return a.ven < b.ven; });
        for (const Lancamento& l : lancamentos) {
            const QDate lan = std::min(l.ven.addDays(-pick(0, 10)), today);
            ins.reset();
            ins.bind(1, l.ven);
            ins.bind(2, l.ven > today ? QStringLiteral("Previsão ") + l.ref : l.ref);
            ins.bind(3, l.valor);
            ins.bind(4, lan);
            ins.bind(5, l.valor < 0 ? QStringLiteral("1") : QStringLiteral("2"));
            ins.bind(6, QString::number(l.d->codigo));
            ins.bind(7, QString(filtroDe(l.d->conta)));
            ins.bind(8, l.d->conta);
            ins.exec();
        }
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
    const std::optional<QString> senha = lerSenha(1);
    if (!senha) {
        std::fprintf(stderr, "Nenhuma senha foi dada.\n");
        return 1;
    }
    try {
        return run(args[1], *senha, n, args.size() > 3 ? args[3].toUInt() : 406172u);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
