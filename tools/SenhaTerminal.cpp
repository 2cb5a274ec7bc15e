#include "SenhaTerminal.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {
std::optional<QString> linha()
{
    std::string texto;
    if (!std::getline(std::cin, texto))
        return std::nullopt;
    if (!texto.empty() && texto.back() == '\r')
        texto.pop_back();
    return QString::fromLocal8Bit(texto.data(), qsizetype(texto.size()));
}
} // namespace

std::optional<QString> lerSenha(int vezes, bool* diferentes, const RecusaDeSenha& recusa)
{
    if (diferentes)
        *diferentes = false;
    if (!isatty(STDIN_FILENO))
        return linha();
    termios antes {};
    tcgetattr(STDIN_FILENO, &antes);
    termios semEco = antes;
    semEco.c_lflag &= ~tcflag_t(ECHO);
    semEco.c_lflag |= ECHONL;
    for (int tentativa = 1; tentativa <= 2; ++tentativa) {
        std::optional<QString> senha;
        bool conferem = true;
        for (int i = 0; i < vezes && conferem; ++i) {
            std::fputs(i == 0 ? "Senha: " : "Confirme a senha: ", stderr);
            std::fflush(stderr);
            tcsetattr(STDIN_FILENO, TCSANOW, &semEco);
            const std::optional<QString> lida = linha();
            tcsetattr(STDIN_FILENO, TCSANOW, &antes);
            if (!lida)
                return std::nullopt;
            if (!senha && recusa) {
                if (const QString motivo = recusa(*lida); !motivo.isEmpty()) {
                    std::fprintf(stderr, "%s%s\n", motivo.toLocal8Bit().constData(),
                                 tentativa == 1 ? " Digite outra vez." : "");
                    senha.reset();
                    conferem = false;
                    break;
                }
            }
            conferem = !senha || *senha == *lida;
            senha = lida;
        }
        if (conferem)
            return senha;
        if (senha)
            std::fputs(tentativa == 1 ? "As senhas não conferem. Digite outra vez.\n" : "As senhas não conferem.\n",
                       stderr);
    }
    if (diferentes)
        *diferentes = true;
    return std::nullopt;
}
