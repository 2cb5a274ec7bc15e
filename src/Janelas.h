#pragma once
// Registers with the main window the opener of every window it shows, and
// the refreshes of the windows that open the entry editor.
void registrarJanelas();
// The refreshes alone: the entry editor's after a save, keyed by the name
// each window writes into NomeConsultaAtiva, and the cash-flow register's
// after instalments.
void registrarAtualizacoes();
