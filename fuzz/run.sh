#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ (clang, ASan + UBSan) and runs each one in turn for
# SECONDS seconds (default 300) on one core, starting from the seeds in fuzz/corpus and keeping
# the grown corpus in build-fuzz/runs/. Prints each target's run count; a crash stops the script
# with the failing input saved in build-fuzz/.
#   fuzz/run.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLMAR_FUZZ=ON -DQUILLMAR_TESTS=OFF >/dev/null
targets=(fuzz_palm_database_file fuzz_expense_record fuzz_handheld_text)
cmake --build build-fuzz -j2 --target "${targets[@]}"
declare -A seeds=([fuzz_palm_database_file]=palm_database_file [fuzz_expense_record]=expense_record [fuzz_handheld_text]="")
mkdir -p build-fuzz/logs
for target in "${targets[@]}"; do
  corpus="build-fuzz/runs/$target"
  mkdir -p "$corpus"
  if [ -n "${seeds[$target]}" ]; then
    cp -n fuzz/corpus/"${seeds[$target]}"/* "$corpus"/
  fi
  log="build-fuzz/logs/$target.log"
  (cd build-fuzz && "fuzz/$target" "runs/$target" -max_total_time="$seconds" -print_final_stats=1) >"$log" 2>&1
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{print $2}')
  cover=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)
  echo "$target: $runs runs in ${seconds} s without a failure ($cover, corpus $(ls "$corpus" | wc -l) inputs)"
done
