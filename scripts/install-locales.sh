#!/usr/bin/env bash
# Makes the locales given as arguments (such as ru_RU.UTF-8) that the system
# does not have yet; the tests of the system's error texts run in them.
set -euo pipefail
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
for name in "$@"; do
  language=${name%%.*}
  charset=${name#*.}
  # locale -a spells ru_RU.UTF-8 as ru_RU.utf8.
  listed="$language.$(echo "$charset" | tr -d '-' | tr '[:upper:]' '[:lower:]')"
  locale -a | grep -qx "$listed" || "${sudo_cmd[@]}" localedef -i "$language" -f "$charset" "$name"
done
