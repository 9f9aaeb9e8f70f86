"""Checks of the mutation tool's reading of gtest output, on canned outputs.
Run: /usr/bin/python3 tools/mutate/test_classify.py"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import classify as C  # noqa: E402

HEAD = "Running main() from gtest_main.cc\r\n[==========] Running 3 tests from 1 test suite.\r\n"
BASE = {"Ini.Reads", "Ini.Writes", "Ini.Keeps"}


class Classify(unittest.TestCase):
    def test_assertion_failure_names_the_test(self):
        out = HEAD + ("[ RUN      ] Ini.Reads\n[       OK ] Ini.Reads (3 ms)\n[ RUN      ] Ini.Writes\n"
                      "convert_test.cpp:40: Failure\nExpected equality\n[  FAILED  ] Ini.Writes (1 ms)\n"
                      "[ RUN      ] Ini.Keeps\n[  SKIPPED ] Ini.Keeps (0 ms)\n[  FAILED  ] Ini.Writes\n")
        self.assertEqual(C.classify(1, out, BASE), ("killed", "killed by Ini.Writes", "Ini.Writes"))

    def test_crash_mid_test_names_the_test(self):
        out = HEAD + "[ RUN      ] Ini.Reads\r\n[       OK ] Ini.Reads (3 ms)\r\n[ RUN      ] Ini.Keeps\r\n" \
            "wine: Unhandled page fault on read access to 00000000 at address 0040123A\r\n"
        result, detail, test = C.classify(5, out, BASE)
        self.assertEqual((result, test), ("killed", "Ini.Keeps"))
        self.assertIn("crashed", detail)

    def test_wine_start_failure_is_no_kill(self):
        out = "Xlib:  extension \"RANDR\" missing on display \":91\".\nwine: could not connect to the server\n"
        self.assertEqual(C.classify(1, out, BASE)[0], "nostart")

    def test_timeout_is_no_kill_whatever_the_status(self):
        out = HEAD + "[ RUN      ] Ini.Reads\n"
        for rc in (124, 137, -9):
            self.assertTrue(C.timed_out(rc, 61.0, 60))
            self.assertEqual(C.classify(rc, out, BASE, ran_out=True)[:2], ("timeout", "timeout in Ini.Reads"))
        self.assertFalse(C.timed_out(1, 3.0, 60))

    def test_a_test_failing_unmutated_too_kills_nothing(self):
        out = HEAD + "[ RUN      ] Ini.Flaky\n[  FAILED  ] Ini.Flaky (9 ms)\n"
        self.assertEqual(C.classify(1, out, BASE)[0], "unnamed")

    def test_failing_exit_after_every_test_passed_is_no_kill(self):
        out = HEAD + "[ RUN      ] Ini.Reads\n[       OK ] Ini.Reads (3 ms)\n[  PASSED  ] 1 test.\n" \
            "==123==ERROR: LeakSanitizer: detected memory leaks\n"
        self.assertEqual(C.classify(1, out, BASE)[0], "unnamed")

    def test_a_clean_run_survives_and_a_confirming_run_passes(self):
        out = HEAD + "[ RUN      ] P/Ini.Reads/0\n[       OK ] P/Ini.Reads/0, where GetParam() = 2 (3 ms)\n"
        self.assertEqual(C.classify(0, out, BASE)[0], "survived")
        self.assertTrue(C.passed_once(out, "P/Ini.Reads/0"))


if __name__ == "__main__":
    unittest.main()
