#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts what was installed: the
# desktop program on the offscreen platform, and kelvane-cli on a small site,
# which must find the shipped templates in the program folder.
# Usage: installed_program_test.sh CMAKE BUILD_DIR SOURCE_DIR
set -euo pipefail
cmake=$1
build=$2
source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
app_id=example.kelvane.Kelvane

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" || {
    cat "$work/install.log"
    fail "cmake --install failed"
}

# The layout: the program folder, links on bin, the desktop files.
for file in lib/kelvane/kelvane lib/kelvane/kelvane-cli \
    share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml; do
    [[ -f $prefix/$file ]] || fail "$file is missing"
done
for template in default.htm benutzer.htm; do
    cmp -s "$source/templates/$template" "$prefix/lib/kelvane/$template" ||
        fail "lib/kelvane/$template differs from the shipped template"
done
for program in kelvane kelvane-cli; do
    [[ -x $prefix/bin/$program ]] || fail "bin/$program is missing"
    [[ $(readlink -f "$prefix/bin/$program") == "$(readlink -f "$prefix/lib/kelvane/$program")" ]] ||
        fail "bin/$program does not lead to lib/kelvane/$program"
done
for size in 16 32; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/kelvane.png
    [[ -f $icon ]] || fail "the ${size} x ${size} icon is missing"
    # PNG signature, then the width and height of the header chunk.
    [[ $(od -An -tx1 -N4 "$icon" | tr -d ' \n') == 89504e47 ]] || fail "$icon is no PNG"
    [[ $(od -An -tu4 --endian=big -j16 -N8 "$icon" | xargs) == "$size $size" ]] ||
        fail "$icon is not ${size} x ${size}"
done

# The installed programs never see the user's own settings or data.
home=$work/home
mkdir -p "$home"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
export QT_QPA_PLATFORM=offscreen

# The desktop program has no way to end by itself, so it must still be running
# when timeout stops it; an early end means it failed to start.
status=0
timeout 3 "$prefix/bin/kelvane" >"$work/kelvane.log" 2>&1 || status=$?
if ((status != 124)); then
    cat "$work/kelvane.log"
    fail "the installed kelvane ended by itself (status $status) instead of staying open"
fi

# kelvane-cli through its link, from an unrelated folder, with both templates.
site="$work/alte seite"
mkdir -p "$site/unter ordner"
echo '<html><body>alt</body></html>' >"$site/a.htm"
echo '<html><body>alt</body></html>' >"$site/unter ordner/b c.html"
cd "$work"
"$prefix/bin/kelvane-cli" --url https://neu.example --yes "alte seite" >"$work/cli.log" 2>&1 || {
    cat "$work/cli.log"
    fail "the installed kelvane-cli failed with the standard template"
}
page="$site"_Moved/"unter ordner/b c.html"
grep -qF '<link rel="canonical" href="https://neu.example/unter ordner/b c.html">' "$page" ||
    fail "the page does not carry the standard template with its URL: $(cat "$page")"
"$prefix/bin/kelvane-cli" --url https://neu.example --template user --yes "alte seite" \
    >"$work/cli.log" 2>&1 || {
    cat "$work/cli.log"
    fail "the installed kelvane-cli failed with the user template"
}
grep -qF '<h1>Wir sind umgezogen</h1>' "$page" ||
    fail "the page does not carry the user template: $(cat "$page")"
echo "installed under $prefix: layout, desktop program and kelvane-cli work"
