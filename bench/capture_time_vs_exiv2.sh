#!/usr/bin/env bash
# The capture-time reader over 1000 camera-sized photos (2 to 5 MB; nine in ten Exif first,
# one in ten JFIF without Exif whose data the scan reads to the end), side by side in one
# hyperfine run with exiv2 and exiftool reading DateTimeOriginal from the same files, each
# tool in one process. Usage: bench/capture_time_vs_exiv2.sh [build-dir] [runs] [real]
# (default: build/release, 10 runs; "real" gives the JFIF files entropy-like data, in which the
# scan finds its two byte pairs early instead of reading to the end).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build/release}")
runs=${2:-10}
jfif=${3:-}
if [ ! -x "$build/tools/cli/tellurix-cli" ] || [ ! -x "$build/bench/tellurix-bench-photos" ]; then
  cmake --preset release -S "$root" >/dev/null
  cmake --build --preset release >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/tellurix-bench-photos" "$work/photos" 1000 1 "$jfif"
echo "photo set: $(du -sh "$work/photos" | cut -f1)"

# The three tools must agree on every Exif photo before their times mean anything.
"$build/tools/cli/tellurix-cli" capture-time "$work"/photos/*.jpg >"$work/ours.txt"
exiv2 -g Exif.Photo.DateTimeOriginal -Pv "$work"/photos/*.jpg >"$work/exiv2.txt" || true
exiftool -q -m -T -DateTimeOriginal "$work"/photos/*.jpg >"$work/exiftool.txt" || true
ls "$work"/photos/*.jpg >"$work/files.txt"
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
lines = lambda name: open(f"{work}/{name}", encoding="latin-1").read().splitlines()
files, ours = lines("files.txt"), lines("ours.txt")
exiv2 = dict(l.split(None, 1) for l in lines("exiv2.txt"))
exiftool = [l.strip() for l in lines("exiftool.txt")]
defaults = ("2000/01/01 10:10:10", "2000/06/06 10:10:10")
other = 0
for path, date in zip(files, ours, strict=True):
    if path in exiv2:
        t = exiv2[path].strip()
        assert date == t[:4] + "/" + t[5:7] + "/" + t[8:], f"{path}: {date!r} against exiv2 {t!r}"
    elif date not in defaults:
        other += 1  # a JFIF whose data happens to hold both byte pairs and an offset inside the file
assert [t for t in exiftool if t != "-"] == [exiv2[p].strip() for p in files if p in exiv2], "exiv2 and exiftool disagree"
print(f"agreement: {len(exiv2)} Exif dates equal in all three tools; of the {len(files) - len(exiv2)} files "
      f"without, {other} gave a text read from their data")
PY

cd "$work/photos"
# exiv2 and exiftool exit non-zero for the files without a date; that is no failure here.
hyperfine --warmup 2 --runs "$runs" --export-json "$work/result.json" \
  -n tellurix-capture-time "${build@Q}/tools/cli/tellurix-cli capture-time *.jpg >/dev/null" \
  -n exiv2 "exiv2 -g Exif.Photo.DateTimeOriginal -Pv *.jpg >/dev/null || true" \
  -n exiftool "exiftool -q -m -T -DateTimeOriginal *.jpg >/dev/null || true" >/dev/null
python3 - "$work/result.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
base = results[0]["median"]
print(f"{'command':<24} {'median':>10} {'per file':>10} {'vs tellurix':>12}")
for r in results:
    print(f"{r['command']:<24} {r['median'] * 1000:>7.1f} ms {r['median'] * 1e6 / 1000:>7.1f} us {r['median'] / base:>11.1f}x")
PY
