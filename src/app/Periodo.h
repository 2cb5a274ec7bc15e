#pragma once
// The start of a listing of balances (the cash-flow register, the entries
// beside a statement): a start before the first due date moves to it, in
// its box too, and the balance the period opens with.
#include "data/Money.h"

#include <QDate>

namespace platform {
class MaskEdBox;
} // namespace platform

namespace app {

data::Centavos abrirPeriodo(platform::MaskEdBox& caixa, QDate& inicio);

} // namespace app
