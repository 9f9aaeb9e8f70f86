"""The Windows build's tests under Wine in Xvfb, for both halves.

One Xvfb serves every run; each prefix (96, 120 and 144 dpi, made as
tools/test.sh makes them) has one persistent wineserver, restarted after any
run that did not pass (its panel may still run). The font worlds are
tests/ui/font_worlds.sh, called as ctest calls it, at 144 dpi (where the
made faces are tried), with their own prefixes.

Each suite first runs on the unmutated build; only a test that passed there
can kill a mutant, and the killing test is run once more on a copy of the
unmutated programs (WORKDIR/base-win) to confirm it.
"""

import fnmatch
import os
import re
import shutil
import subprocess
import sys
import time

import classify as C

TARGETS = ["zarn_tests", "zarn_uitests"]
PANEL = "ZARN Control Panal.exe"
TRIES = 3  # a run in which no test started is tried again, twice


class Display:
    def __init__(self):
        self.xvfb, self.name = None, None

    def ensure(self):
        if self.xvfb and self.xvfb.poll() is None:
            return self.name
        n = 90
        while True:
            while os.path.exists("/tmp/.X11-unix/X%d" % n) or os.path.exists("/tmp/.X%d-lock" % n):
                n += 1
            self.xvfb = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "3200x2400x24", "-nolisten", "tcp"],
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if os.path.exists("/tmp/.X11-unix/X%d" % n) or self.xvfb.poll() is not None:
                    break
                time.sleep(0.1)
            if self.xvfb.poll() is None and os.path.exists("/tmp/.X11-unix/X%d" % n):
                self.name = ":%d" % n
                return self.name
            self.stop()
            n += 1

    def stop(self):
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
            self.xvfb = None


class Prefix:
    """A Wine prefix at one DPI and its persistent wineserver."""

    def __init__(self, work, dpi, display):
        self.dir = os.path.join(work, "wine%d" % dpi)
        self.dpi, self.display = dpi, display
        self.env = dict(os.environ, WINEPREFIX=self.dir, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self.env.pop("DISPLAY", None)
        self.wineserver = None

    def _quiet(self, cmd):
        subprocess.run(cmd, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start(self):
        if not os.path.exists(os.path.join(self.dir, "system.reg")):
            print("mutate: making the Wine prefix (%d dpi)" % self.dpi, flush=True)
            self._quiet(["wineboot", "-i"])
            self._quiet(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                         "/t", "REG_DWORD", "/d", str(self.dpi), "/f"])
            subprocess.run(["wineserver", "-w"], env=self.env)
        # The named face as Windows has it, as tools/test.sh gives its prefixes (also to one
        # made before it did)
        shutil.copy("/usr/share/wine/fonts/sserife.fon", os.path.join(self.dir, "drive_c", "windows", "Fonts"))
        self.env["DISPLAY"] = self.display.ensure()
        self.wineserver = subprocess.Popen(["wineserver", "-f", "-p"], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def stop(self):
        if self.wineserver:
            self._quiet(["wineserver", "-k"])
            try:
                self.wineserver.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.wineserver.kill()
                self.wineserver.wait()
            self.wineserver = None

    def restart(self):
        self.stop()
        self.start()


def test_times(output):
    """Seconds each test took, from gtest's output."""
    return {m.group(1): int(m.group(2)) / 1000.0
            for m in re.finditer(r"\[\s+OK \] (\S+) \((\d+) ms\)", output)}


def filter_seconds(times, gfilter):
    """Seconds the tests that `gfilter` selects took (POSITIVE[-NEGATIVE])."""
    pos, _, neg = gfilter.partition("-")
    pos, neg = pos.split(":") if pos else ["*"], [p for p in neg.split(":") if p]
    return sum(t for name, t in times.items()
               if any(fnmatch.fnmatch(name, p) for p in pos) and not any(fnmatch.fnmatch(name, p) for p in neg))


class Suite:
    """One test program under one prefix: its run on the unmutated build, and
    its runs on mutants, each classified by classify.classify."""

    def __init__(self, name, win, prefix, argv, base_argv, base_filter=None, extra_reset=None):
        self.name, self.win, self.prefix = name, win, prefix
        self.argv, self.base_argv = argv, base_argv   # base_argv None: no confirming run
        self.base_filter, self.extra_reset = base_filter, extra_reset
        self.passing, self.times, self.seconds = set(), {}, 0.0

    def _run(self, argv, gfilter, timeout, fail_fast):
        env = dict(self.prefix.env)
        if fail_fast:
            env["GTEST_FAIL_FAST"] = "1"
        cmd = list(argv) + (["--gtest_filter=" + gfilter] if gfilter else [])
        return self.win.sh(cmd, timeout=timeout, env=env, cwd=self.win.tests)

    def reset(self):
        self.prefix.restart()
        if self.extra_reset:
            self.extra_reset()

    def baseline(self):
        for _ in range(TRIES):
            rc, secs, out = self._run(self.argv, self.base_filter, 3600, False)
            p = C.parse(out)
            if p.banner:
                break
            self.reset()
        else:
            sys.exit("mutate: %s: no test started on the unmutated build:\n%s" % (self.name, out[-3000:]))
        if rc != 0:
            self.reset()
        self.passing, self.times, self.seconds = set(p.passed), test_times(out), secs
        print("mutate: win baseline %-12s %3d tests pass in %.1fs%s" % (
            self.name, len(p.passed), secs,
            "; NOT passing, so killing nothing: " + " ".join(p.failed + [p.unfinished] if p.unfinished else p.failed)
            if rc != 0 else ""), flush=True)

    def limit(self, gfilter):
        base = filter_seconds(self.times, gfilter) if gfilter else self.seconds
        return 2 * base + 30

    def run(self, gfilter=None):
        """(result, detail) for the mutant now built."""
        limit = self.limit(gfilter)
        for _ in range(TRIES):
            rc, secs, out = self._run(self.argv, gfilter, limit, True)
            result, detail, test = C.classify(rc, out, self.passing, C.timed_out(rc, secs, limit))
            if result != C.SURVIVED:
                self.reset()
            if result != C.NOSTART:
                break
        if result == C.KILLED and self.base_argv:
            t = 2 * self.times.get(test, 10) + 30
            rc, secs, out = self._run(self.base_argv, test, t, False)
            if not C.passed_once(out, test):
                self.reset()
                return C.FLAKY, "%s: %s failed on the mutant and again on the unmutated build" % (self.name, test)
        return result, "%s: %s" % (self.name, detail or "passed")


def first_verdict(steps):
    """Runs the steps (callables giving (result, detail)) until one kills or
    times out; otherwise the first result that was not a pass, or survived."""
    other = None
    details = []
    for step in steps:
        result, detail = step()
        details.append(detail)
        if result in (C.KILLED, C.TIMEOUT):
            return result, detail
        if result != C.SURVIVED and other is None:
            other = (result, detail)
    return other or (C.SURVIVED, "; ".join(details))  # "native: passed; core96: passed"


class Windows:
    """The mingw build in WORKDIR/win, a copy of its unmutated programs, and
    the suites, set up on first use and shared by both halves."""

    def __init__(self, args, build, configure, sh):
        self.args, self.build_fn, self.sh = args, build, sh
        self.work = args.workdir
        self.dir = configure(self.work, "win")
        self.tests = os.path.join(self.dir, "tests")
        self.display = Display()
        self.prefixes = {}
        self.suites = {}
        self.built = set()

    def build(self, targets, timeout=900):
        return self.build_fn(self.dir, targets, self.args.jobs, timeout=timeout)

    def prefix(self, dpi):
        if dpi not in self.prefixes:
            p = Prefix(self.work, dpi, self.display)
            p.start()
            self.prefixes[dpi] = p
        return self.prefixes[dpi]

    def setup(self, targets, names):
        """Builds `targets` unmutated, copies the programs, runs the suites' baselines."""
        missing = [t for t in targets if t not in self.built]
        if missing:
            rc, _, out = self.build(missing, timeout=3600)
            if rc != 0:
                sys.exit("mutate: the unmutated tree does not build for Windows:\n" + out[-3000:])
            self.built.update(missing)
            self.snapshot()
        for name in names:
            if name not in self.suites:
                self.suites[name] = self.make(name)
                self.suites[name].baseline()

    def snapshot(self):
        base = os.path.join(self.work, "base-win")  # tests/ and app/, as in the build
        for sub, names in (("tests", ["zarn_tests.exe", "zarn_uitests.exe", "planted.dll", "standin.exe"]),
                           ("app", [PANEL])):
            os.makedirs(os.path.join(base, sub), exist_ok=True)
            for n in names:
                if os.path.exists(os.path.join(self.dir, sub, n)):
                    shutil.copy2(os.path.join(self.dir, sub, n), os.path.join(base, sub, n))

    def make(self, name):
        t, b = self.tests, os.path.join(self.work, "base-win", "tests")
        ui = [os.path.join(t, "zarn_uitests.exe"), os.path.join(self.dir, "app", PANEL)]
        ui_base = [os.path.join(b, "zarn_uitests.exe"), os.path.join(self.work, "base-win", "app", PANEL)]
        if name == "core96":
            return Suite(name, self, self.prefix(96), ["wine", os.path.join(t, "zarn_tests.exe")],
                         ["wine", os.path.join(b, "zarn_tests.exe")])
        if name == "ui96":
            return Suite(name, self, self.prefix(96), ["wine"] + ui, ["wine"] + ui_base)
        if name == "ui144":  # as ctest's `ui`: the settings files' cases run at one DPI only
            return Suite(name, self, self.prefix(144), ["wine"] + ui, ["wine"] + ui_base,
                         base_filter="*-GameOptionsFilesUi.*")
        if name == "pictures120":
            return Suite(name, self, self.prefix(120), ["wine"] + ui, ["wine"] + ui_base,
                         base_filter="PicturesUi.*")
        if name == "fonts144":  # its own filter: one run of WindowsUi.* per font world, not confirmed
            worlds = [os.path.join(self.work, "wine-fonts-%s-144" % w) for w in ("fewer", "wide", "fitting")]
            script = os.path.join(self.work, "src", "tests", "ui", "font_worlds.sh")
            return Suite(name, self, self.prefix(144), [script] + ui, None, extra_reset=lambda: [subprocess.run(
                ["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=w),
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) for w in worlds])
        raise ValueError(name)

    def stop(self):
        for p in self.prefixes.values():
            p.stop()
        self.display.stop()


def run_windows(args, chosen, Half, win, windows_tests):
    half = Half("win", args, None)
    win.setup(TARGETS, ["core96", "ui96", "ui144", "pictures120", "fonts144"])
    s = win.suites

    def test(m):
        t = windows_tests(m.path)
        ui144 = t.ui if "-" in t.ui else t.ui + "-GameOptionsFilesUi.*"
        steps = ([lambda: s["core96"].run()] if t.core else []) + [
            lambda: s["ui96"].run(t.ui), lambda: s["ui144"].run(ui144)]
        if t.pictures:
            steps.append(lambda: s["pictures120"].run("PicturesUi.*"))
        if t.fonts:
            steps.append(lambda: s["fonts144"].run())
        return first_verdict(steps)

    half.run(chosen, args.win_minutes, args.win, {"build": win.dir, "targets": lambda m: TARGETS}, test)
    win.build(TARGETS)  # leave the build matching the tree
    return half
