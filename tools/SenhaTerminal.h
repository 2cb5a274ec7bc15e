#pragma once
// The password of a command-line tool, never on its command line (where
// `ps` and the shell history show it).
#include <QString>

#include <optional>

// On a terminal, asks `vezes` times without echo and takes the password
// when every answer is the same; otherwise reads the first line of
// standard input. No password (nullopt) when the answers differ or the
// input ends first.
std::optional<QString> lerSenha(int vezes);
