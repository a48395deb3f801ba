#!/usr/bin/env bash
# Installs the Debian packages Kelvane needs to build and test, but only those
# that are missing, so that a second call on a ready machine costs nothing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    libgtest-dev libgmock-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # what the windows show: their narrow design font and Qt's German texts
    fonts-liberation qt6-translations-l10n
    # the screenshot test: a virtual X server, a window manager that frames the
    # windows, a tool that grabs the screen and one that types and finds windows
    xvfb imagemagick openbox xdotool
    # the browser test: a headless browser and the local web servers
    chromium python3
    # the installation tests: package building and the desktop metadata checks
    dpkg-dev appstream desktop-file-utils
    # the redirect tests: real Apache, nginx and Caddy servers and a client that
    # shows their answers
    apache2 nginx-light caddy curl
    # the move check: libcurl for the programs, libxml2's HTML parser for the
    # heads of the pages it reads
    libcurl4-openssl-dev libxml2-dev
    # the Windows build of the engine and kelvane-cli, and Wine to test it
    g++-mingw-w64-x86-64-posix wine wine64
    # reading pages with a real HTML5 parser (the move check and the mapping
    # suggestions), and real documentation sites to suggest mappings between
    libgumbo-dev python3-doc debian-reference-en
    # gzip-packed sitemaps, and the peak memory of the suggestion benchmark
    zlib1g-dev time
    # the upload: the desktop's secret store, and real SFTP and FTP servers on
    # loopback with the tools to make their keys and certificates
    qtkeychain-qt6-dev openssh-server openssh-client vsftpd openssl
    # the FTPS certificate pin is checked in OpenSSL's own verification
    libssl-dev
    # the sitemaps: xmllint validates them against the schema
    libxml2-utils
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
    # Packages such as apache2, nginx and caddy would start their service on
    # installation; the tests start their own servers on loopback, so nothing
    # may start here.
    policy=/usr/sbin/policy-rc.d
    added_policy=false
    if [[ ! -e $policy ]]; then
        printf '#!/bin/sh\nexit 101\n' | "${sudo_cmd[@]}" tee "$policy" >/dev/null
        "${sudo_cmd[@]}" chmod 755 "$policy"
        added_policy=true
    fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
    if $added_policy; then
        "${sudo_cmd[@]}" rm -f "$policy"
    fi
fi
