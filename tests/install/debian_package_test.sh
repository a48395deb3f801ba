#!/usr/bin/env bash
# Builds the Debian package from the build tree and looks inside: the program
# folder, the links on bin, the desktop files and the declared dependencies.
# Usage: debian_package_test.sh BUILD_DIR CPACK
set -euo pipefail
build=$1
cpack=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$work" && "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out") \
    >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    fail "cpack -G DEB failed"
}
packages=("$work"/out/*.deb)
((${#packages[@]} == 1)) && [[ -f ${packages[0]} ]] || fail "expected one package, found: ${packages[*]}"
package=${packages[0]}

contents=$(dpkg-deb -c "$package")
for entry in \
    './usr/lib/kelvane/kelvane$' './usr/lib/kelvane/kelvane-cli$' \
    './usr/lib/kelvane/default.htm$' './usr/lib/kelvane/benutzer.htm$' \
    './usr/bin/kelvane -> ../lib/kelvane/kelvane$' \
    './usr/bin/kelvane-cli -> ../lib/kelvane/kelvane-cli$' \
    './usr/share/applications/example.kelvane.Kelvane.desktop$' \
    './usr/share/metainfo/example.kelvane.Kelvane.metainfo.xml$' \
    './usr/share/icons/hicolor/16x16/apps/kelvane.png$' \
    './usr/share/icons/hicolor/32x32/apps/kelvane.png$'; do
    grep -q -- "$entry" <<<"$contents" || fail "the package lacks ${entry%$}"
done

depends=$(dpkg-deb -f "$package" Depends)
for dependency in libqt6widgets6 libcurl4 libgumbo1 fonts-liberation qt6-translations-l10n; do
    grep -q "$dependency" <<<"$depends" || fail "the package does not depend on $dependency: $depends"
done
[[ -n $(dpkg-deb -f "$package" Maintainer) ]] || fail "the package names no maintainer"
echo "$(basename "$package"): $depends"
