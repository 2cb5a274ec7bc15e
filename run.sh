#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. By default it
# works on a demonstration drives folder inside the build tree, creating a
# demonstration account there when it holds none; set VORSAL_DRIVES to use
# another folder, or VORSAL_REAL=1 to use the real ~/Banco/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j"$(nproc)" --target vorsal vorsal-nova-conta vorsal-gerar-dados
if [ "${VORSAL_REAL:-0}" != "1" ]; then
  export VORSAL_DRIVES="${VORSAL_DRIVES:-$PWD/build/demo-drives}"
  if ! ls "$VORSAL_DRIVES"/C/Banco/*.mdb >/dev/null 2>&1; then
    echo demo | build/tools/vorsal-nova-conta C Demonstracao >/dev/null
    echo demo | build/tools/vorsal-gerar-dados "$VORSAL_DRIVES/C/Banco/Demonstracao.mdb" 4000
    echo "Conta de demonstração criada: Demonstracao (senha: demo)"
  fi
fi
exec build/src/vorsal "$@"
