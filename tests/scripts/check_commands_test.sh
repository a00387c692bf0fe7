#!/bin/bash
# cmake/check-commands.sh on trees of our own: one script for each place where
# a command can hide (each must be reported), one clean script full of words
# that only look like commands (none may be), and the clean script alone,
# which must pass.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# fixture <tree> <file> <text>
fixture() {
  mkdir -p "$work/$1/$(dirname "$2")" "$work/$1/cmake"
  cp "$root/cmake/packages.txt" "$work/$1/cmake/"
  printf '%s\n' "$3" >"$work/$1/$2"
}

# <what the report must say about a script>|<the script, which hides one call>
hidden=(
  'bare.sh:1: wineserver: |wineserver -k'
  'extra-package.sh:1: python3: |python3 -c pass'
  'alternative.sh:1: awk: |awk 1 /dev/null'
  'substitution.sh:1: tevrix-missing-1: not found|version=$(tevrix-missing-1 --version)'
  'pipeline.sh:1: tevrix-missing-2: not found|if true; then echo | tevrix-missing-2; fi'
  'trap.sh:1: tevrix-missing-3: not found|trap "tevrix-missing-3" EXIT'
  'sh-c.sh:1: tevrix-missing-4: not found|sh -c "tevrix-missing-4 now"'
  'runners.sh:1: tevrix-missing-5: not found|timeout 5 env A=1 nice -n 1 tevrix-missing-5'
  'sudo.sh:1: tevrix-missing-6: not found|SUDO=""; [ "$EUID" -eq 0 ] || SUDO=sudo; $SUDO tevrix-missing-6'
  'variable.sh:1: /usr/bin/tevrix-missing-7: |TOOL=/usr/bin/tevrix-missing-7; "$TOOL" run'
  'function.sh:1: tevrix-missing-8: not found|f() { case "$1" in a) tevrix-missing-8 ;; esac; }; f a'
  'process.sh:1: tevrix-missing-9: not found|while read -r l; do :; done < <(tevrix-missing-9)'
  'array.sh:1: tevrix-missing-10: not found|a=("$(tevrix-missing-10)")'
  'test.sh:1: tevrix-missing-11: not found|[[ -n $(tevrix-missing-11) ]]'
  'compiler.sh:1: tevrix-missing-15: not found|cmake -DCMAKE_CXX_COMPILER=tevrix-missing-15 ..'
  'eval.sh:1: eval|eval "echo hi"'
  'backquote.sh:1: backquotes|x=`date`'
  'heredoc.sh:1: here-documents|cat <<END'
  'unset.sh:1: the command "$UNSET_TOOL" is a variable given no value|"$UNSET_TOOL" --x'
  'named.sh:1: a command named by a command substitution|"$(command -v ls)" -l'
  'later-step.sh:1: /usr/lib/wine/wine: |/usr/lib/wine/wine --version'
  'local-link.sh:1: tevrix-linked-server: |tevrix-linked-server -k'
)
clean='set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
WINESERVER=/usr/lib/wine/wineserver
SUDO=""
[ "$EUID" -eq 0 ] || SUDO=sudo
report() { echo "$1"; }
case "${1:-}" in
  wineserver) report no ;;
  python3 | awk) report none ;;
esac
for tool in wineserver python3; do report "$tool"; done
[[ ${1:-} == wineserver ]] && report "$(echo wineserver)"
echo "wineserver" >/dev/null 2>&1 </dev/null
list=(wineserver python3)
python3=wineserver
# wineserver, in a comment
"$WINESERVER" -k || true
clang++ --version >/dev/null
cmake --version >/dev/null
sh -c "true"
$SUDO apt-get --version >/dev/null
timeout 5 env LANG=C "$here/helper.sh"'

for entry in "${hidden[@]}"; do
  fixture hidden "${entry%%:*}" "${entry#*|}"
done
fixture hidden Makefile $'all:\n\ttevrix-missing-12 $(BUILD)'
fixture hidden CMakeLists.txt 'add_custom_command(OUTPUT x COMMAND tevrix-missing-13 x)
add_custom_command(OUTPUT y COMMAND sh -c "tevrix-missing-14 | cat")'
hidden+=('Makefile|Makefile:2: tevrix-missing-12: not found'
  'CMakeLists.txt:1: tevrix-missing-13: not found'
  'CMakeLists.txt:2: tevrix-missing-14: not found')
for tree in hidden clean; do
  fixture "$tree" clean.sh "$clean"
  fixture "$tree" helper.sh 'echo helper'
done
# CMake's own binutils, named by the toolchain's triple, handed to a script.
fixture clean CMakeLists.txt 'set(TEVRIX_TRIPLE x86_64-w64-mingw32)
add_custom_command(OUTPUT s COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -P check.cmake)'
fixture clean check.cmake 'execute_process(COMMAND ${NM} -g x.obj)'

# On PATH first: a link of no package to a file of a listed one (a machine's
# own addition, which a fresh machine lacks), and a wrapper of no package that
# shadows a listed command (as ccache's do), which must not hide the command.
mkdir -p "$work/bin"
ln -s /usr/lib/wine/wineserver "$work/bin/tevrix-linked-server"
printf '#!/bin/sh\nexec /usr/bin/cmake "$@"\n' >"$work/bin/cmake"
chmod +x "$work/bin/cmake"
export PATH="$work/bin:$PATH"

status=0
"$root/cmake/check-commands.sh" "$work/hidden" >/dev/null 2>"$work/report" || status=$?
if [ "$status" -ne 1 ]; then
  echo "FAILED: the check of the tree with hidden commands ended with $status, not 1"
  failed=1
fi
for entry in "${hidden[@]}"; do
  expected=${entry%%|*}
  if ! grep -qF "check-commands: $expected" "$work/report"; then
    echo "FAILED: not reported: $expected"
    failed=1
  fi
done
if grep -q 'clean\.sh\|helper\.sh' "$work/report"; then
  echo "FAILED: reported in the clean script:"
  grep 'clean\.sh\|helper\.sh' "$work/report"
  failed=1
fi
if ! "$root/cmake/check-commands.sh" "$work/clean" >"$work/clean-report" 2>&1; then
  echo "FAILED: the clean tree does not pass:"
  cat "$work/clean-report"
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "--- the report on the tree with hidden commands:"
  cat "$work/report"
  exit 1
fi
echo "check_commands_test: ${#hidden[@]} hidden calls reported, the clean script passes"
