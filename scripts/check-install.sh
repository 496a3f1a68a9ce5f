#!/usr/bin/env bash
# Installs a build directory into a scratch root and checks the tree it makes: the
# programs, the unit, the owners' guide and the state directory, nothing missing. With
# systemd-analyze present, the unit is also verified against the installed program.
set -euo pipefail
build=${1:?usage: check-install.sh BUILD_DIR}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
(cd "$stage" && find . -mindepth 1 | sed 's|^\.||' | sort) > "$stage.list"
trap 'rm -rf "$stage" "$stage.list"' EXIT
cat "$stage.list"

status=0
for path in /usr/bin/stratalog /usr/bin/stratalog-sim /usr/lib/systemd/system/stratalog.service \
            /usr/share/doc/stratalog/station-owners.md /var/lib/stratalog; do
  if ! grep -qx "$path" "$stage.list"; then
    echo "missing: $path" >&2
    status=1
  fi
done
[ -x "$stage/usr/bin/stratalog" ] || { echo "not executable: /usr/bin/stratalog" >&2; status=1; }
[ "$(stat -c %a "$stage/var/lib/stratalog")" = 750 ] || { echo "/var/lib/stratalog is not 0750" >&2; status=1; }

# The unit's Documentation= must name a file that is installed.
unit="$stage/usr/lib/systemd/system/stratalog.service"
doc=$(sed -n 's|^Documentation=file://||p' "$unit")
[ -f "$stage$doc" ] || { echo "Documentation= names $doc, which is not installed" >&2; status=1; }

if command -v systemd-analyze >/dev/null; then
  # verify looks for ExecStart= on this machine, so the copy points at the staged program.
  sed "s|=/usr/bin/stratalog|=$stage/usr/bin/stratalog|" "$unit" > "$stage/stratalog.service"
  # Unknown or misspelt options are only warnings to verify; here any word is a fault.
  if ! out=$(systemd-analyze verify "$stage/stratalog.service" 2>&1) || [ -n "$out" ]; then
    echo "systemd-analyze verify: $out" >&2
    status=1
  fi
  # The exposure figure is for reading; a systemd without --offline only leaves it out.
  systemd-analyze security --offline=yes "$stage/stratalog.service" 2>/dev/null | tail -n 1 || true
fi
exit $status
