#!/usr/bin/env bash
# Usage: scripts/check-layers.sh [FOLDER]
#
# Checks that every source file under FOLDER (the repository by default) includes only the layers it may use:
#   platform <- engine/core <- engine (raster, scene, sound) <- gui <- the game <- app; the launcher uses platform
#   and engine/core only. Inside the game: gamestate <- cards and rules (each other) <- lessons and screens (each
#   other). Above platform/ no file includes an SDL, FreeType or POSIX header. Prints each offending file, line and
#   include; exits 1 when there is one.
set -euo pipefail

root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$root"

# The folders a file's own folder may include from.
allowed_for() {
    case $1 in
        platform/*) echo "platform" ;;
        engine/core/*) echo "platform engine/core" ;;
        engine/*) echo "platform engine" ;;
        gui/*) echo "platform engine gui" ;;
        gamestate/*) echo "platform engine gui gamestate" ;;
        cards/* | rules/*) echo "platform engine gui gamestate cards rules" ;;
        lessons/* | screens/*) echo "platform engine gui gamestate cards rules lessons screens" ;;
        app/*) echo "platform engine gui gamestate cards rules lessons screens app" ;;
        launcher/*) echo "platform engine/core launcher" ;;
        *) echo "" ;;
    esac
}

status=0
while IFS= read -r file; do
    allowed=$(allowed_for "$file")
    [[ -n $allowed ]] || continue
    line_no=0
    while IFS= read -r line; do
        line_no=$((line_no + 1))
        [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]+) ]] || continue
        target=${BASH_REMATCH[2]}
        if [[ ${BASH_REMATCH[1]} == '<' ]]; then
            # System headers of the operating system and the libraries belong to platform/ alone.
            if [[ $file != platform/* && $target =~ ^(SDL|ft2build|freetype/|unistd\.h|fcntl\.h|dirent\.h|dlfcn\.h|pthread\.h|poll\.h|signal\.h|sys/) ]]; then
                echo "$file:$line_no: includes <$target>, which only platform/ may use"
                status=1
            fi
            continue
        fi
        [[ $target == */* ]] || continue
        ok=0
        for prefix in $allowed; do
            if [[ $target == "$prefix"/* ]]; then
                ok=1
                break
            fi
        done
        if [[ $ok -eq 0 ]]; then
            echo "$file:$line_no: includes \"$target\", a layer it may not use"
            status=1
        fi
    done < "$file"
done < <(find platform engine gui gamestate cards rules lessons screens app launcher -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)

exit "$status"
