#include "Janelas.h"

void registrarJanelas()
{
}
