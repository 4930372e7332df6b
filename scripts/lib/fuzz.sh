# Shared by scripts/fuzz and scripts/test: the clang build of the fuzz targets in build-fuzz/ and
# one bounded run of a target. Sourced after setup.sh, not run.

# Packages of the fuzz build: clang and its sanitizer and libFuzzer runtimes.
TALVORO_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# Configures and builds build-fuzz/: every fuzz target and its seed corpus, with
# AddressSanitizer and UndefinedBehaviorSanitizer.
talvoro_build_fuzz() {
  CC=clang-14 CXX=clang++-14 cmake -S "$talvoro_root" -B "$talvoro_root/build-fuzz" -G Ninja \
    -DTALVORO_FUZZ=ON -DTALVORO_SANITIZE=address,undefined \
    -DTALVORO_BUILD_TESTS=OFF -DTALVORO_BUILD_BENCH=OFF >/dev/null
  cmake --build "$talvoro_root/build-fuzz" -j "$(nproc 2>/dev/null || echo 2)" --target talvoro_fuzz
}

# Runs target $1 for $2 seconds with seed $3 on top of its seed corpus, growing the corpus in
# build-fuzz/work/$1 (emptied first when $4 is "fresh"). A crash or a broken property fails with
# the reproducer in build-fuzz/artifacts/. Prints one line: executions, executions a second,
# edges reached and the corpus size.
talvoro_run_fuzz() {
  local target=$1 seconds=$2 seed=$3 fresh=${4:-}
  local fuzz="$talvoro_root/build-fuzz"
  local work="$fuzz/work/$target" log="$fuzz/logs/$target.log"
  [ -x "$fuzz/fuzz/fuzz_$target" ] || { echo "no fuzz target '$target'" >&2; return 2; }
  [ "$fresh" = fresh ] && rm -rf "$work"
  mkdir -p "$work" "$fuzz/artifacts" "$fuzz/logs"
  local status=0
  "$fuzz/fuzz/fuzz_$target" -seed="$seed" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$fuzz/artifacts/$target-" "$work" "$fuzz/corpus/$target" >"$log" 2>&1 ||
    status=$?
  local done_line execs rate
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  if [ "$status" -ne 0 ]; then
    echo "fuzz_$target FAILED (status $status); log $log, reproducer:" \
      "$(ls -t "$fuzz/artifacts/$target-"* 2>/dev/null | head -1)"
    grep -E 'ERROR|property broken|runtime error' "$log" | head -3
    return 1
  fi
  printf '%-18s %9s execs %7s/s  %s\n' "$target" "${execs:-?}" "${rate:-?}" \
    "$(echo "$done_line" | grep -oE 'cov: [0-9]+|corp: [0-9]+/[0-9A-Za-z]+' | tr '\n' ' ')"
}

# Every target, two at a time (the machine's two cores), $1 seconds each with a fixed seed, from
# the seed corpus alone so that a run is repeatable. Fails when any target fails.
talvoro_run_all_fuzz() {
  local seconds=$1
  local targets
  targets=$(cd "$talvoro_root/build-fuzz/fuzz" && ls fuzz_* | sed 's/^fuzz_//')
  export -f talvoro_run_fuzz
  export talvoro_root
  echo "$targets" | xargs -P 2 -I{} bash -c "talvoro_run_fuzz {} $seconds 1 fresh"
}
