# bash completion for tessra-cli. The commands, their options and the kind of file
# each argument takes are read from the tool's own --help, so new commands complete
# without a change here.

# Files ending in one of the extensions given (all files with none), and folders.
_tessra_cli_files() {
    local cur=$1 ext
    shift
    compopt -o filenames 2>/dev/null
    if (($# == 0)); then
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
    fi
    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
    for ext in "$@"; do
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -f -X "!*.$ext" -- "$cur")
    done
}

# Completes an argument described by a word of the usage line: a file name such as
# MAP.tessra or OUT.png|OUT.bmp, a choice such as rows|columns, or a value (nothing).
_tessra_cli_complete_word() {
    local cur=$1 word=$2 exts=() part
    if [[ $word == OUT* ]]; then
        _tessra_cli_files "$cur"
    elif [[ $word == *.* ]]; then
        for part in ${word//|/ }; do
            exts+=("${part##*.}")
        done
        _tessra_cli_files "$cur" "${exts[@]}"
    elif [[ $word == *'|'* && $word != *[A-Z]* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "${word//|/ }" -- "$cur")
    fi
}

_tessra_cli() {
    local tool=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    if ((COMP_CWORD == 1)); then
        local commands
        commands=$("$tool" --help 2>/dev/null | sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p')
        mapfile -t COMPREPLY < <(compgen -W "$commands --help --version" -- "$cur")
        return
    fi

    # The command's usage, e.g. "MAP.tessra OUT.png [--zoom Z] [--scroll X,Y]", joined
    # where it runs over several lines, without the lines of another form of the command.
    local usage
    usage=$("$tool" "${COMP_WORDS[1]}" --help 2>/dev/null |
        sed -n -e '/^Usage: /,/^$/{/^ *tessra-cli /d;p;}' |
        sed -e 's/^Usage: [^ ]* [^ ]* *//' | tr -s ' \n' '  ')
    [[ -n $usage ]] || return

    # An option's value: the word after it in the usage.
    if [[ $prev == --* ]]; then
        local value
        value=$(grep -o -- "\[$prev [^]]*\]" <<<"$usage" | head -n 1)
        if [[ -n $value ]]; then
            value=${value#"[$prev "}
            _tessra_cli_complete_word "$cur" "${value%]}"
            return
        fi
    fi
    if [[ $cur == -* ]]; then
        local options
        options=$(grep -o -- '--[a-z][a-z0-9-]*' <<<"$usage")
        mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur")
        return
    fi

    # A plain argument: count those before it, leaving options and their values out.
    local positional=() index=0 i word
    read -r -a positional <<<"$(sed -e 's/\[--[^]]*\]//g' -e 's/[][]//g' <<<"$usage")"
    for ((i = 2; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $word == --* ]]; then
            [[ $usage == *"[$word "* ]] && ((i++))
        else
            ((index++))
        fi
    done
    local last=$((${#positional[@]} - 1))
    if ((last > 0 && index >= last)) && [[ ${positional[last]} == ... ]]; then
        index=$((last - 1)) # the repeated last argument
    fi
    ((index <= last)) && _tessra_cli_complete_word "$cur" "${positional[index]}"
}

complete -F _tessra_cli tessra-cli
