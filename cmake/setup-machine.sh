#!/bin/bash
# Installs what the build, the tests and the demo need on a Debian 12 machine:
# the packages of the step "setup" in cmake/packages.txt, and the Japanese
# locale that Wine's programs run in. Idempotent: installs only what is
# missing, and only asks apt when it must.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

mapfile -t packages < <(sed -n 's/^\([^#[:space:]]\{1,\}\)[[:space:]]\{1,\}setup[[:space:]]*$/\1/p' \
  "$here/packages.txt")
if [ ${#packages[@]} -eq 0 ]; then
  echo "setup: $here/packages.txt names no package of the step setup" >&2
  exit 1
fi
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Japanese locale makes Wine's ANSI code page 932. Only Wine's programs run
# in it (cmake/wine-session.sh, cmake/wine-run.sh.in), and none before this.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
