#pragma once
// The password of a command-line tool, never on its command line (where
// `ps` and the shell history show it).
#include <QString>

#include <functional>
#include <optional>

// Why a password cannot be taken, or an empty text when it can.
using RecusaDeSenha = std::function<QString(const QString& senha)>;

// On a terminal, asks `vezes` times without echo and takes the password
// when every answer is the same; when they differ it says so and asks
// once more from the start. A first answer that `recusa` refuses is told
// at once, before the confirmation, and counts as such a try. Otherwise
// reads the first line of standard input. No password (nullopt) when the
// answers differ or are refused twice, `diferentes` then set and the
// terminal told, or when the input ends first.
std::optional<QString> lerSenha(int vezes, bool* diferentes = nullptr, const RecusaDeSenha& recusa = {});
