#!/usr/bin/env bash
# add_registry_values.sh EMULATOR...
# Makes the values the registry reader's test reads, with reg add in the Wine
# prefix the emulator runs in; the key is made anew each time.
set -euo pipefail
emulator=("$@")
key='HKLM\Software\Kelvane Tests\Registry'

reg() {
    timeout 60 "${emulator[@]}" reg "$@" >/dev/null
}

reg delete "$key" /f 2>/dev/null || true
reg add "$key" /v Text /t REG_SZ /d 'C:\Programme\Größe\msinfo32.exe' /f
reg add "$key" /v Number /t REG_DWORD /d 65537 /f
reg add "$key" /v Fits /t REG_SZ /d "$(printf 'b%.0s' {1..1023})" /f
reg add "$key" /v Long /t REG_SZ /d "$(printf 'a%.0s' {1..1100})" /f
reg add "$key" /v NoZero /t REG_BINARY /d "$(printf '41%.0s' {1..1024})" /f
