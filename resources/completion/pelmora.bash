# Bash completion of pelmora: its options, files after those that take a file,
# folders after --dest/-d, documents elsewhere.

# Fills COMPREPLY with compgen's answers, one a line, so that names with blanks stay
# whole; names are quoted as file names only when files are offered, as for ls.
_pelmora_names() {
    local IFS=$'\n'
    COMPREPLY=($(compgen "$@"))
    compopt -o filenames 2>/dev/null
}

_pelmora() {
    local cur prev
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    # Bash splits "--dest=out" at the "=" unless COMP_WORDBREAKS lacks it.
    [[ "$prev" == = && $COMP_CWORD -ge 2 ]] && prev="${COMP_WORDS[COMP_CWORD-2]}"
    [[ "$cur" == = ]] && { prev="${COMP_WORDS[COMP_CWORD-1]}"; cur=; }
    case "$prev" in
        -d|--dest)
            _pelmora_names -d -- "$cur"
            return ;;
        -l|--log|--password-file)
            _pelmora_names -f -- "$cur"
            return ;;
        -j|--jobs|--timeout|--shard|--recycle-after|--office-memory|--memory-limit)
            return ;;
        --sandbox)
            COMPREPLY=($(compgen -W "auto on off" -- "$cur"))
            return ;;
    esac
    case "$cur" in
        --sandbox=*)
            COMPREPLY=($(compgen -W "auto on off" -P "--sandbox=" -- "${cur#*=}"))
            return ;;
        --dest=*|--log=*|--password-file=*)
            local option="${cur%%=*}" value="${cur#*=}" kind=-f
            [[ "$option" == --dest ]] && kind=-d
            # The option stays in the word, so the file-name quoting cannot be used.
            local IFS=$'\n' name
            COMPREPLY=()
            for name in $(compgen "$kind" -- "$value"); do
                [[ -d "$name" ]] && name+=/
                COMPREPLY+=("$option=$(printf '%q' "$name")")
            done
            [[ ${#COMPREPLY[@]} == 1 && "${COMPREPLY[0]}" == */ ]] && compopt -o nospace
            return ;;
        -*)
            COMPREPLY=($(compgen -W "--dest= --log --log= --subfolders --overwrite --compact
                --keep-files --jobs= --json --password-file= --shard= --timeout= --recycle-after=
                --office-memory= --memory-limit= --sandbox= --quiet
                --help --version -d -l -s -o -c -f1 -j -?" -- "$cur"))
            [[ ${#COMPREPLY[@]} == 1 && "${COMPREPLY[0]}" == *= ]] && compopt -o nospace
            return ;;
    esac
    _pelmora_names -f -- "$cur"
}
complete -F _pelmora pelmora
