#!/usr/bin/python3
"""The benchmarks' shared row: the ratio is the median of the paired runs'
ratios (not the ratio of the medians), the target verdict is "<=", the row
reaches the summary file only when asked to, and the paired timer puts a
slow command's row above a fast one's, and reports a failed run as a
failure, never as a figure."""
import os
import subprocess
import sys
import tempfile
import unittest
from contextlib import redirect_stdout
from io import StringIO

root = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(root, "scripts"))
import bench_row  # noqa: E402


class RowTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.summary = os.path.join(self.work.name, "summary.txt")
        os.environ["BENCH_SUMMARY"] = self.summary

    def tearDown(self):
        del os.environ["BENCH_SUMMARY"]
        self.work.cleanup()

    def row(self, *args, **kwargs):
        out = StringIO()
        with redirect_stdout(out):
            met = bench_row.row(*args, **kwargs)
        return met, out.getvalue()

    def test_ratio_and_verdict(self):
        # (ours, peer, target, ratio text, verdict text or None, met)
        cases = [
            # Pairs 0.5, 2, 3: the median pair is 2x although the medians are equal.
            ([1, 2, 9], [2, 1, 3], 1.0, "2.00x [0.50..3.00]", "<= 1.0x MISSED", False),
            ([1, 2, 9], [2, 1, 3], 2.0, "2.00x [0.50..3.00]", "<= 2.0x met", True),
            ([10, 10], [10, 10], 1.0, "1.00x [1.00..1.00]", "<= 1.0x met", True),
            ([5, 6, 7, 8], [10, 10, 10, 10], None, "0.65x [0.50..0.80]", None, True),
        ]
        for ours, peer, target, ratio, verdict, met in cases:
            with self.subTest(ours=ours, peer=peer, target=target):
                got_met, text = self.row("work", "ms", ours, "peer", peer, target)
                self.assertEqual(got_met, met)
                self.assertIn(ratio, text)
                if verdict:
                    self.assertTrue(text.rstrip().endswith(verdict), text)
                else:
                    self.assertNotIn("met", text)
                    self.assertNotIn("MISSED", text)

    def test_spread_of_each_side(self):
        _, text = self.row("work", "us", [3, 1, 2], "aspell", [30, 10, 20])
        self.assertIn("2 [1..3] us", text)
        self.assertIn("aspell 20 [10..30] us", text)

    def test_summary_holds_recorded_rows_only(self):
        self.row("kept", "ms", [1], "peer", [2], note="a note")
        self.row("left out", "ms", [1], "peer", [2], record=False)
        with open(self.summary) as f:
            lines = f.read().splitlines()
        self.assertEqual(len(lines), 1)
        self.assertTrue(lines[0].startswith("kept"))
        self.assertTrue(lines[0].endswith("(a note)"))

    def test_unpaired_runs_are_refused(self):
        with self.assertRaises(ValueError):
            self.row("work", "ms", [1, 2], "peer", [1])

    def test_paired_timer_ranks_slow_above_fast(self):
        # Ours counts ten times as far as the peer: the CPU row must show
        # ours well above the peer and miss a target of 1.0.
        loop = "i=0; while [ $i -lt %d ]; do i=$((i+1)); done"
        timer = os.path.join(root, "scripts", "time-paired.py")
        out = subprocess.run(
            [sys.executable, timer, "--runs", "3", "--label", "counting", "--target", "1.0",
             "--peer-name", "short count", "--", "sh", "-c", loop % 300000, "--", "sh", "-c",
             loop % 30000], check=True, stdout=subprocess.PIPE, text=True).stdout
        with open(self.summary) as f:
            rows = f.read().splitlines()
        self.assertEqual(len(rows), 1, out)
        self.assertTrue(rows[0].startswith("counting, into a pipe, CPU"), rows[0])
        self.assertTrue(rows[0].endswith("<= 1.0x MISSED"), rows[0])
        ratio = float(rows[0].split("x [")[0].split()[-1])
        self.assertGreater(ratio, 3.0, rows[0])
        self.assertIn(rows[0], out)

    def test_paired_timer_fails_on_a_failed_run(self):
        timer = os.path.join(root, "scripts", "time-paired.py")
        for ours, peer in ((["false"], ["true"]), (["true"], ["false"])):
            with self.subTest(ours=ours):
                run = subprocess.run(
                    [sys.executable, timer, "--runs", "1", "--label", "failing", "--sink", "file",
                     "--"] + ours + ["--"] + peer, stdout=subprocess.PIPE,
                    stderr=subprocess.PIPE, text=True)
                self.assertNotEqual(run.returncode, 0)
                self.assertIn("failed", run.stderr)
                self.assertFalse(os.path.exists(self.summary) and open(self.summary).read())


if __name__ == "__main__":
    unittest.main()
