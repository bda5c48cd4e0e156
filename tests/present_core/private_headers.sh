#!/bin/sh
# present's private headers (everything under present/ but include/present/)
# are included by no file of the game, the tools, the examples or the engine;
# they reach present through <present/...> only.
#   private_headers.sh SOURCE_DIR
set -u
source=$1
cd "$source" || exit 1
found=0
for header in $(find present -name '*.h' ! -path 'present/include/*' | sed 's|^present/||'); do
    name=$(basename "$header")
    # "renderer.h", "direct3d7/direct3d7.h", <present/../renderer.h> and the like.
    hits=$(grep -rnE --include='*.h' --include='*.cpp' --include='*.c' \
        "#[[:space:]]*include[[:space:]]*[<\"]([^\">]*/)?$name[\">]" game tools examples physics |
        grep -vE "[<\"]present/$name[\">]|[<\"]kinetra/$name[\">]" |
        while IFS= read -r line; do
            # A header of the including file's own directory is its own.
            file=${line%%:*}
            [ -e "$(dirname "$file")/$name" ] || echo "$line"
        done)
    if [ -n "$hits" ]; then
        echo "present's private header $header is included from:"
        echo "$hits"
        found=1
    fi
done
[ "$found" -eq 0 ] && echo "no private header of present is included outside present and the tests"
exit "$found"
