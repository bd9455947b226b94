#!/usr/bin/env bash
# The Linux and the Windows program give the same answers:
#   equality_test.sh HOST_PROGRAM BUILD_DIR SOURCE_DIR WINE_RUN
# For each set of the corpus, `info`, `info --json` and `check` (and
# `check --json` and `check --solve --json` where the program has them)
# print the same bytes on both,
# on standard output and on the error stream, and end with the same
# status; `export --all` draws the same pixels. HOST_PROGRAM is the Linux
# build's program (make test builds it); without it the test is skipped.
set -euo pipefail
host=$1 build=$2 source=$3 wine_run=$4

[ -x "$host" ] || { echo "[  SKIPPED ] no Linux program at $host (make test builds it)"; exit 0; }
work=$(mktemp -d /tmp/zelbun-equality-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs the command on both from the work folder, the set named the same on
# both, and compares what they print and how they end.
same() {
  local name=$1
  shift
  local linux windows
  linux=0 windows=0
  (cd "$work" && "$host" "$@" >linux.out 2>linux.err) || linux=$?
  (cd "$work" && "$wine_run" "$build/zelbun-kreator.com" "$@" >windows.out 2>windows.err) || windows=$?
  [ "$linux" = "$windows" ] || fail "$name $*: status $linux on Linux, $windows on Windows: $(cat "$work/windows.err")"
  cmp -s "$work/linux.out" "$work/windows.out" ||
    fail "$name $*: the output differs: $(diff "$work/linux.out" "$work/windows.out" | head -n 5)"
  cmp -s "$work/linux.err" "$work/windows.err" ||
    fail "$name $*: the errors differ: $(diff "$work/linux.err" "$work/windows.err" | head -n 5)"
}

# The pixels of a PNG image as rows of RGBA bytes (8 bits, no interlace,
# as the program writes them), so that two encoders' packing may differ.
pixels() {
  python3 - "$1" <<'EOF'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
at, idat, header = 8, b"", None
while at < len(data):
    length, kind = struct.unpack(">I4s", data[at:at + 8])
    body = data[at + 8:at + 8 + length]
    if kind == b"IHDR":
        header = struct.unpack(">IIBBBBB", body)
    elif kind == b"IDAT":
        idat += body
    at += 12 + length
width, height, depth, colour, _, _, interlace = header
assert depth == 8 and interlace == 0, header
channels = {0: 1, 2: 3, 4: 2, 6: 4}[colour]
stride = width * channels
raw, rows, previous = zlib.decompress(idat), [], bytearray(stride)
for y in range(height):
    kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for x in range(stride):
        left = line[x - channels] if x >= channels else 0
        up, corner = previous[x], previous[x - channels] if x >= channels else 0
        if kind == 1: line[x] = (line[x] + left) & 255
        elif kind == 2: line[x] = (line[x] + up) & 255
        elif kind == 3: line[x] = (line[x] + (left + up) // 2) & 255
        elif kind == 4:
            p = left + up - corner
            pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
            line[x] = (line[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
    rows.append(bytes(line))
    previous = line
sys.stdout.write("%d %d %d\n" % (width, height, colour))
for row in rows:
    sys.stdout.write(row.hex() + "\n")
EOF
}

check_json=false check_solve=false
"$host" help check 2>/dev/null | grep -q -- --json && check_json=true
"$host" help check 2>/dev/null | grep -q -- --solve && check_solve=true
for set in "$source"/fuzz/corpus/gameimage/*.atr; do
  name=$(basename "$set")
  cp "$set" "$work/$name"
  same "$name" info "$name"
  same "$name" info "$name" --json
  same "$name" check "$name"
  if $check_json; then same "$name" check "$name" --json; fi
  if $check_json && $check_solve; then same "$name" check "$name" --solve --json; fi
  same "$name" export "$name" --all -o "$name.png" --force
  if [ -f "$work/$name.png" ]; then
    mv "$work/$name.png" "$work/windows.png"
    (cd "$work" && "$host" export "$name" --all -o linux.png --force) || fail "$name: the Linux export failed"
    [ "$(pixels "$work/linux.png")" = "$(pixels "$work/windows.png")" ] || fail "$name: the exports' pixels differ"
    exported=true
  fi
done
${exported:-false} || fail "no set was exported"
echo "equality: ok"
