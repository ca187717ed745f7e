# Bash completion of kestrovale-cli: the subcommands, each subcommand's
# options, and the values of an option whose help lists them
# ("--format pdf|png"); anything else completes as a file name. Everything
# is read from the program's own help: the list of subcommands from
# `kestrovale-cli --help`, the options of one from `kestrovale-cli NAME
# --help`, which prints its help and does nothing else.

# The option lines of a subcommand's help, each cut to its label
# ("-n N", "--format text|tsv|json", "-h, --help"): the help that follows a
# label after two spaces, or on the next lines, is left out.
_kestrovale_cli_option_labels() {
  "$1" "$2" --help 2>/dev/null | awk '
    /^usage: / { usage = 1 }
    usage && /^  -/ { sub(/^  /, ""); sub(/  .*$/, ""); print }'
}

_kestrovale_cli() {
  local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} prev=""
  ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()

  if ((COMP_CWORD == 1)); then
    local commands
    commands=$("$program" --help 2>/dev/null | awk '/^  [a-z0-9]/ { print $1 }')
    mapfile -t COMPREPLY < <(compgen -W "$commands --help --version" -- "$cur")
    return
  fi

  local labels
  labels=$(_kestrovale_cli_option_labels "$program" "${COMP_WORDS[1]}")
  [[ -n $labels ]] || return

  # The values listed after the option before the word, lower-case words
  # only: a word such as FILE.str stands for a file name.
  if [[ $prev =~ ^--?[a-z][a-z0-9-]*$ ]]; then
    local listed value values=""
    listed=$(grep -oE -e "(^|[ ])$prev[ =][A-Za-z0-9.]+(\|[A-Za-z0-9.]+)+" <<<"$labels" | head -n 1)
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
    options=$(grep -oE -e '(^|[ ,])--?[a-z][a-z0-9-]*' <<<"$labels" | sed 's/^[ ,]*//' | sort -u)
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
  fi
}

complete -o bashdefault -o default -F _kestrovale_cli kestrovale-cli
