#!/usr/bin/env bash
# Fuzzes the text form of stored button properties (button/src/io/bag_* and the property
# descriptions of button/src/model, which know nothing of Windows) natively with clang's
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer. Seeds: the APPLY button's stored bag and the grammar's examples;
# every input that ever made it fail is kept in tests/fuzz/regressions and replayed first.
#   tools/fuzz.sh            a short run (45 s), as tools/test.sh runs it
#   tools/fuzz.sh 3600       an hour; a failing input is left in build/fuzz/ as crash-*
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-45}
out=build/fuzz
mkdir -p "$out/corpus" "$out/seeds" tests/fuzz/regressions
clang++ -std=c++20 -Wall -Wextra -Werror -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -Ibutton/include -Ibutton/src/io -Ibutton/src/model button/src/io/bag_*.cpp \
    button/src/model/*.cpp \
    tests/fuzz/bag_fuzz.cpp -o "$out/bag_fuzz"
cp assets/apply_button.txt "$out/seeds/apply_button.txt"
# The grammar's examples in its header: each `key = value` line, and each picture form.
sed -n 's|^//  *\([a-z]* *= .*\)|\1|p' button/src/io/bag_grammar.h >"$out/seeds/examples.txt"
sed -n 's|^//.*\(Picture([^)]*)\).*|image = \1|p' button/src/io/bag_grammar.h >"$out/seeds/pictures.txt"
"$out/bag_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=1024 \
    -artifact_prefix="$out/" -print_final_stats=1 \
    "$out/corpus" "$out/seeds" tests/fuzz/regressions 2>"$out/log.txt" ||
    { tail -40 "$out/log.txt" >&2; exit 1; }
grep -E '^stat::number_of_executed_units|^stat::peak_rss|Done [0-9]+ runs' "$out/log.txt" || true
