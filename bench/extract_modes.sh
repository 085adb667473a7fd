#!/usr/bin/env bash
# Times the extraction modes through the command line, with the peak memory of
# each run:
#   - the six whole-file modes on a generated 256 MB file that mixes binary
#     noise, zero-terminated ASCII, GBK, UTF-16LE and UTF-8 strings, Delphi-
#     and VB-like runs, side by side with GNU strings (-a -n 2, and -e l);
#   - the two address-based modes on a generated 100 MB 32-bit PE image full
#     of pointers into its own strings.
#
# Usage: bench/extract_modes.sh [BUILD_DIR]   (default: build)
# Environment: KESTRIN_BENCH_DIR (default /tmp/kestrin-bench-extract),
#              KESTRIN_BENCH_MB (whole-file size, default 256),
#              KESTRIN_BENCH_PE_MB (PE size, default 100).
# Goals: ascii and utf16 at least 3x GNU strings; every whole-file mode at least
# 250 MB/s; the address-based modes within 2 s on 100 MB; the ascii mode's peak
# memory independent of the file size, the others below 2.5x the file size.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$repo/build}"
cli="$build/bin/kestrin-replacer-cli"
work="${KESTRIN_BENCH_DIR:-/tmp/kestrin-bench-extract}"
mb="${KESTRIN_BENCH_MB:-256}"
pemb="${KESTRIN_BENCH_PE_MB:-100}"
[ -x "$cli" ] || { echo "missing $cli (build the command-line program first)" >&2; exit 2; }
command -v strings >/dev/null || { echo "missing GNU strings (binutils)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "missing /usr/bin/time" >&2; exit 2; }

mkdir -p "$work"
mixed="$work/mixed-${mb}mb.bin"
pe="$work/image-${pemb}mb.exe"

# Generated once and kept: 64 different 1 MB blocks, laid out in a random
# order, so the file is not one short period repeated.
if [ ! -s "$mixed" ]; then
python3 - "$mixed" "$mb" <<'PY'
import os, random, struct, sys
path, mb = sys.argv[1], int(sys.argv[2])
rng = random.Random(1)
words = [b"Open", b"Save file", b"Error %d: %s", b"C:\\Windows\\system32", b"Cancel", b"OK",
         b"The operation completed successfully.", b"Version 1.0.2", b"\tTab\r\n"]
hanzi = ["保存文件", "打开", "错误", "确定", "取消", "设置选项", "字符串替换", "中文界面"]
gbk = [h.encode("gbk") for h in hanzi]
def block():
    out = bytearray()
    while len(out) < (1 << 20):
        kind = rng.randrange(10)
        if kind < 3:
            out += os.urandom(rng.randrange(16, 400))                              # noise
        elif kind == 3:
            out += b"\0" * rng.randrange(1, 64)                                     # zero runs
        elif kind == 4:
            out += rng.choice(words) + b"\0"                                        # ASCII
        elif kind == 5:
            out += rng.choice(gbk) + rng.choice(words) + b"\0"                      # GBK mixed
        elif kind == 6:
            out += (rng.choice(hanzi) + rng.choice(words).decode()).encode("utf-16-le") + b"\0\0"
        elif kind == 7:
            out += (rng.choice(hanzi) + rng.choice(words).decode()).encode("utf-8") + b"\0"
        elif kind == 8:                                                             # Delphi-like
            s = rng.choice(words)
            out += struct.pack("<ii", -1, len(s)) + s + b"\0"
        else:                                                                       # VB-like UTF-16
            s = rng.choice(words).decode().encode("utf-16-le")
            out += struct.pack("<i", len(s)) + s + b"\0\0"
    return bytes(out[: 1 << 20])
blocks = [block() for _ in range(64)]
with open(path, "wb") as f:
    for _ in range(mb):
        f.write(rng.choice(blocks))
PY
fi

# A 32-bit PE image: image base 4 MiB, one section over the whole file;
# pointer tables and operands at odd places refer to strings everywhere.
if [ ! -s "$pe" ]; then
python3 - "$pe" "$pemb" <<'PY'
import os, random, struct, sys
path, mb = sys.argv[1], int(sys.argv[2])
size = mb << 20
rng = random.Random(2)
base, va, raw = 0x400000, 0x1000, 0x400
head = bytearray(raw)
head[0:2] = b"MZ"
struct.pack_into("<I", head, 0x3C, 0x80)
head[0x80:0x84] = b"PE\0\0"
struct.pack_into("<H", head, 0x86, 1)
struct.pack_into("<H", head, 0x80 + 24, 0x10B)
struct.pack_into("<I", head, 0x80 + 52, base)
struct.pack_into("<IIII", head, 0x80 + 248 + 8, size - raw, va, size - raw, raw)
def block(start):
    out = bytearray()
    while len(out) < (1 << 20):
        kind = rng.randrange(6)
        if kind == 0:
            out += os.urandom(rng.randrange(8, 200))
        elif kind == 1:
            out += b"\0" * rng.randrange(1, 40)
        elif kind == 2:
            out += rng.choice([b"Open", b"Save file", b"Cancel", b"Error %d"]) + b"\0"
        elif kind == 3:
            out += "保存文件".encode("utf-16-le") + b"A\0B\0\0\0"
        else:
            for _ in range(rng.randrange(1, 16)):
                out += struct.pack("<I", base + va + rng.randrange(0, size - raw))
            if kind == 5:
                out += b"\x68"                                                       # odd alignment
    return bytes(out[: 1 << 20])
blocks = [block(i) for i in range(32)]
with open(path, "wb") as f:
    f.write(head)
    left = size - raw
    while left > 0:
        b = rng.choice(blocks)[: left]
        f.write(b)
        left -= len(b)
PY
fi

size_of() { stat -c %s "$1"; }
mixed_mb=$(python3 -c "print($(size_of "$mixed")/1048576)")
pe_mb=$(python3 -c "print($(size_of "$pe")/1048576)")

# run LABEL INPUT_MB COMMAND...: prints one table row: wall-clock seconds,
# CPU seconds (user + system; steadier than the wall clock on a shared
# machine), the throughput by each, and the peak resident memory.
run() {
    local label="$1" size_mb="$2"; shift 2
    local log="$work/time.log"
    /usr/bin/time -f "%e %U %S %M" -o "$log" "$@" >/dev/null 2>&1 || true
    local secs user sys kb
    read -r secs user sys kb < "$log"
    python3 -c "
w = max($secs, 0.001); c = max($user + $sys, 0.001)
print(f'{\"$label\":<30} {w:8.2f} {c:8.2f} {$size_mb / w:9.1f} {$size_mb / c:9.1f} {$kb / 1024:9.1f}')"
}

cat "$mixed" "$pe" > /dev/null
echo "whole-file input: $mixed ($mixed_mb MB); PE input: $pe ($pe_mb MB)"
printf '%-30s %8s %8s %9s %9s %9s\n' "run" "wall s" "cpu s" "MB/s wall" "MB/s cpu" "peak MB"
run "GNU strings -a -n 2" "$mixed_mb" strings -a -n 2 "$mixed"
run "GNU strings -a -n 2 -e l" "$mixed_mb" strings -a -n 2 -e l "$mixed"
for mode in ascii utf16 delphi-ascii delphi-utf16 vb; do
    run "extract $mode" "$mixed_mb" "$cli" extract "$mixed" "$work/out.$mode.txt" --mode "$mode"
done
# The ascii mode's memory against the file size: the same mode on a quarter.
quarter="$work/mixed-quarter.bin"
[ -s "$quarter" ] || head -c $(( $(size_of "$mixed") / 4 )) "$mixed" > "$quarter"
run "extract ascii (quarter file)" "$(python3 -c "print($(size_of "$quarter")/1048576)")" \
    "$cli" extract "$quarter" "$work/out.quarter.txt" --mode ascii
# With a double-byte class: the UTF-8 scanner runs only then.
for mode in ascii utf16 utf8 delphi-ascii delphi-utf16 vb; do
    run "extract $mode --gbk" "$mixed_mb" "$cli" extract "$mixed" "$work/out.$mode.gbk.txt" --mode "$mode" --gbk
done
for mode in ascii-va utf16-va; do
    run "extract $mode (PE)" "$pe_mb" "$cli" extract "$pe" "$work/out.$mode.txt" --mode "$mode"
    run "extract $mode --gbk (PE)" "$pe_mb" "$cli" extract "$pe" "$work/out.$mode.gbk.txt" --mode "$mode" --gbk
done
ls -l "$work"/out.*.txt | awk '{print $5, $9}'
