#!/bin/bash
# Finds the external commands a shell text calls, without running it. Sourced
# by cmake/check-commands.sh, which sets FILE (the name used in messages),
# ROOT (the source tree) and fills SRC before each call of lex_text.
#
# lex_text splits a text into tokens: words (quotes kept) and operators, one
# unit of tokens per command list. Each $(...), <(...) and >(...) becomes a unit
# of its own, so the commands inside are found wherever the substitution
# stands; array values become a data unit. walk_unit then follows the grammar
# of bash far enough to know which word stands where a command is called, and
# records each such word (REF_*). Anything in a place where a command could
# hide and that this parser does not understand (backquotes, here-documents,
# eval, a command named by a substitution, an unknown variable) is an error: a
# check that skipped it would pass what it cannot see.

# Tokens, in order: TK_KIND (w word, o operator), TK_TEXT, TK_LINE; each
# unit lists its tokens in UNIT_TOKENS.
# A $(...) in a word is kept as $(@<unit>); SUBST_TEXT[unit] is its source.
TK_KIND=() TK_TEXT=() TK_LINE=()
UNIT_KIND=() UNIT_FILE=() UNIT_TOKENS=() SUBST_TEXT=()
UNITS=0

parse_error() {
  echo "check-commands: $FILE:$LINE: $*" >&2
  exit 1
}

# A command this parser cannot name: counted, and the walk goes on.
UNNAMED=0
declare -A UNNAMED_SEEN=()
unnamed_command() {
  local message="$FILE:$LINE: $*"
  [ "$PASS" = 2 ] && [ -z "${UNNAMED_SEEN[$message]-}" ] || return 0
  UNNAMED_SEEN[$message]=1
  echo "check-commands: $message" >&2
  UNNAMED=$((UNNAMED + 1))
}

new_unit() { # new_unit <kind: cmd|data>: sets UNIT to a new unit
  UNIT=$UNITS
  UNITS=$((UNITS + 1))
  UNIT_KIND[UNIT]=$1
  UNIT_FILE[UNIT]=$FILE
  UNIT_TOKENS[UNIT]=""
}

emit() { # emit <kind> <text> <line> <unit>
  UNIT_TOKENS[$4]+=" ${#TK_KIND[@]}"
  TK_KIND+=("$1")
  TK_TEXT+=("$2")
  TK_LINE+=("$3")
}

# Characters are read from WIN, a window of SRC starting at BASE: bash finds
# the length of a string each time it takes a piece of it, so reading SRC
# itself character by character would take time in the square of its length.
rebase() {
  BASE=$POS
  WIN=${SRC:POS:2048}
}

# lex_text <first line>: all of SRC as one unit.
lex_text() {
  POS=0 LINE=$1 SRC_LEN=${#SRC}
  rebase
  new_unit cmd
  lex_unit "$UNIT" top
}

# Uses the locals w, inword, wline, redirect, unit and mode of lex_unit.
flush_word() {
  if [ "$inword" = 1 ]; then
    if [ "$redirect" = 1 ]; then
      redirect=0 # the target of a redirection is no command
    else
      if [ "$mode" = subst ] && [ "$w" = case ]; then
        parse_error "case inside a command substitution"
      fi
      emit w "$w" "$wline" "$unit"
    fi
  fi
  w="" inword=0
}

start_word() {
  if [ "$inword" = 0 ]; then
    inword=1 wline=$LINE
  fi
}

# lex_unit <unit> <mode: top|subst|array>: lexes from POS; subst and array
# end at their unmatched ")".
lex_unit() {
  local unit=$1 mode=$2 w="" inword=0 wline=$LINE redirect=0 depth=0 c n rest
  while [ "$POS" -lt "$SRC_LEN" ]; do
    [ $((POS - BASE)) -lt 1024 ] || rebase
    c=${WIN:POS-BASE:1}
    n=${WIN:POS-BASE+1:1}
    case $c in
      ' ' | $'\t')
        flush_word
        [[ ${WIN:POS-BASE:256} =~ ^[[:blank:]]+ ]]
        POS=$((POS + ${#BASH_REMATCH[0]}))
        ;;
      $'\n')
        flush_word
        emit o $'\n' "$LINE" "$unit"
        LINE=$((LINE + 1)) POS=$((POS + 1))
        ;;
      '#')
        if [ "$inword" = 1 ]; then
          w+=$c
          POS=$((POS + 1))
        else # a comment, to the end of the line
          rest=${SRC:POS:4096}
          rest=${rest%%$'\n'*}
          POS=$((POS + ${#rest}))
        fi
        ;;
      '\')
        if [ "$n" = $'\n' ]; then
          LINE=$((LINE + 1))
        else
          start_word
          w+=$c$n
        fi
        POS=$((POS + 2))
        ;;
      "'")
        start_word
        lex_single_quoted
        ;;
      '"')
        start_word
        lex_double_quoted
        ;;
      '$')
        start_word
        lex_dollar
        ;;
      '`') parse_error "backquotes: write \$(...)" ;;
      ';')
        flush_word
        if [ "${WIN:POS-BASE:3}" = ';;&' ]; then
          emit o ';;&' "$LINE" "$unit"
          POS=$((POS + 3))
        elif [ "$n" = ';' ] || [ "$n" = '&' ]; then
          emit o ";$n" "$LINE" "$unit"
          POS=$((POS + 2))
        else
          emit o ';' "$LINE" "$unit"
          POS=$((POS + 1))
        fi
        ;;
      '&')
        flush_word
        if [ "$n" = '&' ]; then
          emit o '&&' "$LINE" "$unit"
          POS=$((POS + 2))
        elif [ "$n" = '>' ]; then # &> and &>>: both outputs to a file
          POS=$((POS + 2))
          [ "${WIN:POS-BASE:1}" = '>' ] && POS=$((POS + 1))
          redirect=1
        else
          emit o '&' "$LINE" "$unit"
          POS=$((POS + 1))
        fi
        ;;
      '|')
        flush_word
        if [ "$n" = '|' ] || [ "$n" = '&' ]; then
          emit o "|$n" "$LINE" "$unit"
          POS=$((POS + 2))
        else
          emit o '|' "$LINE" "$unit"
          POS=$((POS + 1))
        fi
        ;;
      '(')
        if [ "$inword" = 1 ] && [[ $w =~ ^[A-Za-z_][A-Za-z0-9_]*\+?=$ ]]; then # not name[i]=(
          # name=(values): the values are data, and their substitutions commands.
          local saved=$UNIT
          new_unit data
          POS=$((POS + 1))
          w+="(@$UNIT)"
          lex_unit "$UNIT" array
          UNIT=$saved
        else
          flush_word
          emit o '(' "$LINE" "$unit"
          depth=$((depth + 1)) POS=$((POS + 1))
        fi
        ;;
      ')')
        flush_word
        POS=$((POS + 1))
        if [ "$depth" -eq 0 ] && [ "$mode" != top ]; then
          return 0
        fi
        emit o ')' "$LINE" "$unit"
        [ "$depth" -gt 0 ] && depth=$((depth - 1))
        ;;
      '<' | '>')
        if [ "$n" = '(' ]; then # <(...) and >(...): a command list of its own
          start_word
          POS=$((POS + 2))
          lex_substitution
          continue
        fi
        # A number right before the operator is the descriptor it redirects.
        if [ "$inword" = 1 ] && [[ $w =~ ^[0-9]+$ ]]; then
          w="" inword=0
        else
          flush_word
        fi
        if [ "${WIN:POS-BASE:2}" = '<<' ]; then
          [ "${WIN:POS-BASE:3}" = '<<<' ] || parse_error "here-documents are not understood"
          POS=$((POS + 3))
        elif [[ ${WIN:POS-BASE:2} =~ ^(\>\>|\>\||\>\&|\<\&|\<\>)$ ]]; then
          POS=$((POS + 2))
        else
          POS=$((POS + 1))
        fi
        redirect=1
        ;;
      '[')
        if [ "$inword" = 1 ] && [[ $w =~ ^[A-Za-z_][A-Za-z0-9_]*$ ]]; then
          lex_subscript # name[subscript]=: no operators inside
        else
          start_word
          w+=$c
          POS=$((POS + 1))
        fi
        ;;
      *)
        start_word
        # A run of characters that mean nothing to the shell, at once.
        if [[ ${WIN:POS-BASE:256} =~ $PLAIN_RUN ]]; then
          w+=${BASH_REMATCH[0]}
          POS=$((POS + ${#BASH_REMATCH[0]}))
        else
          w+=$c
          POS=$((POS + 1))
        fi
        ;;
    esac
  done
  flush_word
  [ "$mode" = top ] || parse_error "unterminated \$( or ( at the end of the text"
}

lex_subscript() {
  local depth=0 c
  while [ "$POS" -lt "$SRC_LEN" ]; do
    [ $((POS - BASE)) -lt 1024 ] || rebase
    c=${WIN:POS-BASE:1}
    case $c in
      '$') lex_dollar ;;
      "'") lex_single_quoted ;;
      '"') lex_double_quoted ;;
      $'\n') parse_error "unterminated [ of an array element" ;;
      *)
        w+=$c
        POS=$((POS + 1))
        [ "$c" = '[' ] && depth=$((depth + 1))
        if [ "$c" = ']' ]; then
          depth=$((depth - 1))
          [ "$depth" -eq 0 ] && return 0
        fi
        ;;
    esac
  done
  parse_error "unterminated [ of an array element"
}

lex_single_quoted() {
  local rest=${SRC:POS+1} body
  body=${rest%%\'*}
  [ "${#body}" -lt "${#rest}" ] || parse_error "unterminated single quote"
  count_lines "$body"
  w+="'$body'"
  POS=$((POS + ${#body} + 2))
}

lex_double_quoted() {
  local c
  w+='"'
  POS=$((POS + 1))
  while [ "$POS" -lt "$SRC_LEN" ]; do
    [ $((POS - BASE)) -lt 1024 ] || rebase
    c=${WIN:POS-BASE:1}
    case $c in
      '"')
        w+='"'
        POS=$((POS + 1))
        return 0
        ;;
      '\')
        w+=${WIN:POS-BASE:2}
        count_lines "${WIN:POS-BASE:2}"
        POS=$((POS + 2))
        ;;
      '$') lex_dollar ;;
      '`') parse_error "backquotes: write \$(...)" ;;
      *)
        [[ ${WIN:POS-BASE:256} =~ $QUOTED_RUN ]]
        count_lines "${BASH_REMATCH[0]}"
        w+=${BASH_REMATCH[0]}
        POS=$((POS + ${#BASH_REMATCH[0]}))
        ;;
    esac
  done
  parse_error "unterminated double quote"
}

# After "$(" (or "<(", ">("): lexes the inner list as a unit and appends $(@unit).
lex_substitution() {
  local saved=$UNIT start=$POS
  new_unit cmd
  local inner=$UNIT
  w+="\$(@$inner)"
  lex_unit "$inner" subst
  SUBST_TEXT[inner]=${SRC:start:POS-start-1}
  UNIT=$saved
}

lex_dollar() {
  local n=${WIN:POS-BASE+1:1} depth c
  case $n in
    '(')
      if [ "${WIN:POS-BASE+2:1}" = '(' ]; then # $((arithmetic))
        depth=0
        while [ "$POS" -lt "$SRC_LEN" ]; do
    [ $((POS - BASE)) -lt 1024 ] || rebase
          c=${WIN:POS-BASE:1}
          w+=$c
          POS=$((POS + 1))
          case $c in
            '(') depth=$((depth + 1)) ;;
            ')')
              depth=$((depth - 1))
              [ "$depth" -eq 0 ] && return 0
              ;;
            '$') [ "${WIN:POS-BASE:1}" = '(' ] && [ "$depth" -ge 2 ] && parse_error "\$(...) inside arithmetic" ;;
            '`' | $'\n') parse_error "arithmetic expansion not understood" ;;
          esac
        done
        parse_error "unterminated \$(("
      fi
      POS=$((POS + 2))
      lex_substitution
      ;;
    '{') # ${parameter...}: no commands, unless a substitution hides inside
      depth=0
      while [ "$POS" -lt "$SRC_LEN" ]; do
    [ $((POS - BASE)) -lt 1024 ] || rebase
        c=${WIN:POS-BASE:1}
        w+=$c
        POS=$((POS + 1))
        case $c in
          '{') depth=$((depth + 1)) ;;
          '}')
            depth=$((depth - 1))
            [ "$depth" -eq 0 ] && return 0
            ;;
          '$') [ "${WIN:POS-BASE:1}" = '(' ] && parse_error "\$(...) inside \${...}" ;;
          '`' | $'\n') parse_error "parameter expansion not understood" ;;
        esac
      done
      parse_error "unterminated \${"
      ;;
    "'") # $'...'
      local rest=${SRC:POS+2} body
      body=${rest%%\'*}
      [ "${#body}" -lt "${#rest}" ] || parse_error "unterminated \$'"
      w+="\$'$body'"
      POS=$((POS + ${#body} + 3))
      ;;
    *)
      w+='$'
      POS=$((POS + 1))
      if [[ ${WIN:POS-BASE:64} =~ $PARAMETER_NAME ]]; then
        w+=${BASH_REMATCH[1]}
        POS=$((POS + ${#BASH_REMATCH[1]}))
      fi
      ;;
  esac
}

# Characters read as a run: outside quotes, those that neither end a word nor
# start anything; inside double quotes, all but the four that mean something.
PLAIN_RUN='^[A-Za-z0-9_./:=,+%@^~!?*{}-]+'
QUOTED_RUN='^[^"\\$`]+'

# After "$": a variable's name or one of the special parameters.
PARAMETER_NAME='^([A-Za-z_][A-Za-z0-9_]*|[0-9@*#?$!-])'

count_lines() {
  local only=${1//[!$'\n']/}
  LINE=$((LINE + ${#only}))
}

# unquote <word>: WORD without quotes and backslashes; $ references stay.
unquote() {
  if [[ $1 != *[\'\"\\]* ]]; then
    WORD=$1
    return 0
  fi
  local s=$1 out="" c i=0 quote=""
  while [ "$i" -lt "${#s}" ]; do
    c=${s:i:1}
    if [ "$quote" = "'" ]; then
      if [ "$c" = "'" ]; then quote=""; else out+=$c; fi
    elif [ "$c" = '\' ]; then
      i=$((i + 1))
      out+=${s:i:1}
    elif [ "$c" = "'" ] && [ -z "$quote" ]; then
      quote="'"
    elif [ "$c" = '"' ]; then
      if [ -z "$quote" ]; then quote='"'; else quote=""; fi
    else
      out+=$c
    fi
    i=$((i + 1))
  done
  WORD=$out
}

# What the walk found. FUNCS: functions defined; VARS: the values assigned to
# each variable (raw words, separated by \x1f; \x01 when not a plain word).
declare -A FUNCS=() VARS=()
REF_FILE=() REF_LINE=() REF_WORD=()
PASS=1       # 1 collects functions, variables and sourced files; 2 records commands
TOP_FILE=""  # the script that is run, whose name is $0
INCLUDES=()  # the files the walk found sourced (pass 1)

# Builtins of bash and its reserved words, as this bash knows them.
declare -A BUILTINS=()
for b in $(compgen -b); do BUILTINS[$b]=1; done
unset b

# Commands that run another command given as their arguments, and the options
# of each that take a value (a value in the next word).
declare -A RUNNER_OPTIONS=(
  [sudo]="-u -g -p -C -D -U -h -r -t -T"
  [env]="-u -C"
  [timeout]="-s -k"
  [unshare]="--propagation --setgroups --map-user --map-group --wd --root -R -w -S -G"
  [nice]="-n"
  [nohup]=""
  [exec]="-a"
)
# Commands that run others in a way this walk cannot follow.
UNFOLLOWED=" eval xargs flock setsid stdbuf chroot nsenter su runuser watch parallel ionice taskset busybox script ssh coproc "

# Words in the place of a command that the caller has reviewed by hand:
# "<file>|<word as written>|<why>" (see cmake/check-commands.sh).
REVIEWED_WORDS=()
declare -A USED_REVIEWED=()
reviewed_word() { # reviewed_word <raw word>: whether it is one of REVIEWED_WORDS here
  local entry rest
  for entry in "${REVIEWED_WORDS[@]}"; do
    rest=${entry#*|}
    if [ "${entry%%|*}|${rest%%|*}" = "$UFILE|$1" ]; then
      USED_REVIEWED[$entry]=1
      return 0
    fi
  done
  return 1
}

record_ref() { # record_ref <command>
  [ "$PASS" = 2 ] || return 0
  REF_FILE+=("$UFILE")
  REF_LINE+=("$LINE")
  REF_WORD+=("$1")
}

# A word that assigns a variable, an element of an array or appends to one.
ASSIGNMENT='^[A-Za-z_][A-Za-z0-9_]*(\[.*\])?\+?='

record_assignment() { # record_assignment <NAME=value word>
  local name=${1%%[[+=]*} value=${1#*=}
  # Appending, an element of an array, or an array: no single word.
  if [[ $1 =~ ^[A-Za-z_][A-Za-z0-9_]*(\[|\+=) ]] || [[ $value == '(@'* ]]; then
    value=$'\x01'
  fi
  VARS[$name]+=$'\x1f'$value
}

# expand_value <raw word> [depth]: VALUE, the word with its variables replaced
# by their single known values; fails when that cannot be told.
expand_value() {
  local raw=$1 depth=${2:-0} s out="" name values re
  [ "$depth" -lt 8 ] || return 1
  [[ $raw == *$'\x01'* ]] && return 1
  re='^"?\$\(@([0-9]+)\)"?$'
  if [[ $raw =~ $re ]]; then
    # A folder named from the script's own: root=$(cd "$(dirname "$0")/.." && pwd)
    re='^cd "\$\(dirname "\$0"\)(/[^"]*)?" && pwd$'
    [[ ${SUBST_TEXT[BASH_REMATCH[1]]} =~ $re ]] || return 1
    local folder=$ROOT
    [[ $TOP_FILE != */* ]] || folder+=/${TOP_FILE%/*}
    normal_path "$folder${BASH_REMATCH[1]}"
    return 0
  fi
  [[ $raw == *'$(@'* ]] && return 1
  unquote "$raw"
  s=$WORD
  re='^([^$]*)\$(\{([A-Za-z_][A-Za-z0-9_]*|0)\}|([A-Za-z_][A-Za-z0-9_]*|0))(.*)$'
  while [[ $s =~ $re ]]; do
    out+=${BASH_REMATCH[1]}
    name=${BASH_REMATCH[3]}${BASH_REMATCH[4]}
    s=${BASH_REMATCH[5]}
    if [ "$name" = 0 ]; then
      out+=$ROOT/$TOP_FILE
      continue
    fi
    values=${VARS[$name]-}
    # exactly one value
    [ -n "$values" ] && [[ ${values:1} != *$'\x1f'* ]] || return 1
    expand_value "${values:1}" $((depth + 1)) || return 1
    out+=$VALUE
  done
  [[ $s == *'$'* ]] && return 1
  VALUE=$out$s
}

# normal_path <absolute path>: VALUE, the path without "." and ".." parts.
normal_path() {
  local part out=""
  local -a parts
  IFS=/ read -r -a parts <<<"$1"
  for part in "${parts[@]}"; do
    case $part in
      "" | .) ;;
      ..) out=${out%/*} ;;
      *) out+=/$part ;;
    esac
  done
  VALUE=${out:-/}
}

# walk_unit <unit>: follows one command list (see the top of this file).
walk_unit() {
  local u=$1 state=cmd k t i cases=0 runner="" runner_stage="" for_name=""
  local -a list
  read -r -a list <<<"${UNIT_TOKENS[u]}"
  UFILE=${UNIT_FILE[u]}
  FILE=$UFILE
  for ((i = 0; i < ${#list[@]}; i++)); do
    k=${list[i]}
    t=${TK_TEXT[k]}
    LINE=${TK_LINE[k]}
    if [ "${TK_KIND[k]}" = o ]; then
      case $state in
        test) continue ;;
        for_head)
          if [ "$t" = '(' ] && [ -z "$for_name" ]; then
            skip_arithmetic
          else
            [ "$t" = ';' ] || [ "$t" = $'\n' ] || parse_error "for loop not understood"
          fi
          continue
          ;;
        case_word | case_in)
          [ "$t" = $'\n' ] || parse_error "case not understood"
          continue
          ;;
        case_pattern)
          case $t in
            ')') state=cmd ;;
            '(' | '|' | $'\n') ;;
            *) parse_error "case pattern not understood" ;;
          esac
          continue
          ;;
      esac
      case $t in
        ';;' | ';&' | ';;&')
          [ "$cases" -gt 0 ] || parse_error "$t outside case"
          state=case_pattern
          ;;
        ')') state=after ;;
        '(')
          [ "$state" = cmd ] || parse_error "( not understood here"
          k=${list[i + 1]-}
          [ -n "$k" ] && [ "${TK_KIND[k]}" = o ] && [ "${TK_TEXT[k]}" = '(' ] &&
            parse_error "(( arithmetic )) commands are not understood"
          ;;
        *) state=cmd ;;
      esac
      runner=""
      continue
    fi
    case $state in
      test) [ "$t" = ']]' ] && state=after ;;
      for_head)
        [ "$t" = 'do' ] && state=cmd
        if [ -z "$for_name" ]; then # the loop's variable: no known value
          for_name=$t
          VARS[$t]+=$'\x1f\x01'
        fi
        ;;
      case_word) state=case_in ;;
      case_in)
        [ "$t" = in ] || parse_error "case without in"
        state=case_pattern
        ;;
      case_pattern)
        if [ "$t" = 'esac' ]; then
          cases=$((cases - 1))
          state=after
        fi
        ;;
      function_name)
        FUNCS[$t]=1
        state=cmd
        skip_parentheses
        ;;
      after) parse_error "word '$t' after a compound command not understood" ;;
      args) walk_argument "$t" ;;
      cmd) walk_command_position "$t" ;;
    esac
  done
  return 0
}

# Skips "(( ... ))" of an arithmetic for loop, from its first "(".
skip_arithmetic() {
  local k closing=0
  for ((i = i + 1; i < ${#list[@]}; i++)); do
    k=${list[i]}
    if [ "${TK_KIND[k]}" = o ] && [ "${TK_TEXT[k]}" = ')' ]; then
      closing=$((closing + 1))
      [ "$closing" = 2 ] && break
    else
      closing=0
    fi
  done
  for_name="(("
}

# Skips "( )" after a function's name.
skip_parentheses() {
  local a=${list[i + 1]-} b=${list[i + 2]-}
  if [ -n "$b" ] && [ "${TK_TEXT[a]}" = '(' ] && [ "${TK_KIND[a]}" = o ] &&
    [ "${TK_TEXT[b]}" = ')' ] && [ "${TK_KIND[b]}" = o ]; then
    i=$((i + 2))
  fi
}

# Uses the locals of walk_unit.
walk_command_position() {
  local t=$1 a=${list[i + 1]-}
  case $t in
    if | then | elif | else | do | while | until | '{' | '!' | time) return 0 ;;
    fi | done | '}')
      state=after
      return 0
      ;;
    'esac')
      cases=$((cases - 1))
      state=after
      return 0
      ;;
    for)
      state=for_head
      for_name=""
      return 0
      ;;
    case)
      cases=$((cases + 1))
      state=case_word
      return 0
      ;;
    '[[')
      state=test
      return 0
      ;;
    function)
      state=function_name
      return 0
      ;;
    select | coproc | 'in') parse_error "'$t' not understood here" ;;
  esac
  if [ -n "$a" ] && [ "${TK_KIND[a]}" = o ] && [ "${TK_TEXT[a]}" = '(' ]; then
    FUNCS[$t]=1 # name () { ... }
    skip_parentheses
    return 0
  fi
  if [[ $t =~ $ASSIGNMENT ]]; then
    if [ "$PASS" = 1 ]; then record_assignment "$t"; fi
    return 0
  fi
  state=args
  command_word "$t"
  return 0
}

# command_word <raw word>: a word in the place of a command.
command_word() {
  local raw=$1 name values value v empty=0 callee=""
  runner="" runner_stage=""
  if [[ $raw == *'$(@'* ]]; then
    unnamed_command "a command named by a command substitution: $raw"
    return 0
  fi
  unquote "$raw"
  name=$WORD
  if [[ $name == *'$'* ]]; then
    if [[ $name =~ ^\$\{?([A-Za-z_][A-Za-z0-9_]*)\}?$ ]]; then
      # A variable: each value it is given is a command.
      values=${VARS[${BASH_REMATCH[1]}]-}
      if [ -z "$values" ]; then
        [ "$PASS" = 1 ] && return 0
        reviewed_word "$raw" && return 0
        unnamed_command "the command $raw is a variable given no value here"
        return 0
      fi
      IFS=$'\x1f' read -r -a values <<<"${values:1}"
      for value in "${values[@]}"; do
        if ! expand_value "$value"; then
          [ "$PASS" = 1 ] && return 0
          reviewed_word "$raw" && return 0
          unnamed_command "cannot tell which command $raw is"
          return 0
        fi
        if [ -z "$VALUE" ]; then
          empty=1
        else
          callee=$VALUE
          literal_command "$VALUE" "$raw"
        fi
      done
      # A variable that may be empty must hold a command that runs another.
      if [ "$empty" = 1 ] && [ -z "$runner" ] && [ -n "$callee" ]; then
        unnamed_command "$raw may be empty, and ${callee} runs no command given to it"
      fi
      [ "$empty" = 1 ] && [ -z "$callee" ] && state=cmd
      return 0
    fi
    [[ $name == '$0' ]] && return 0 # the script itself
    if ! expand_value "$raw"; then
      [ "$PASS" = 1 ] && return 0
      reviewed_word "$raw" && return 0
      unnamed_command "cannot tell which command $raw is"
      return 0
    fi
    name=$VALUE
  fi
  literal_command "$name" "$raw"
  return 0
}

# literal_command <command> <raw word>
literal_command() {
  local name=$1
  if [[ $name == */* ]]; then
    record_ref "$name"
    runner_for "${name##*/}"
    return 0
  fi
  [ -n "${FUNCS[$name]-}" ] && return 0
  if [ -n "${BUILTINS[$name]-}" ]; then
    case $name in
      source | .) runner=source ;;
      trap) runner=trap ;;
      exec) runner=exec ;;
      command) runner=command ;;
      local | export | declare | readonly | typeset) runner=assign ;;
      eval) parse_error "eval: the commands it runs cannot be checked" ;;
    esac
    return 0
  fi
  record_ref "$name"
  runner_for "$name"
  return 0
}

runner_for() { # runner_for <command name>: how its arguments are read
  local name=$1
  [[ $UNFOLLOWED == *" $name "* ]] && [ "$PASS" = 2 ] &&
    parse_error "$name runs commands in a way this check cannot follow"
  case $name in
    sudo | env | timeout | unshare | nice | nohup) runner=$name ;;
    sh | bash | dash) runner=shell ;;
    find | perl) runner=$name ;;
  esac
  return 0
}

# walk_argument <raw word>: an argument of the command in hand.
walk_argument() {
  local raw=$1
  [ -z "$runner" ] && [[ $raw != ?(\"|\')-D* ]] && return 0
  unquote "$raw"
  local arg=$WORD
  if [ "$PASS" = 2 ] && [[ $arg =~ ^-DCMAKE_[A-Z]+_COMPILER(:[A-Z]+)?=(.+)$ ]]; then
    record_ref "${BASH_REMATCH[2]}" # a compiler given to cmake
  fi
  case $runner in
    "") ;;
    assign)
      if [[ $raw =~ $ASSIGNMENT ]] && [ "$PASS" = 1 ]; then record_assignment "$raw"; fi
      ;;
    source)
      runner=""
      if [ "$PASS" = 1 ]; then
        expand_value "$raw" || parse_error "cannot tell which file $raw is"
        INCLUDES+=("$VALUE")
      fi
      ;;
    trap)
      [[ $arg == -* ]] && return 0
      runner=""
      lex_inner_text "$arg"
      ;;
    shell)
      case $arg in
        -c) runner=shell_text ;;
        -o) runner_stage=skip ;;
        -*) ;;
        *)
          if [ "$runner_stage" = skip ]; then
            runner_stage=""
          else
            command_word "$raw" # the script it runs
            runner=""
          fi
          ;;
      esac
      ;;
    shell_text)
      runner=""
      lex_inner_text "$arg"
      ;;
    command)
      case $arg in
        -v | -V) runner=command_v ;;
        -p) ;;
        *) command_word "$raw" ;;
      esac
      ;;
    command_v) literal_command "$arg" "$raw" ;;
    find)
      case $arg in -exec | -execdir | -ok | -okdir)
        [ "$PASS" = 2 ] && parse_error "find $arg: the commands it runs are not checked" ;;
      esac
      ;;
    perl)
      case $arg in -e | -E)
        [ "$PASS" = 2 ] && parse_error "perl $arg: the commands it runs are not checked" ;;
      esac
      ;;
    *) runner_argument "$raw" "$arg" ;;
  esac
  return 0
}

# An argument of sudo, env, timeout, unshare, nice, nohup or exec: options,
# then (for timeout) the duration, then the command they run.
runner_argument() {
  local raw=$1 arg=$2 options=" ${RUNNER_OPTIONS[$runner]} "
  if [ "$runner_stage" = value ]; then
    runner_stage=""
    return 0
  fi
  if [[ $arg == -* ]]; then
    [[ $arg != *=* && $options == *" $arg "* ]] && runner_stage=value
    [ "$runner" = env ] && [ "$arg" = -S ] && parse_error "env -S is not understood"
    return 0
  fi
  if [[ $runner == @(sudo|env) && $arg =~ ^[A-Za-z_][A-Za-z0-9_]*= ]]; then
    return 0 # a variable for the command's environment
  fi
  if [ "$runner" = timeout ] && [ "$runner_stage" != duration_given ]; then
    runner_stage=duration_given
    return 0
  fi
  command_word "$raw"
  return 0
}

# lex_inner_text <text>: a command text given as an argument (trap, sh -c)
# becomes a unit of its own (pass 1; pass 2 walks it with the others).
lex_inner_text() {
  [ "$PASS" = 1 ] || return 0
  local saved_src=$SRC saved_pos=$POS saved_line=$LINE saved_unit=$UNIT
  SRC=$1
  lex_text "$LINE"
  SRC=$saved_src POS=$saved_pos LINE=$saved_line UNIT=$saved_unit SRC_LEN=${#saved_src}
  rebase
}
