#pragma once
// Registers with the main window the opener of every window it shows.
void registrarJanelas();
