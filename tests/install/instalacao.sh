#!/usr/bin/env bash
# Installs the build under a temporary DESTDIR and checks what landed: the
# three programs and nothing else of the build, the menu entry and the
# metadata as the desktop's validators take them, the icons, the manual
# pages, and the installed program answering --version and finding its
# installed spreadsheet reader.
#   instalacao.sh CMAKE BUILD SOURCE VERSION APP_ID VERIFICADOR
set -euo pipefail
cmake=$1 build=$2 source=$3 version=$4 id=$5 verificador=$6
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FALHA: $*" >&2; exit 1; }

DESTDIR="$tmp/root" "$cmake" --install "$build" --prefix /usr >/dev/null
cd "$tmp/root/usr"

expected="bin/vorsal
bin/vorsal-nova-conta
libexec/vorsal/vorsal-leitor-planilha
share/applications/$id.desktop
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/vorsal-nova-conta.1
share/man/man1/vorsal.1
share/man/pt_BR/man1/vorsal-nova-conta.1
share/man/pt_BR/man1/vorsal.1
share/metainfo/$id.metainfo.xml"
landed=$(find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
[ "$landed" = "$(LC_ALL=C sort <<<"$expected")" ] \
  || fail "instalado diferente do esperado:"$'\n'"$(diff <(LC_ALL=C sort <<<"$expected") <(echo "$landed"))"
for p in bin/vorsal bin/vorsal-nova-conta libexec/vorsal/vorsal-leitor-planilha; do
  [ -x "$p" ] || fail "$p não é executável"
done

desktop-file-validate "share/applications/$id.desktop" || fail "menu recusado pelo desktop-file-validate"
grep -qx "Icon=$id" "share/applications/$id.desktop" || fail "o ícone do menu não é $id"
appstreamcli validate --no-net "share/metainfo/$id.metainfo.xml" || fail "metadados recusados pelo appstreamcli"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "share/metainfo/$id.metainfo.xml" \
  || fail "os metadados não apontam o $id.desktop"
# The version stands in every place that names it.
grep -q "<release version=\"$version\"" "share/metainfo/$id.metainfo.xml" \
  || fail "os metadados não têm a versão $version entre os lançamentos"
head -n1 "$source/debian/changelog" | grep -qF "($version)" || fail "debian/changelog não está na versão $version"
grep -q "<svg" "share/icons/hicolor/scalable/apps/$id.svg" || fail "o ícone escalável não é SVG"
for page in man1/vorsal man1/vorsal-nova-conta pt_BR/man1/vorsal pt_BR/man1/vorsal-nova-conta; do
  grep -q "^\.TH .*\"Vorsal $version\"" "share/man/$page.1" || fail "$page.1 sem a versão $version"
  ! grep -q "@[A-Z_]*@" "share/man/$page.1" || fail "$page.1 com uma variável por substituir"
done
# The menu entry: English untagged, the program's Portuguese beside it.
for key in GenericName Comment Keywords; do
  grep -q "^$key\[pt_BR\]=" "share/applications/$id.desktop" || fail "o menu sem $key[pt_BR]"
done

# Without any display: --version and --help must answer before a window is
# thought of.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb bin/vorsal --version)
[ "$out" = "Vorsal $version" ] || fail "vorsal --version respondeu '$out'"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb bin/vorsal --help | head -n1 | grep -q "^Uso: vorsal" \
  || fail "vorsal --help sem o uso"

# The reader lookup and the icon, from the installed bin/ folder.
cp "$verificador" bin/
out=$(QT_QPA_PLATFORM=offscreen "bin/$(basename "$verificador")" "$tmp" "share/icons/hicolor/256x256/apps/$id.png")
echo "$out"
grep -qx "leitor: $tmp/root/usr/libexec/vorsal/vorsal-leitor-planilha" <<<"$out" \
  || fail "o programa instalado não encontrou o leitor instalado"
grep -qx ok <<<"$out" || fail "verificação incompleta"
echo "instalação conferida"
