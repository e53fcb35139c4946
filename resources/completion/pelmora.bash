# Bash completion of pelmora: its options, files after those that take a file,
# folders after --dest/-d, documents elsewhere.
_pelmora() {
    local cur prev
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    case "$prev" in
        -d|--dest)
            COMPREPLY=($(compgen -d -- "$cur"))
            return ;;
        -l|--log|--password-file)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        -j|--jobs|--timeout|--shard|--recycle-after|--office-memory)
            return ;;
    esac
    case "$cur" in
        --dest=*|--log=*|--password-file=*)
            local option="${cur%%=*}" value="${cur#*=}"
            if [[ "$option" == --dest ]]; then
                COMPREPLY=($(compgen -d -P "$option=" -- "$value"))
            else
                COMPREPLY=($(compgen -f -P "$option=" -- "$value"))
            fi
            return ;;
        -*)
            COMPREPLY=($(compgen -W "--dest= --log --log= --subfolders --overwrite --compact
                --keep-files --jobs= --json --password-file= --shard= --timeout= --recycle-after=
                --office-memory= --quiet
                --help --version -d -l -s -o -c -f1 -j -?" -- "$cur"))
            [[ ${#COMPREPLY[@]} == 1 && "${COMPREPLY[0]}" == *= ]] && compopt -o nospace
            return ;;
    esac
    COMPREPLY=($(compgen -f -- "$cur"))
}
complete -o filenames -F _pelmora pelmora
