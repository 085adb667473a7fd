#!/usr/bin/env bash
# Times `write-back` on a 100 MB program image with 200,000 strings, all of
# them translated (shorter, equal and longer translations), against `cp` of the
# same file in the same run, and reports the peak memory of the write-back.
#
# Usage: bench/writeback_large.sh [BUILD_DIR]   (default: build)
# Goals: write-back <= 3 x copy time + 1 s; peak memory < 3 x image size.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$repo/build}"
cli="$build/bin/kestrin-replacer-cli"
work="${KESTRIN_BENCH_DIR:-/tmp/kestrin-bench-writeback}"
[ -x "$cli" ] || { echo "missing $cli (build the command-line program first)" >&2; exit 2; }

rm -rf "$work"
mkdir -p "$work/tmp"
export TMPDIR="$work/tmp" # the restore copy goes here

python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
size = 100 * 1024 * 1024
count = 200_000
block = size // count                     # 524 bytes per string slot
image = bytearray(b"\x90" * size)
entries = []
for i in range(count):
    at = i * block
    text = b"Message %06d: the quick brown fox" % i           # 34 bytes
    image[at:at + len(text)] = text
    image[at + len(text):at + len(text) + 48] = bytes(48)  # terminator and free zero bytes
    kind = i % 3
    if kind == 0:
        translation = b"Msg %06d" % i                       # shorter
    elif kind == 1:
        translation = b"MESSAGE %06d: THE QUICK BROWN FOX" % i  # equal length
    else:
        translation = text + b" jumps over"                 # longer, fits in the zero bytes
    entries.append(b"\r\n%d:%s\r\n%s\r\n" % (at, text, translation))
with open(f"{work}/app.exe", "wb") as f:
    f.write(image)
with open(f"{work}/app.exe.a.txt", "wb") as f:
    f.write(b"".join(entries))
PY

image_bytes=$(stat -c %s "$work/app.exe")
echo "image: $image_bytes bytes; comparison: $(stat -c %s "$work/app.exe.a.txt") bytes"
sync

measure() { # label, command...: prints seconds and peak kB
    local label="$1"; shift
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" > "$work/out.txt"
    read -r seconds peak < "$work/time.txt"
    echo "$label: ${seconds} s, peak ${peak} kB"
    eval "${label//-/_}_seconds=$seconds; ${label//-/_}_peak=$peak"
}

cp "$work/app.exe" "$work/pristine.exe"
measure copy cp "$work/app.exe" "$work/copy.exe"
measure write-back "$cli" write-back "$work/app.exe"
head -c 300 "$work/out.txt"; echo

cp "$work/pristine.exe" "$work/app.exe"
measure whole-sentence "$cli" write-back "$work/app.exe" --whole-sentence
head -c 300 "$work/out.txt"; echo

python3 - "$copy_seconds" "$write_back_seconds" "$write_back_peak" "$whole_sentence_seconds" \
    "$whole_sentence_peak" "$image_bytes" <<'PY'
import sys
copy, wb, wbpeak, ws, wspeak, image = map(float, sys.argv[1:])
limit = 3 * copy + 1
print(f"write-back / copy time: {wb / max(copy, 0.01):.2f}x (goal: {wb:.2f} s <= {limit:.2f} s: "
      f"{'met' if wb <= limit else 'MISSED'})")
print(f"write-back peak memory / image: {wbpeak * 1024 / image:.2f}x "
      f"({'met' if wbpeak * 1024 < 3 * image else 'MISSED'})")
print(f"whole-sentence: {ws:.2f} s ({'met' if ws <= limit else 'MISSED'}), "
      f"peak {wspeak * 1024 / image:.2f}x image ({'met' if wspeak * 1024 < 3 * image else 'MISSED'})")
PY
rm -rf "$work"
