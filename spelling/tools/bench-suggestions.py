#!/usr/bin/python3
"""Suggestions for misspelt words, ours beside aspell -a and hunspell -a,
the same statistic on every side: the mean time per word over one pass.

suggestion-bench makes the typos (one edit of a dictionary word each).
Every side runs as whole processes on all the typos and on the first
alone, so that start-up and the dictionary's load drop out: (all - one) /
(count - 1) is the mean per word (ours: suggestion-bench --once). Our
in-process figure, one pass of Suggest timed inside the program, is
printed beneath for reference. Every round runs each side once, the order alternating from round to
round; the rows give the median [lowest..highest] over the rounds and of
the rounds' paired ratios. Each tool's number of suggestions is counted
from its own output, since a tool that offers fewer has less to do.

usage: bench-suggestions.py SUGGESTION-BENCH DICT WORDS WORK-DIR [COUNT [ROUNDS]]
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import bench_row  # noqa: E402  (the benchmarks' shared row format)

PEERS = (("aspell -a", ["aspell", "-a", "-d", "en_US"]),
         ("hunspell -a", ["hunspell", "-a", "-d", "en_US"]))


def ours(command):
    """suggestion-bench's "key value" lines."""
    out = subprocess.run(command, check=True, stdout=subprocess.PIPE, text=True).stdout
    return dict(line.split(None, 1) for line in out.splitlines() if line.strip())


def elapsed_ms(command, input_path):
    """Elapsed ms of one whole run, its standard input the file given (or none)."""
    with open(input_path or os.devnull, "rb") as source:
        start = time.perf_counter()
        subprocess.run(command, stdin=source, stdout=subprocess.DEVNULL, check=True)
        return (time.perf_counter() - start) * 1000.0


def suggestions_of(command, input_path):
    """Suggestions a peer returned in all: "& word count offset: ..." lines
    carry the count; "#" lines (none) and "*" lines (known) add nothing."""
    with open(input_path, "rb") as source:
        out = subprocess.run(command, stdin=source, check=True, stdout=subprocess.PIPE).stdout
    return sum(int(line.split()[2]) for line in out.decode("latin-1").splitlines()
               if line.startswith("& "))


def main():
    if len(sys.argv) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    bench, dictionary, words, work = sys.argv[1:5]
    count = sys.argv[5] if len(sys.argv) > 5 else "500"
    rounds = int(sys.argv[6]) if len(sys.argv) > 6 else 5
    os.makedirs(work, exist_ok=True)
    typos = os.path.join(work, "typos.txt")
    our_command = [bench, dictionary, words, typos, count]
    first = ours(our_command)
    n = int(first["words"])
    if n < 2:
        sys.exit("bench-suggestions: too few typos")
    # Ispell's pipe mode: a leading "^" makes the rest of the line text.
    with open(typos) as f:
        lines = ["^" + line for line in f.read().splitlines()]
    all_path, one_path = os.path.join(work, "typos-a.txt"), os.path.join(work, "typo1-a.txt")
    with open(all_path, "w") as f:
        f.write("\n".join(lines) + "\n")
    with open(one_path, "w") as f:
        f.write(lines[0] + "\n")
    counts = {name: suggestions_of(command, all_path) for name, command in PEERS}
    counts["ours"] = int(first["suggestions"])

    # Each side's two runs, (command, standard input): all typos, then the
    # first alone. Our whole process reads plain lines, the peers' their
    # pipe-mode lines.
    plain_one = os.path.join(work, "typo1.txt")
    with open(plain_one, "w") as f:
        f.write(lines[0][1:] + "\n")
    once = [bench, "--once", dictionary]
    sides = [("ours", (once + [typos], None), (once + [plain_one], None))]
    sides += [(name, (command, all_path), (command, one_path)) for name, command in PEERS]

    times = {name: [] for name, _, _ in sides}
    for round_index in range(rounds):
        for name, every, one in (sides if round_index % 2 == 0 else sides[::-1]):
            times[name].append((elapsed_ms(*every) - elapsed_ms(*one)) * 1000.0 / (n - 1))
    last = ours(our_command)

    print("== suggestions: %d one-edit typos of dictionary words, mean per word over one pass, "
          "%d paired rounds" % (n, rounds))
    print("every side: whole processes, (all - one) / (count - 1)")
    print(bench_row.HEADER)
    for index, (name, _) in enumerate(PEERS):
        note = "suggestions: ours %d (%.1f a word), %s %d (%.1f a word)" % (
            counts["ours"], counts["ours"] / n, name.split()[0], counts[name], counts[name] / n)
        bench_row.row("suggestions, mean per word", "us", times["ours"], name, times[name],
                      1.0 if index == 0 else None, note)
    print("ours in process: one pass %s us a word; median of each word's best of five %s us "
          "(max %s us)" % (last["mean_us"], last["median_us"], last["max_us"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
