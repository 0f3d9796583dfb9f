#!/usr/bin/env bash
# Checks the include lines against the layer order of src/LAYERS: a file of src/<layer>/ may include
# "<lower or same layer>/X.h", "hidusb/X.h", its generated "ui_X.h" and system headers, nothing else;
# the device library (hidusb/) never includes the program's src/. Prints each offence and fails on any.
set -uo pipefail
cd "$(dirname "$0")/.."

mapfile -t layers < <(grep -E '^[a-z]+$' src/LAYERS)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

bad=0
offence() {
    echo "$1"
    bad=1
}

for path in src/*; do
    name=${path#src/}
    case "$name" in LAYERS | CMakeLists.txt) continue ;; esac
    [ -d "$path" ] && [ -n "${rank[$name]+x}" ] || offence "$path: not a layer of src/LAYERS"
done

while IFS= read -r file; do
    own=$(cut -d/ -f2 <<<"$file")
    [ -n "${rank[$own]+x}" ] || continue
    while IFS=: read -r line target; do
        case "$target" in
            ui_*.h | *.moc | hidusb/*) continue ;;
        esac
        to=${target%%/*}
        if [ "$to" = "$target" ]; then
            offence "$file:$line: \"$target\" does not name its folder"
        elif [ -z "${rank[$to]+x}" ]; then
            offence "$file:$line: \"$target\" is in no layer"
        elif [ "${rank[$to]}" -gt "${rank[$own]}" ]; then
            offence "$file:$line: $own may not include \"$target\" ($to lies above it)"
        fi
    done < <(grep -n -E '^\s*#\s*include\s*"' "$file" | sed -E 's/^([0-9]+):\s*#\s*include\s*"([^"]+)".*/\1:\2/')
done < <(find src -name '*.h' -o -name '*.cpp' | sort)

while IFS= read -r hit; do
    offence "$hit: the device library includes the program"
done < <(grep -rn -E "^\s*#\s*include\s*\"($(IFS='|'; echo "${layers[*]}"))/" hidusb)

[ "$bad" -eq 0 ] && echo "layers: every include goes downwards"
exit "$bad"
