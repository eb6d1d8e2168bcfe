#!/bin/bash
# Installs the build into a fresh prefix (with a blank in its name) and checks each file
# there, the validators' verdicts, and that both programs, found through the prefix's
# bin folder, find their help collection. Tools that Debian keeps in other packages
# are skipped with a message when missing.
set -u
cmake=$1 build=$2 version=$3

prefix=$(mktemp -d "${TMPDIR:-/tmp}/tessra prefix XXXXXX") || exit 1
trap 'rm -rf "$prefix"' EXIT
failed=0 passed=0

check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAIL: $what"
        failed=$((failed + 1))
    fi
}
have() { # have PROGRAM PACKAGE
    command -v "$1" >/dev/null && return 0
    echo "SKIPPED: $1 is missing (Debian package $2)"
    return 1
}

if ! "$cmake" --install "$build" --prefix "$prefix" >"$prefix/install.log" 2>&1; then
    cat "$prefix/install.log"
    echo "FAIL: cmake --install (is everything built?)"
    exit 1
fi

# Each installed file and what it must be.
png_is() { # png_is FILE SIZE: a PNG of SIZE x SIZE pixels
    local header
    header=$(od -An -tx1 -N24 "$1" | tr -d ' \n')
    [[ ${header:0:16} == 89504e470d0a1a0a ]] &&
        (("0x${header:32:8}" == $2 && "0x${header:40:8}" == $2))
}
while read -r path kind; do
    file=$prefix/$path
    case $kind in
    program) check "$path is a program" test -x "$file" ;;
    png) check "$path is a PNG of its size" png_is "$file" "$(basename "$(dirname "$(dirname "$file")")" | cut -dx -f1)" ;;
    gzip) check "$path is compressed" gzip -t "$file" ;;
    *) check "$path is there" test -s "$file" ;;
    esac
done <<'FILES'
bin/tessra program
bin/tessra-cli program
share/tessra/tessra.qhc file
share/tessra/tessra.qch file
share/applications/tessra.desktop file
share/mime/packages/tessra.xml file
share/icons/hicolor/scalable/apps/tessra.svg file
share/icons/hicolor/16x16/apps/tessra.png png
share/icons/hicolor/22x22/apps/tessra.png png
share/icons/hicolor/24x24/apps/tessra.png png
share/icons/hicolor/32x32/apps/tessra.png png
share/icons/hicolor/48x48/apps/tessra.png png
share/icons/hicolor/64x64/apps/tessra.png png
share/icons/hicolor/128x128/apps/tessra.png png
share/icons/hicolor/256x256/apps/tessra.png png
share/man/man1/tessra.1.gz gzip
share/man/man1/tessra-cli.1.gz gzip
share/bash-completion/completions/tessra-cli file
FILES

# The desktop entry: nothing to say, not even a hint (two main categories
# list the editor twice in some menus).
if have desktop-file-validate desktop-file-utils; then
    verdict=$(desktop-file-validate "$prefix/share/applications/tessra.desktop" 2>&1)
    check "desktop-file-validate: $verdict" test -z "$verdict"
fi
check "the desktop entry starts tessra with the file" \
    grep -qx 'Exec=tessra %f' "$prefix/share/applications/tessra.desktop"

# The MIME type: well-formed, and a map is known by its first line even without its name.
mime=$prefix/share/mime
if have xmllint libxml2-utils; then
    check "xmllint on tessra.xml" xmllint --noout "$mime/packages/tessra.xml"
fi
if have update-mime-database shared-mime-info && have gio libglib2.0-bin; then
    check "update-mime-database" update-mime-database "$mime" >/dev/null
    printf ' 1 \r\ntiles.pcx\r\n 0 \r\n' >"$prefix/level_map"
    printf ' 1 \ntiles.pcx\n 0 \n' >"$prefix/unix_text"
    printf 'notes\n' >"$prefix/named.tessra"
    type_of() {
        XDG_DATA_DIRS="$prefix/share" XDG_DATA_HOME="$prefix/none" GIO_USE_VFS=local \
            gio info -a standard::content-type "$1" | sed -n 's/.*content-type: //p'
    }
    while read -r name type; do
        check "$name is $type" test "$(type_of "$prefix/$name")" = "$type"
    done <<'TYPES'
level_map application/x-tessra
unix_text text/plain
named.tessra application/x-tessra
TYPES
fi

# The manual pages: no warnings from groff, and every command of tessra-cli in its page.
if have groff groff-base; then
    for page in tessra tessra-cli; do
        warnings=$(gzip -dc "$prefix/share/man/man1/$page.1.gz" | groff -man -Tascii -ww -z 2>&1)
        check "$page(1) formats without warnings: $warnings" test -z "$warnings"
    done
    manual=$(gzip -dc "$prefix/share/man/man1/tessra-cli.1.gz" |
        groff -man -Tascii -P-cbou -rLL=300n 2>/dev/null)
    for command in $("$prefix/bin/tessra-cli" --help | sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p'); do
        check "tessra-cli(1) shows the command $command" \
            grep -qE "^ +tessra-cli +$command( |$)" <<<"$manual"
    done
    for status in 0 1 2; do
        check "tessra-cli(1) explains exit status $status" \
            grep -qE "^ +$status( |\$)" <<<"$(sed -n '/^EXIT STATUS/,/^[A-Z]/p' <<<"$manual")"
    done
fi

# Both programs found through the prefix's bin folder, run from elsewhere.
export PATH="$prefix/bin:$PATH"
cd / || exit 1
collection="$prefix/share/tessra/tessra.qhc"
check "tessra-cli --version" test "$(tessra-cli --version)" = "tessra-cli $version"
check "tessra --version" test "$(tessra --version)" = "tessra $version"
check "tessra-cli finds the help collection" \
    grep -qxF "The editor's help pages: $collection" <<<"$(tessra-cli --help)"
check "the editor finds the help collection" grep -qF "Help pages: $collection " \
    <<<"$(QT_QPA_PLATFORM=offscreen tessra --help)"

# Completion: the commands, their options and files of the kind an argument takes.
mkdir "$prefix/work" && cd "$prefix/work" && touch "a map.tessra" tiles.pcx notes.txt
completions() { # completions WORD...: what completing the last word offers
    bash -c 'source "$0"; COMP_WORDS=("${@}"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
             _tessra_cli; printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' \
        "$prefix/share/bash-completion/completions/tessra-cli" "$@"
}
check "completion offers every command" test "$(completions tessra-cli "" | wc -w)" -ge 9
check "completion of render options" test "$(completions tessra-cli render m.tessra o.png --)" = \
    "--attributes --help --scroll --zoom "
check "completion of an option's values on a later usage line" \
    test "$(completions tessra-cli export m.tessra o.bin --entry "")" = "u16be u16le u8 "
check "completion of a map argument" test "$(completions tessra-cli swap "")" = "a map.tessra "
check "completion of repeated tilesets" \
    test "$(completions tessra-cli palette o.png tiles.pcx "")" = "tiles.pcx "

echo "$passed passed, $failed failed"
((failed == 0))
