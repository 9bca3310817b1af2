#!/usr/bin/env bash
# Puts a small demo into the Native Wi-Fi stand-in of a build tree (default
# build/): four networks in range (a WPA2 access point with a Country element,
# an open one, a WEP access point at 5 GHz and an ad hoc network) and an
# association with the first. Used by run-monitor.sh --native and
# screenshots.sh; docs/WLANAPI-STANDIN.md lists the commands.
#
#   scripts/wlansim-demo.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
wlansim() { "$build/wine-run" "$build/bin/wlantest/wlansim.exe" "$@" >/dev/null; }

wlansim reset
wlansim bss add Ssid=HomeNet Channel=6 Rssi=-45 Security=wpa2 Country=DE Key=correct-horse
wlansim bss add Ssid=CoffeeShop Channel=1 Rssi=-70
wlansim bss add Ssid=Office-5G Channel=36 Rssi=-60 Security=wep Key=0A1B2C3D4E
wlansim bss add Ssid=LabAdHoc Channel=11 Type=independent Phy=b Security=wep
wlansim connect Ssid=HomeNet
