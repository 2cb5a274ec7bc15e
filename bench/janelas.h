#pragma once
namespace bench {
// Prints the table of the windows over the open account (see janelas.cpp).
int janelas(long entradas);
}
