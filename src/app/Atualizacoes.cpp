#include "app/Atualizacoes.h"

#include <utility>
#include <vector>

namespace {

struct Atualizacao {
    QString nome;
    std::function<void()> atualizar;
};

// In the order of registration, which is the order the names are compared in.
std::vector<Atualizacao>& atualizacoes()
{
    static std::vector<Atualizacao> a;
    return a;
}

std::function<void()>& aposParcelas()
{
    static std::function<void()> f;
    return f;
}

}  // namespace

namespace app {

void registrarAtualizacao(const QString& nomeConsulta, std::function<void()> atualizar)
{
    for (auto& a : atualizacoes()) {
        if (a.nome == nomeConsulta) {
            a.atualizar = std::move(atualizar);
            return;
        }
    }
    atualizacoes().push_back({nomeConsulta, std::move(atualizar)});
}

void atualizarConsulta(const QString& nomeConsulta)
{
    // A copy: the refresh may load its window, whose load writes
    // NomeConsultaAtiva, which the caller may have passed here.
    const QString nome = nomeConsulta;
    for (const auto& a : atualizacoes()) {
        if (a.nome == nome) {
            // Held here: a refresh that registers would move the list.
            const auto atualizar = a.atualizar;
            if (atualizar)
                atualizar();
            return;
        }
    }
}

void registrarAtualizacaoAposParcelas(std::function<void()> atualizar)
{
    aposParcelas() = std::move(atualizar);
}

void atualizarAposParcelas()
{
    if (aposParcelas())
        aposParcelas()();
}

}  // namespace app
