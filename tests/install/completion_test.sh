#!/usr/bin/env bash
# The bash completion of zelkohtml-gen, installed where bash-completion looks for it, as an
# interactive shell loads it on the first Tab: the options, the effect numbers, the names
# of --set (those of the program's --help), files, and nothing where a value is free.
# Usage: completion_test.sh ROOT PREFIX    (the tree installed for PREFIX, found under ROOT)
set -euo pipefail
prefix=$(cd "$1$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

completions="$prefix/share/bash-completion/completions/zelkohtml-gen"
test -f "$completions" || { echo "no completion file at $completions"; exit 1; }
mkdir -p "$work/files/sous-dossier"
touch "$work/files/ZelkoHTML.ini" "$work/files/message.txt"

# The completion loader of bash-completion finds the file from XDG_DATA_DIRS, as it finds
# /usr/share/bash-completion/completions/zelkohtml-gen; the user's own folder is empty.
env -i HOME="$work" PATH="$prefix/bin:/usr/bin:/bin" XDG_DATA_DIRS="$prefix/share" \
    BASH_COMPLETION_USER_DIR="$work/none" LC_ALL=C.UTF-8 \
    bash --norc --noprofile "$here/completion_cases.bash" "$work/files" "$prefix/bin/zelkohtml-gen"
