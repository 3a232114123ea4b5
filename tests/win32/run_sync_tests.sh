#!/usr/bin/env bash
# Runs the WinHTTP synchronisation tests of the Windows build under wine64 against native
# reference servers on loopback. Needs build/native/bin/tarvek-catalog-server and
# build/win64/tests/tarvek_tests.exe; further arguments go to the test program
# (e.g. --gtest_output=xml:FILE). The Wine prefix is build/wine-sync-prefix, so the test
# authority added to its trust store never touches the user's own prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
server=$root/build/native/bin/tarvek-catalog-server
tests=$root/build/win64/tests/tarvek_tests.exe
wine=${WINE:-/usr/lib/wine/wine64}
export WINEPREFIX=$root/build/wine-sync-prefix WINEDEBUG=-all
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Server data: one BigRR map with world-record and personal-record ghosts and tails.
mkdir -p "$work/data/ghosts" "$work/data/seasons/season-1"
add_ghost() {  # add_ghost SIZE -> prints the upper-case SHA-256
  head -c "$1" /dev/urandom > "$work/ghost"
  local sha; sha=$(sha256sum "$work/ghost" | cut -c1-64 | tr a-f A-F)
  mv "$work/ghost" "$work/data/ghosts/$sha.tkghost"
  head -c 700 /dev/urandom > "$work/data/ghosts/$sha.tktail"
  echo "$sha"
}
wr=$(add_ghost 250000)
pr=$(add_ghost 9000)
map=$(printf 'b%.0s' {1..64})
printf 'name=Wine Test Map\nrecord=1|acc-wr|Alice|01:00.00|%s\nrecord=2|acc-me|Me|01:02.00|%s\n' "$wr" "$pr" \
  > "$work/data/seasons/season-1/$map.bigrr.map"

# A test authority and a certificate for 127.0.0.1 signed by it. Wine
# matches the host name against the common name only when the certificate has no
# subjectAltName (it does not match IP addresses there), so the server certificate has none.
( cd "$work"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=TarvekWineTestCA -keyout ca.key -out ca.pem \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=keyCertSign,cRLSign
  openssl x509 -in ca.pem -outform der -out ca.der
  openssl req -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -keyout server.key -out server.csr
  openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -out server.pem
) >/dev/null 2>&1

servers=""
start_server() {  # start_server NAME ARGS...
  local name=$1; shift
  "$server" --data "$work/data" --port 0 "$@" > "$work/$name.out" 2>"$work/$name.err" &
  pids+=($!)
  for _ in $(seq 100); do
    grep -q listening "$work/$name.out" 2>/dev/null && break
    sleep 0.05
  done
  servers+="$name=$(sed -n 's/.* listening on //p' "$work/$name.out");"
}
start_server plain
start_server cut --fault /v1/=cut:100
start_server huge --fault /v1/=huge-length:4194305
start_server https --cert "$work/server.pem" --key "$work/server.key"
export TARVEK_SYNC_SERVERS=$servers TARVEK_SYNC_SEASON=season-1 TARVEK_SYNC_ACCOUNT=acc-me
export TARVEK_SYNC_MAP_HASH=$map TARVEK_SYNC_WR_SHA=$wr
# Trust is read when a process starts: add the authority in a process of its own first.
TARVEK_SYNC_TRUST_CA="Z:${work//\//\\}\\ca.der" "$wine" "$tests" --gtest_filter='WinHttpSync*' >/dev/null
"$wine" "$tests" --gtest_filter='WinHttpSync*' "$@"
