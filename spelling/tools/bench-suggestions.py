#!/usr/bin/python3
"""Suggestions for misspelt words, ours beside aspell -a and hunspell -a,
the same statistic on every side: the mean time per word over one pass.

suggestion-bench makes the typos (one edit of a dictionary word each) and
times one pass of our main dictionary's Suggest over them in process. The
peers run as whole processes on all the typos and on the first alone, so
that their start-up drops out: (all - one) / (count - 1) is their mean per
word. Every round runs each side once, the order alternating from round to
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
    with open(input_path, "rb") as source:
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

    times = {"ours": []}
    times.update({name: [] for name, _ in PEERS})
    last = first
    for round_index in range(rounds):
        measures = [("ours", None)] + list(PEERS)
        if round_index % 2:
            measures.reverse()
        for name, command in measures:
            if command is None:
                last = ours(our_command)
                times["ours"].append(float(last["mean_us"]))
            else:
                every = elapsed_ms(command, all_path)
                one = elapsed_ms(command, one_path)
                times[name].append((every - one) * 1000.0 / (n - 1))

    print("== suggestions: %d one-edit typos of dictionary words, mean per word over one pass, "
          "%d paired rounds" % (n, rounds))
    print("ours: TDictionary.Suggest in process; peers: whole processes, (all - one) / (count - 1)")
    print(bench_row.HEADER)
    for index, (name, _) in enumerate(PEERS):
        note = "suggestions: ours %d (%.1f a word), %s %d (%.1f a word)" % (
            counts["ours"], counts["ours"] / n, name.split()[0], counts[name], counts[name] / n)
        bench_row.row("suggestions, mean per word", "us", times["ours"], name, times[name],
                      1.0 if index == 0 else None, note)
    print("ours, median of each word's best of five: %s us (max %s us)"
          % (last["median_us"], last["max_us"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
