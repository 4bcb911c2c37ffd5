# Sourced by the benchmarks that time Windows programs under Wine: the tree
# they take, the shipped win32 where the kernel runs 32-bit code itself and
# that tree is built, else win64. Sets bench_tree (absolute, since Wine
# wants absolute prefixes) and bench_bits; needs root set.
bench_trees=$(realpath -m "${BUILD_ROOT:-$root/build}")
if [ "$("$root/scripts/can-run-32bit.sh" --how)" = native ] && [ -d "$bench_trees/win32" ]; then
  bench_tree=$bench_trees/win32 bench_bits=32
else
  bench_tree=$bench_trees/win64 bench_bits=64
fi
