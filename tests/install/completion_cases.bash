# The cases of completion_test.sh, run in a fresh bash: DIR holds ZelkoHTML.ini, message.txt
# and sous-dossier/; PROGRAM is the installed zelkohtml-gen.
set -uo pipefail
dir=$1
program=$2
. /usr/share/bash-completion/bash_completion
failures=0
# Outside a real Tab compopt cannot run: note what the completion asks of it instead.
compopt() {
    [[ $* == *"-o nospace"* ]] && nospace=1
    return 0
}

_completion_loader zelkohtml-gen
if [ "$(complete -p zelkohtml-gen 2>/dev/null)" != "complete -F _zelkohtml_gen zelkohtml-gen" ]; then
    echo "the loader did not find the completion: $(complete -p zelkohtml-gen 2>&1)"
    exit 1
fi

# offers LINE: what Tab offers at the end of LINE, sorted, one line. The line is cut into
# words as readline cuts it: at blanks, and "=" standing as a word of its own.
offers() {
    local line=$1 word="" c i
    COMP_WORDS=()
    for ((i = 0; i < ${#line}; i++)); do
        c=${line:i:1}
        if [[ $c == " " ]]; then
            [[ -n $word ]] && COMP_WORDS+=("$word")
            word=""
        elif [[ $c == "=" ]]; then
            [[ -n $word ]] && COMP_WORDS+=("$word")
            COMP_WORDS+=("=")
            word=""
        else
            word+=$c
        fi
    done
    if [[ -n $word || $line == *" " ]]; then
        COMP_WORDS+=("$word")
    fi
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    nospace=0
    local cur=${COMP_WORDS[COMP_CWORD]} prev=""
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    _zelkohtml_gen zelkohtml-gen "$cur" "$prev"
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
    ((nospace)) && printf ' (no space)'
    return 0
}

expect() {
    local line=$1 wanted=$2 got
    got=$(offers "$line")
    if [[ $got != "$wanted" ]]; then
        echo "'$line': offered '$got', expected '$wanted'"
        failures=$((failures + 1))
    fi
}

cd "$dir"
# Every option of --help, and only those.
help_options=$("$program" --help | grep -oE '^  (-h, )?--[a-z-]+' | sed 's/^  //; s/-h, //' |
    sort | tr '\n' ' ' | sed 's/ $//')
expect "zelkohtml-gen --" "$help_options"
expect "zelkohtml-gen --se" "--select --set --settings"
expect "zelkohtml-gen --te" "--text-only"
expect "zelkohtml-gen --code-view --v" "--version"
expect "zelkohtml-gen --bogus" ""
# The names of --set, each with its "=" and nothing after.
expect "zelkohtml-gen --set Bol" "Bold= (no space)"
expect "zelkohtml-gen --set GradientS" "GradientStartColor= GradientSymmetry= (no space)"
expect "zelkohtml-gen --set=GradientO" "GradientOn= (no space)"
expect "zelkohtml-gen --settings a.ini --set FontF" "FontFace= FontFaceIndex= (no space)"
expect "zelkohtml-gen --set PresetStartColors[7" "PresetStartColors[7]= (no space)"
expect "zelkohtml-gen --set Bold=" ""
expect "zelkohtml-gen --set Bold=1" ""
expect "zelkohtml-gen --set Gras" ""
all_names=$(offers "zelkohtml-gen --set " | sed 's/ (no space)$//')
wanted_names=$("$program" --help | sed -n '/^Names for --set:/,$ s/^      //p' | tr ', ' '\n\n' |
    sed '/^$/d; s/$/=/' | sort | tr '\n' ' ' | sed 's/ $//')
[[ $all_names == "$wanted_names" ]] ||
    { echo "--set offers '$all_names', not the names of --help '$wanted_names'"; failures=$((failures + 1)); }
[[ $(wc -w <<<"$all_names") -gt 50 ]] || { echo "too few names: $all_names"; failures=$((failures + 1)); }
# Effect numbers; no guess for a selection.
expect "zelkohtml-gen --effect " "1 10 11 12 2 3 4 5 6 7 8 9"
expect "zelkohtml-gen --effect 1" "1 10 11 12"
expect "zelkohtml-gen --effect=1" "1 10 11 12"
expect "zelkohtml-gen --select " ""
expect "zelkohtml-gen --code-view=" ""
# Formats.
expect "zelkohtml-gen --format " "bbcode css html"
expect "zelkohtml-gen --format=b" "bbcode"
expect "zelkohtml-gen --compact --p" "--percent-sizes"
expect "zelkohtml-gen --compact=" ""
# Gradients: the blends; colours and degrees are not guessed.
expect "zelkohtml-gen --blend " "oklab rgb"
expect "zelkohtml-gen --blend=o" "oklab"
expect "zelkohtml-gen --gr" "--gradient-stops"
expect "zelkohtml-gen --gradient-stops " ""
expect "zelkohtml-gen --rainbow " ""
# Files: for --settings, for the text, and after "--" even when they look like options.
expect "zelkohtml-gen --settings Z" "ZelkoHTML.ini"
expect "zelkohtml-gen --settings=Z" "ZelkoHTML.ini"
expect "zelkohtml-gen --options Z" "ZelkoHTML.ini"
expect "zelkohtml-gen --set Bold=1 m" "message.txt"
expect "zelkohtml-gen s" "sous-dossier"
expect "zelkohtml-gen -- --" ""
expect "zelkohtml-gen --help " ""
expect "zelkohtml-gen --version --" ""

if ((failures)); then
    echo "$failures completion cases failed"
    exit 1
fi
echo "completion offers what was expected"
