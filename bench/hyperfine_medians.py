#!/usr/bin/env python3
"""Prints the medians of a hyperfine JSON export and each command's ratio to the first."""
import json
import sys

results = json.load(open(sys.argv[1]))["results"]
base = results[0]["median"]
print(f"{'command':<28} {'median':>12} {'ratio':>8}")
for r in results:
    print(f"{r['command']:<28} {r['median'] * 1000:>9.1f} ms {r['median'] / base:>8.2f}")
