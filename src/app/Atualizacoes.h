#pragma once
// The refreshes the entry editor runs after a save, registered by the windows
// that open it, so that the editor need not know those windows. Each refresh
// is filed under the name its window writes into NomeConsultaAtiva.
#include <QString>

#include <functional>

namespace app {

// Files the refresh of the window known by a NomeConsultaAtiva name; a name
// registered again keeps its place and takes the new refresh.
void registrarAtualizacao(const QString& nomeConsulta, std::function<void()> atualizar);

// Runs the refresh filed under exactly this name (letter case and spaces
// count), the first registered if several match; any other name refreshes
// nothing.
void atualizarConsulta(const QString& nomeConsulta);

// The cash-flow register's refresh after instalments, run whichever window
// opened the editor.
void registrarAtualizacaoAposParcelas(std::function<void()> atualizar);
void atualizarAposParcelas();

}  // namespace app
