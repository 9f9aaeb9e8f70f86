"""The Windows-only half: mingw build, tests under Wine at 96 dpi.

One Xvfb and one persistent wineserver serve the whole half; they are
restarted only after a mutant that was killed (its panel may still run) and
stopped at the end.
"""

import fnmatch
import os
import re
import subprocess
import sys
import time

TARGETS = ["zarn_tests", "zarn_uitests"]


class Session:
    def __init__(self, work):
        self.prefix = os.path.join(work, "wine96")
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        self.env.pop("DISPLAY", None)
        self.xvfb = None
        self.wineserver = None

    def make_prefix(self):
        if os.path.exists(os.path.join(self.prefix, "system.reg")):
            return
        print("mutate: making the Wine prefix (96 dpi)", flush=True)
        subprocess.run(["wineboot", "-i"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                        "/t", "REG_DWORD", "/d", "96", "/f"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env)

    def start(self):
        n = 90
        while os.path.exists("/tmp/.X11-unix/X%d" % n) or os.path.exists("/tmp/.X%d-lock" % n):
            n += 1
        self.xvfb = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "3200x2400x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X%d" % n):
                break
            time.sleep(0.1)
        self.env["DISPLAY"] = ":%d" % n
        self.start_wineserver()

    def start_wineserver(self):
        self.wineserver = subprocess.Popen(["wineserver", "-f", "-p"], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def restart_wineserver(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.wineserver.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.wineserver.kill()
            self.wineserver.wait()
        self.start_wineserver()

    def stop(self):
        if self.wineserver:
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            try:
                self.wineserver.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.wineserver.kill()
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()


def test_times(output):
    """Seconds each test took, from gtest's output."""
    return {m.group(1): int(m.group(2)) / 1000.0
            for m in re.finditer(r"\[\s+OK \] (\S+) \((\d+) ms\)", output)}


def filter_seconds(times, gfilter):
    pats = gfilter.split(":")
    return sum(t for name, t in times.items() if any(fnmatch.fnmatch(name, p) for p in pats))


def run_windows(args, chosen, Half, build, configure, sh, windows_tests):
    half = Half("win", args, None)
    b = configure(args.workdir, "win")
    rc, secs, out = build(b, TARGETS, args.jobs, timeout=3600)
    if rc != 0:
        sys.exit("mutate: the unmutated tree does not build for Windows:\n" + out[-3000:])
    tests = os.path.join(b, "tests")
    core_exe = os.path.join(tests, "zarn_tests.exe")
    ui_exe = os.path.join(tests, "zarn_uitests.exe")
    panel = os.path.join(b, "app", "ZARN Control Panal.exe")
    s = Session(args.workdir)
    s.make_prefix()
    s.start()
    try:
        def wine(cmd, timeout=None, env=None):
            return sh(["timeout", "-k", "5", str(int(timeout or 3600)), "wine"] + cmd, env=env or s.env, cwd=tests)

        rc, core_base, out = wine([core_exe])
        if rc != 0:
            sys.exit("mutate: the Windows core tests fail on the unmutated tree:\n" + out[-3000:])
        rc, ui_base, out = wine([ui_exe, panel])
        if rc != 0:
            sys.exit("mutate: the UI tests fail at 96 dpi on the unmutated tree:\n" + out[-3000:])
        times = test_times(out)
        print("mutate: win baseline: core tests %.1fs, UI tests %.1fs" % (core_base, ui_base), flush=True)
        env = dict(s.env, GTEST_FAIL_FAST="1")

        def test(m):
            core, gfilter = windows_tests(m.path)
            if core:
                rc, t, _ = wine([core_exe], timeout=2 * core_base + 15, env=env)
                if rc != 0:
                    return finish("core", rc)
            limit = 2 * (filter_seconds(times, gfilter) if gfilter != "*" else ui_base) + 20
            rc, t, _ = wine([ui_exe, panel, "--gtest_filter=" + gfilter], timeout=limit, env=env)
            return finish(gfilter, rc)

        def finish(what, rc):
            if rc == 0:
                return "survived", what
            s.restart_wineserver()  # a failed or stopped test may leave the panel running
            return ("timeout" if rc == 124 else "killed"), what

        half.run(chosen, args.win_minutes, args.win, {"build": b, "targets": lambda m: TARGETS}, test)
    finally:
        s.stop()
    build(b, TARGETS, args.jobs)
    return half
