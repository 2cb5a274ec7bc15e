#include "app/Periodo.h"

#include "data/Conexao.h"
#include "data/Lancamentos.h"
#include "platform/MaskEdBox.h"
#include "platform/formats.h"

namespace app {

data::Centavos abrirPeriodo(platform::MaskEdBox& caixa, QDate& inicio)
{
    const data::Opening abertura = data::openingBalance(ConexaoBanco, inicio);
    if (abertura.start != inicio) {
        inicio = abertura.start;
        caixa.setText(platform::fmtDate(inicio));
    }
    return abertura.balance;
}

} // namespace app
