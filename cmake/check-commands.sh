#!/bin/bash
# Checks that every external command our scripts, the Makefile and the CMake
# files call comes from a Debian package that the README's commands install
# (cmake/packages.txt) or from an essential package: a fresh Debian 12 machine
# has nothing else, even where the machine running this check has more.
#
# The scripts are parsed, not run (cmake/shell-parse.sh). Each command is
# found on this machine (every match on PATH, or its absolute path) and its
# symbolic links are followed; `dpkg -S` names the package of each file on the
# way (under its merged-/usr and diverted names too), and the first file that a
# package owns decides: that package must be listed or essential.
# Usage: cmake/check-commands.sh [--list] [source-tree]
#   --list prints every command with the file and package it resolved to.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# Byte-wise parsing and dpkg's own words; the check's messages are its own.
export LC_ALL=C
source "$here/shell-parse.sh"

listing=no
if [ "${1:-}" = --list ]; then
  listing=yes
  shift
fi
ROOT=$(cd "${1:-$here/..}" && pwd)

# Words in the place of a command that name a program of our own build, not a
# package's: <file>|<word as written>|<why>. Each must still occur.
REVIEWED_WORDS=(
  'fuzz/run.sh|"$out/build/$target"|a fuzz target that the script has just built'
  'cmake/run-smoke32.sh|"$probe"|the i386 probe program that the script has just built'
  'tests/CMakeLists.txt|${name}|a test program of this build, which CTest runs through wine-run.sh'
)
# Commands named where no parser sees a command: <file>|<command>|<why>.
NAMED_COMMANDS=(
  'cmake/run-smoke32.sh|/usr/bin/qemu-i386-static|the emulator in the binfmt_misc entry, which the kernel runs'
)
# Files of packages that a script installs itself before it calls them, so a
# first run does not find them yet: <file>|<package>. Once the package is
# installed, dpkg must confirm it.
LATER_FILES=(
  '/usr/lib/wine/wine|wine32:i386'
  '/usr/lib/wine/wine32|wine32:i386'
  '/usr/bin/qemu-i386-static|qemu-user-static'
)
# The steps of cmake/packages.txt whose packages a script may call besides
# "setup" and "prerequisite", because it installs them itself first.
declare -A SCRIPT_STEPS=([cmake/run-smoke32.sh]="smoke32 smoke32-emulator")

declare -A SCANNED=()

reset_parse() {
  TK_KIND=() TK_TEXT=() TK_LINE=()
  UNIT_KIND=() UNIT_FILE=() UNIT_TOKENS=() SUBST_TEXT=()
  UNITS=0 FUNCS=() VARS=() INCLUDES=()
}

lex_file() { # lex_file <file in the tree>
  FILE=$1
  SRC=$(<"$ROOT/$1")
  lex_text 1
}

# walk_all: both passes over every unit, lexing sourced files as they are found.
walk_all() {
  local u=0 next=0 file
  declare -A lexed=([$TOP_FILE]=1)
  PASS=1
  while [ "$u" -lt "$UNITS" ]; do
    [ "${UNIT_KIND[u]}" = cmd ] && walk_unit "$u"
    u=$((u + 1))
    while [ "$next" -lt "${#INCLUDES[@]}" ]; do
      file=${INCLUDES[next]}
      next=$((next + 1))
      [[ $file == "$ROOT"/* ]] || parse_error "sources $file, outside the tree"
      file=${file#"$ROOT"/}
      [ -n "${lexed[$file]-}" ] && continue
      lexed[$file]=1
      lex_file "$file"
    done
  done
  PASS=2
  for ((u = 0; u < UNITS; u++)); do
    [ "${UNIT_KIND[u]}" = cmd ] && walk_unit "$u"
  done
  return 0
}

check_script() { # check_script <file in the tree>
  reset_parse
  TOP_FILE=$1
  lex_file "$1"
  walk_all
}

# The recipes of a Makefile: make runs each line with sh in the tree's root.
check_makefile() {
  local file=$1 number=0 line text="" first=0
  reset_parse
  TOP_FILE=$file FILE=$file
  while IFS= read -r line || [ -n "$line" ]; do
    number=$((number + 1))
    if [ -n "$text" ] || [[ $line == $'\t'* ]]; then
      [ -z "$text" ] && first=$number
      text+=${line#$'\t'}
      if [[ $text == *\\ ]]; then
        text=${text%\\}
        continue
      fi
      text=${text//'$$'/$'\x02'}
      text=$(sed 's/\$[({]\([A-Za-z_][A-Za-z0-9_]*\)[)}]/$MAKE_\1/g' <<<"$text")
      text=${text//$'\x02'/'$'}
      text=${text#[@+-]}
      SRC=$text
      lex_text "$first"
      text=""
    fi
  done <"$ROOT/$file"
  walk_all
}

# CMake files: the first word after COMMAND, the programs handed to CMake
# scripts by -D<variable>=<program> (the variables they run with
# execute_process), the compilers of the toolchains, and the text of sh -c.
declare -A CMAKE_VALUES=() PROGRAM_VARIABLES=()
# cmake_values <word> <file>: VALUES, the word with ${x} replaced, once for
# each value x is set to in that file, or else in any file.
cmake_values() {
  local word=$1 file=$2 name values value out
  VALUES=("$word")
  while [[ ${VALUES[0]} =~ \$\{([A-Za-z_][A-Za-z0-9_]*)\} ]]; do
    name=${BASH_REMATCH[1]}
    values=${CMAKE_VALUES[$file|$name]-${CMAKE_VALUES[|$name]-}}
    [ -n "$values" ] || return 1
    out=()
    for word in "${VALUES[@]}"; do
      while IFS= read -r value; do
        [ -n "$value" ] && out+=("${word//\$\{$name\}/$value}")
      done <<<"$values"
    done
    VALUES=("${out[@]}")
  done
}

cmake_command() { # cmake_command <word> <file> <line>
  local word=$1
  UFILE=$2 LINE=$3 FILE=$2
  case $word in
    '${CMAKE_COMMAND}') word=cmake ;;
    '$<TARGET_FILE:'*) return 0 ;; # a program of this build
  esac
  if [[ $word =~ ^\$\{([A-Za-z_][A-Za-z0-9_]*)\}$ ]] &&
    [ -n "${PROGRAM_VARIABLES[${BASH_REMATCH[1]}]-}" ]; then
    return 0 # given by -D<variable>=<program>, checked there
  fi
  if ! cmake_values "$word" "$2"; then
    reviewed_word "$word" && return 0
    PASS=2 unnamed_command "cannot tell which command $word is"
    return 0
  fi
  local value
  for value in "${VALUES[@]}"; do
    PASS=2 record_ref "$value"
  done
}

check_cmake_files() {
  local file line number rest re_command re_define re_compiler text word tool
  # The binutils that CMake finds itself, by the prefix of the toolchain's
  # compilers: CMAKE_NM is <triple>-nm, and so on.
  for tool in ADDR2LINE AR DLLTOOL NM OBJCOPY OBJDUMP RANLIB READELF STRIP; do
    CMAKE_VALUES[|CMAKE_$tool]="\${TEVRIX_TRIPLE}-${tool,,}"$'\n'
  done
  CMAKE_VALUES[|CMAKE_LINKER]="\${TEVRIX_TRIPLE}-ld"$'\n'
  for file in "$@"; do # variables and the programs CMake scripts run
    while IFS= read -r line; do
      if [[ $line =~ set\(([A-Za-z_][A-Za-z0-9_]*)[[:space:]]+([^[:space:]\)\"]+)\) ]]; then
        CMAKE_VALUES[$file|${BASH_REMATCH[1]}]+=${BASH_REMATCH[2]}$'\n'
        CMAKE_VALUES[|${BASH_REMATCH[1]}]+=${BASH_REMATCH[2]}$'\n'
      fi
      if [[ $line =~ execute_process\(COMMAND[[:space:]]+\$\{([A-Za-z_][A-Za-z0-9_]*)\} ]]; then
        PROGRAM_VARIABLES[${BASH_REMATCH[1]}]=1
      fi
    done <"$ROOT/$file"
  done
  re_command='COMMAND[[:space:]]+([^[:space:])]+)(.*)$'
  re_define='-D([A-Za-z_][A-Za-z0-9_]*)=([^[:space:])"]+)(.*)$'
  re_compiler='set\(CMAKE_[A-Z]+_COMPILER[[:space:]]+([^[:space:])]+)\)'
  for file in "$@"; do
    reset_parse
    TOP_FILE=$file
    number=0
    while IFS= read -r line; do
      number=$((number + 1))
      LINE=$number FILE=$file UFILE=$file
      [[ $line =~ ^[[:space:]]*# ]] && continue
      [[ $line == *find_program* ]] && parse_error "find_program: name the program directly"
      rest=$line
      while [[ $rest =~ $re_command ]]; do
        word=${BASH_REMATCH[1]}
        rest=${BASH_REMATCH[2]}
        cmake_command "$word" "$file" "$number"
        if [ "$word" = sh ]; then
          [[ $rest =~ ^[[:space:]]+-c[[:space:]]+\"(([^\"\\]|\\.)*)\" ]] ||
            parse_error "sh without -c \"text\" not understood"
          text=${BASH_REMATCH[1]//\\\\/\\}
          SRC=${text//\\\"/\"}
          lex_text "$number"
        fi
      done
      rest=$line
      while [[ $rest =~ $re_define ]]; do
        rest=${BASH_REMATCH[3]}
        word=${BASH_REMATCH[2]}
        [ -n "${PROGRAM_VARIABLES[${BASH_REMATCH[1]}]-}" ] || continue
        cmake_command "$word" "$file" "$number"
      done
      if [[ $line =~ $re_compiler ]]; then
        cmake_command "${BASH_REMATCH[1]}" "$file" "$number"
      fi
    done <"$ROOT/$file"
    walk_all # the texts of sh -c
  done
}

# The files to check: every shell script, Makefile and CMake file of the tree,
# leaving out .git and what builds make: folders tagged with a CACHEDIR.TAG
# (cmake/build.sh, fuzz/run.sh) and CMake build trees.
prune=(-name .git)
while IFS= read -r tag; do
  prune+=(-o -path "${tag%/*}")
done < <(find "$ROOT" -name .git -prune -o \( -name CACHEDIR.TAG -o -name CMakeCache.txt \) -print)
scripts=() makefiles=() cmake_files=()
while IFS= read -r path; do
  file=${path#"$ROOT"/}
  case ${path##*/} in
    Makefile) makefiles+=("$file") ;;
    CMakeLists.txt | *.cmake) cmake_files+=("$file") ;;
    *.sh | *.sh.in) scripts+=("$file") ;;
    *)
      IFS= read -r first <"$path" || true
      [[ $first =~ ^\#!(/usr)?/bin/(env[[:space:]]+)?(ba|da)?sh([[:space:]]|$) ]] && scripts+=("$file")
      ;;
  esac
done < <(find "$ROOT" \( "${prune[@]}" \) -prune -o -type f \( -name '*.sh' -o -name '*.sh.in' \
  -o -name Makefile -o -name CMakeLists.txt -o -name '*.cmake' -o -perm -u+x \) -print | sort)
for file in "${scripts[@]}" "${makefiles[@]}"; do SCANNED[$file]=1; done

# Each file is parsed in a subshell of its own, so that a text the parser does
# not understand fails the check for that file and the others are still read;
# two at a time, since the parser is plain bash and slow.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
jobs=() not_parsed=0
parse_in_background() { # parse_in_background <kind: script|makefile|cmake> <files>...
  local result=$work/${#jobs[@]}
  (
    REF_FILE=() REF_LINE=() REF_WORD=() USED_REVIEWED=() UNNAMED=0
    case $1 in
      script) check_script "$2" ;;
      makefile) check_makefile "$2" ;;
      cmake)
        shift
        check_cmake_files "$@"
        ;;
    esac
    for ((r = 0; r < ${#REF_WORD[@]}; r++)); do
      printf 'ref\t%s\t%s\t%s\n' "${REF_FILE[r]}" "${REF_LINE[r]}" "${REF_WORD[r]}"
    done
    for entry in "${!USED_REVIEWED[@]}"; do printf 'used\t%s\n' "$entry"; done
    printf 'unnamed\t%s\n' "$UNNAMED"
  ) >"$result" 2>"$result.errors" &
  jobs+=($!)
  if [ ${#jobs[@]} -ge 2 ]; then wait -n || true; fi
}
for file in "${scripts[@]}"; do parse_in_background script "$file"; done
for file in "${makefiles[@]}"; do parse_in_background makefile "$file"; done
parse_in_background cmake "${cmake_files[@]}"
for ((j = 0; j < ${#jobs[@]}; j++)); do
  wait "${jobs[j]}" || not_parsed=$((not_parsed + 1))
  cat "$work/$j.errors" >&2
  while IFS=$'\t' read -r kind a b c; do
    case $kind in
      ref) REF_FILE+=("$a") REF_LINE+=("$b") REF_WORD+=("$c") ;;
      used) USED_REVIEWED[$a]=1 ;;
      unnamed) UNNAMED=$((UNNAMED + a)) ;;
    esac
  done <"$work/$j"
done
for entry in "${NAMED_COMMANDS[@]}"; do
  IFS='|' read -r file command _ <<<"$entry"
  [ -n "${SCANNED[$file]-}" ] || continue
  line=$(grep -nF "$command" "$ROOT/$file" | head -n1 | cut -d: -f1) || true
  if [ -z "$line" ]; then
    echo "check-commands: $file no longer names $command; remove it from NAMED_COMMANDS" >&2
    not_parsed=$((not_parsed + 1))
    continue
  fi
  REF_FILE+=("$file") REF_LINE+=("$line") REF_WORD+=("$command")
done

# --- From commands to files -------------------------------------------------
# Each command leads to one or more chains of files: every match on PATH (or
# its absolute path), then the files its symbolic links lead to. CHAINS holds
# them, one chain a line, the files of a chain separated by spaces.
declare -A CHAINS=() PROJECT=()
add_chain() { # add_chain <command> <path>
  local command=$1 path=$2 chain="" target
  local -i links=0
  while :; do
    chain+="$path "
    [ -L "$path" ] && [ "$links" -lt 20 ] || break
    target=$(readlink "$path")
    [[ $target == /* ]] || target=${path%/*}/$target
    normal_path "$target"
    path=$VALUE
    links+=1
  done
  CHAINS[$command]+="$chain"$'\n'
}

for ((r = 0; r < ${#REF_WORD[@]}; r++)); do
  command=${REF_WORD[r]}
  [ -n "${CHAINS[$command]+set}${PROJECT[$command]+set}" ] && continue
  case $command in
    /*) path=$command ;;
    */*) path=$ROOT/$command ;;
    *) path="" ;;
  esac
  if [ -n "$path" ] && [[ $path == "$ROOT"/* ]]; then
    PROJECT[$command]=${path#"$ROOT"/}
    continue
  fi
  CHAINS[$command]=""
  if [ -n "$path" ]; then
    add_chain "$command" "$path"
  else
    type -a -P "$command" >"$work/found" || true
    while IFS= read -r path; do
      add_chain "$command" "$path"
    done <"$work/found"
  fi
done

# The names dpkg may know a file by: on a merged /usr, /bin is /usr/bin, but
# dpkg knows each file by one of the two; a diverted file, by its first name.
declare -A DIVERTED_FROM=()
while IFS= read -r line; do
  if [[ $line =~ diversion\ of\ ([^ ]+)\ to\ ([^ ]+) ]]; then
    DIVERTED_FROM[${BASH_REMATCH[2]}]=${BASH_REMATCH[1]}
  fi
done < <(dpkg-divert --list)
names_of() { # names_of <path>: NAMES
  NAMES=("$1")
  case $1 in
    /usr/bin/* | /usr/sbin/* | /usr/lib/* | /usr/lib32/* | /usr/lib64/*) NAMES+=("${1#/usr}") ;;
    /bin/* | /sbin/* | /lib/* | /lib32/* | /lib64/*) NAMES+=("/usr$1") ;;
  esac
  local name
  for name in "${NAMES[@]}"; do
    [ -z "${DIVERTED_FROM[$name]-}" ] || NAMES+=("${DIVERTED_FROM[$name]}")
  done
}
declare -A ASKED=()
paths=()
for command in "${!CHAINS[@]}"; do
  for path in ${CHAINS[$command]}; do
    names_of "$path"
    for name in "${NAMES[@]}"; do
      [ -n "${ASKED[$name]-}" ] || paths+=("$name")
      ASKED[$name]=1
    done
  done
done
declare -A OWNERS=()
if [ ${#paths[@]} -gt 0 ]; then
  while IFS= read -r line; do
    [[ $line == *diversion* ]] && continue
    [[ $line == *': /'* ]] || continue
    owners=${line%%: /*}
    OWNERS[/${line#*: /}]+="${owners//,/} "
  done < <(dpkg -S "${paths[@]}" 2>/dev/null || true)
fi

# --- From files to packages -------------------------------------------------
declare -A STEP_OF=() ESSENTIAL=() INSTALLED=()
while read -r package step _; do
  [[ -z $package || $package == \#* ]] && continue
  STEP_OF[${package%%:*}]=$step
done <"$ROOT/cmake/packages.txt"
while IFS=$'\t' read -r package essential status; do
  [ "$essential" = yes ] && ESSENTIAL[$package]=1
  [[ $status == "install ok installed" ]] && INSTALLED[$package]=1
done < <(dpkg-query -W -f='${Package}\t${Essential}\t${Status}\n')

allowed() { # allowed <package>: essential, or of one of the steps in $steps
  local plain=${1%%:*}
  [ -n "${ESSENTIAL[$plain]-}" ] ||
    [[ -n ${STEP_OF[$plain]-} && $steps == *" ${STEP_OF[$plain]} "* ]]
}

# judge_chain <chain>: VERDICT (ok, or why not) and ABOUT. The first file of
# the chain that a package owns decides; a file no package owns may only be a
# link of the alternatives system (/etc/alternatives), which packages manage.
judge_chain() {
  local -a files
  read -r -a files <<<"$1"
  local i path owners package name entry
  for ((i = 0; i < ${#files[@]}; i++)); do
    path=${files[i]}
    names_of "$path"
    owners=""
    for name in "${NAMES[@]}"; do owners+=${OWNERS[$name]-}; done
    if [ -n "$owners" ]; then
      for package in $owners; do
        if allowed "$package"; then
          VERDICT=ok ABOUT="$path ($package)"
          return 0
        fi
      done
      read -r -a owners <<<"$owners"
      VERDICT=package ABOUT="$path (${owners[*]})"
      return 0
    fi
    if [ ! -e "$path" ] && [ ! -L "$path" ]; then
      # Not there: only a file of a package its script installs first.
      for entry in "${LATER_FILES[@]}"; do
        package=${entry#*|}
        if [ "${entry%%|*}" = "$path" ] && [ -z "${INSTALLED[$package]-}" ] && allowed "$package"; then
          VERDICT=ok ABOUT="$path (package $package, which the script installs first)"
          return 0
        fi
      done
      VERDICT=missing ABOUT=$path
      return 0
    fi
    if [[ $path != /etc/alternatives/* && ${files[i + 1]-} != /etc/alternatives/* ]]; then
      VERDICT=unowned ABOUT=$path
      return 0
    fi
  done
  VERDICT=unowned ABOUT=${files[*]: -1}
}

failures=0
fail() {
  echo "check-commands: $*" >&2
  failures=$((failures + 1))
}
declare -A CHECKED=()
checked=0
for ((r = 0; r < ${#REF_WORD[@]}; r++)); do
  file=${REF_FILE[r]} line=${REF_LINE[r]} command=${REF_WORD[r]}
  key="$file|$line|$command"
  [ -n "${CHECKED[$key]-}" ] && continue
  CHECKED[$key]=1
  checked=$((checked + 1))
  where="$file:$line: $command"
  if [ -n "${PROJECT[$command]+set}" ]; then
    project=${PROJECT[$command]}
    if [ -z "${SCANNED[$project]-}" ]; then
      if [ -e "$ROOT/$project" ]; then
        fail "$where: a program of the tree that this check does not read"
      else
        fail "$where: no such file in the tree"
      fi
    fi
    [ "$listing" = yes ] && echo "$where -> $project (this tree)"
    continue
  fi
  steps=" setup prerequisite ${SCRIPT_STEPS[$file]-} "
  found="" from="" unowned="" missing=""
  while IFS= read -r chain; do
    [ -n "$chain" ] || continue
    judge_chain "$chain"
    case $VERDICT in
      ok)
        found=$ABOUT
        break
        ;;
      package) from+=" $ABOUT" ;;
      unowned) unowned+=" $ABOUT" ;;
      missing) missing+=" $ABOUT" ;;
    esac
  done <<<"${CHAINS[$command]}"
  if [ -z "$found" ] && [ "$command" = sudo ] && [ "$EUID" -eq 0 ] && [ -z "${CHAINS[sudo]}" ]; then
    found="not installed; not called by root"
  fi
  if [ -n "$found" ]; then
    [ "$listing" = yes ] && echo "$where -> $found"
  elif [ -n "$from" ]; then
    fail "$where: comes from$from: neither essential nor installed by a step of" \
      "cmake/packages.txt before this script runs"
  elif [ -n "$unowned" ]; then
    fail "$where:$unowned belongs to no Debian package"
  elif [ -n "$missing" ]; then
    fail "$where:$missing is not there, and no step installs it first"
  else
    fail "$where: not found on this machine"
  fi
done

for entry in "${REVIEWED_WORDS[@]}"; do
  # Only for the files of the tree checked (the tests check trees of their own).
  if [ -z "${USED_REVIEWED[$entry]-}" ] && { [ -n "${SCANNED[${entry%%|*}]-}" ] ||
    [[ " ${cmake_files[*]} " == *" ${entry%%|*} "* ]]; }; then
    fail "no longer found; remove it from REVIEWED_WORDS: $entry"
  fi
done

files=$((${#scripts[@]} + ${#makefiles[@]} + ${#cmake_files[@]}))
failures=$((failures + UNNAMED + not_parsed))
checked=$((checked + UNNAMED))
if [ "$failures" -gt 0 ]; then
  echo "check-commands: $failures of $checked command calls in $files files do not come" \
    "from the set-up's packages" >&2
  exit 1
fi
echo "check-commands: $checked command calls in $files files, each from a package of" \
  "cmake/packages.txt or an essential one"
