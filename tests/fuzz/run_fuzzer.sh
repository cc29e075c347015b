#!/bin/sh
# Runs one fuzzer for a bounded number of executions from the committed
# seeds (which also hold every input that once found a fault); new inputs
# go to a scratch folder, never into the repository.
# Usage: run_fuzzer.sh FUZZER SEEDS RUNS
set -eu
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$1" -runs="$3" -seed=1 -max_len=4096 -print_final_stats=1 "$scratch" "$2" 2>&1 |
  grep -E "^(Done|INFO: seed corpus|stat::number_of_executed_units)|ERROR|rule broken|SUMMARY" || true
# grep hides the exit status: run the seeds once more, failing loudly.
"$1" -runs=0 "$2" >/dev/null 2>&1 || { echo "fuzzer failed on its seeds"; exit 1; }
