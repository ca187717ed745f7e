# Bash completion of kestrovale-cli: the subcommands, each subcommand's
# options, and the values of an option whose usage lists them
# ("--format pdf|png"); anything else completes as a file name. Everything
# is read from the program's own `--help`, so that the completion follows
# the program; no subcommand is ever run.

# The usage of one subcommand from the list of `--help`: its line and the
# lines that continue it (indented further).
_kestrovale_cli_usage() {
  "$1" --help 2>/dev/null | awk -v name="$2" '
    /^  [^ ]/ { inside = ($1 == name); if (inside) print; next }
    inside && /^   / { print }'
}

_kestrovale_cli() {
  local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} prev=""
  ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()

  if ((COMP_CWORD == 1)); then
    local commands
    commands=$("$program" --help 2>/dev/null | awk '/^  [a-z0-9]/ { print $1 }')
    mapfile -t COMPREPLY < <(compgen -W "$commands --help" -- "$cur")
    return
  fi

  local usage
  usage=$(_kestrovale_cli_usage "$program" "${COMP_WORDS[1]}")
  [[ -n $usage ]] || return

  # The values listed after the option before the word, lower-case words
  # only: a word such as FILE.str stands for a file name.
  if [[ $prev =~ ^--?[a-z][a-z0-9-]*$ ]]; then
    local listed value values=""
    listed=$(grep -oE -e "(^|[[ ])$prev[ =][A-Za-z0-9.]+(\|[A-Za-z0-9.]+)+" <<<"$usage" | head -n 1)
    if [[ -n $listed ]]; then
      for value in $(tr '|' ' ' <<<"${listed#*"$prev"?}"); do
        [[ $value =~ ^[a-z0-9.]+$ ]] && values="$values $value"
      done
      mapfile -t COMPREPLY < <(compgen -W "$values" -- "$cur")
      return
    fi
  fi

  if [[ $cur == -* ]]; then
    local options
    options=$(grep -oE -e '(^|[[ |])--?[a-z][a-z0-9-]*' <<<"$usage" | sed 's/^[[ |]*//' | sort -u)
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
  fi
}

complete -o bashdefault -o default -F _kestrovale_cli kestrovale-cli
