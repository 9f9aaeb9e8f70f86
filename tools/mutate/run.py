"""Mutation testing: makes mutants of the product's sources, builds and runs
the tests that can see each one, and reports the survivors.

A mutant is killed only when a named test that passed on the unmutated build
fails an assertion or crashes on it (gtest's output says which; the test is
run once more on the unmutated build to confirm). A run that reaches its time
limit is a timeout, whatever its exit status, and stays out of the first
ratio; a run in which no test started is tried again; a failing exit that no
such test explains is listed apart. See classify.py.

Works on a private copy of the tree (WORKDIR/src) with persistent builds
beside it (WORKDIR/native, WORKDIR/win, the Wine prefixes WORKDIR/wine96,
wine120, wine144), so the user's tree is never touched and each mutant
recompiles one file and relinks.
"""

import argparse
import collections
import fnmatch
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import classify as C  # noqa: E402
import mutants as M  # noqa: E402
import wine  # noqa: E402

# Which tests see a Windows-only file: the window the file serves.
# First matching pattern (fnmatch on the path) wins. `core` says whether the
# Windows core tests (zarn_tests.exe) link the file; the front end in app/win
# is linked only into the panel itself, so only the UI tests can see it. The
# UI filter runs at 96 and at 144 dpi; `fonts` adds the windows' test in the
# font worlds at 144 dpi, `pictures` the pictures' test at 120 dpi.
# Update this table when front-end files are split or renamed.
Seen = collections.namedtuple("Seen", "core ui fonts pictures")
WINDOWS_TESTS = [
    # pattern                      core   UI tests (gtest filter)                      fonts  pictures
    ("*/win/profile*",             True,  "GameOptionsUi.*",                           False, False),
    ("*/win/wide*",                True,  "*",                                         False, False),
    ("platform/win/taskbar*",      True,  "MainWindowUi.*",                            False, False),
    ("platform/win/*",             True,  "MainWindowUi.*:PlantedDllUi.*",             False, False),
    ("app/win/dialog*",            False, "WindowsUi.*:GameOptionsUi.*",               False, False),
    ("app/win/*option*",           False, "GameOptionsUi.*:WindowsUi.*",               False, False),
    ("app/win/pictures*",          False, "PicturesUi.*:WindowsUi.*",                  False, True),
    ("app/win/icon*",              False, "PicturesUi.*:HandlesUi.*",                  False, True),
    ("app/win/resample*",          False, "*",                                         False, True),
    ("app/win/fonts*",             False, "WindowsUi.*",                               True,  False),
    ("app/win/paint*",             False, "WindowsUi.*",                               False, False),
    ("app/win/realise*",           False, "WindowsUi.*:GameOptionsUi.*:PicturesUi.*:HandlesUi.*", True, True),
    ("app/win/modal*",             False, "WindowsUi.*:GameOptionsUi.*:MainWindowUi.*", False, False),
    ("app/win/form*",              False, "WindowsUi.*:GameOptionsUi.*:MainWindowUi.*:PicturesUi.*:HandlesUi.*",
     True, False),
    ("app/win/main*",              False, "WindowsUi.*:MainWindowUi.*:PlantedDllUi.*", False, False),
    ("app/win/system*",            False, "WindowsUi.*:PlantedDllUi.*",                False, False),
    ("app/win/terminate*",         False, "MainWindowUi.*",                            False, False),
    ("*",                          True,  "*",                                         True,  True),   # anything else: every test
]


def windows_tests(path):
    for pattern, *seen in WINDOWS_TESTS:
        if fnmatch.fnmatch(path, pattern):
            return Seen(*seen)
    return Seen(*WINDOWS_TESTS[-1][1:])


def builds_for_windows(path):
    """A core file that is also compiled into the Windows program (and its tests)."""
    return not path.startswith("platform/posix/")


# ---- the private copy ----------------------------------------------------

SKIP = {".git", "build", "sample", "out"}


def sync(tree, dest):
    """Makes `dest` hold what `tree` holds, writing only files that differ."""
    seen = set()
    for folder, dirs, files in os.walk(tree):
        rel = os.path.relpath(folder, tree)
        dirs[:] = sorted(d for d in dirs if not (rel == "." and (d in SKIP or d.startswith("build"))))
        os.makedirs(os.path.join(dest, rel), exist_ok=True)
        for name in files:
            r = os.path.normpath(os.path.join(rel, name))
            seen.add(r)
            src, dst = os.path.join(tree, r), os.path.join(dest, r)
            with open(src, "rb") as f:
                data = f.read()
            if os.path.exists(dst):
                with open(dst, "rb") as f:
                    if f.read() == data:
                        continue
            with open(dst, "wb") as f:
                f.write(data)
            shutil.copymode(src, dst)
    for folder, dirs, files in os.walk(dest):
        for name in files:
            r = os.path.normpath(os.path.relpath(os.path.join(folder, name), dest))
            if r not in seen:
                os.remove(os.path.join(dest, r))


def write_touched(path, data):
    with open(path, "wb") as f:
        f.write(data)
    now = time.time()
    os.utime(path, (now, now))


# ---- building and running --------------------------------------------------

def sh(cmd, timeout=None, env=None, cwd=None):
    """(exit status, seconds, output); status 124 on timeout. The output goes
    through a file: programs that Wine starts keep a pipe open long after."""
    t = time.time()
    with tempfile.TemporaryFile() as out:
        p = subprocess.Popen(cmd, stdout=out, stderr=subprocess.STDOUT, env=env, cwd=cwd,
                             start_new_session=True)
        try:
            rc = p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()
            rc = 124
        out.seek(0)
        return rc, time.time() - t, out.read().decode("utf-8", "replace")


def configure(work, which):
    build = os.path.join(work, which)
    cmd = ["cmake", "-G", "Ninja", "-S", os.path.join(work, "src"), "-B", build]
    if which == "native":
        cmd += ["-DCMAKE_BUILD_TYPE=Debug"]
    else:
        cmd += ["-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(work, "src/cmake/toolchain-mingw.cmake"),
                "-DCMAKE_BUILD_TYPE=MinSizeRel"]
    rc, _, out = sh(cmd)
    if rc != 0:
        sys.exit("mutate: cmake failed for %s:\n%s" % (which, out[-3000:]))
    return build


def build(build_dir, targets, jobs, timeout=900):
    return sh(["cmake", "--build", build_dir, "-j", str(jobs), "--target"] + targets, timeout=timeout)


# ---- one half ---------------------------------------------------------------

class Half:
    def __init__(self, name, args, out):
        self.name, self.args, self.out = name, args, out
        self.results = []
        self.seconds = 0.0
        self.created = time.time()
        self.setup = 0.0  # build and baseline before the first mutant
        self.fails = {}   # mutant -> the tests it failed (with --matrix)
        self.tests = []   # every test of the half's test program
        # With --resume: this half's results from the results file, by mutant.
        self.previous = args.previous.pop(name, {})

    def log(self, text):
        print(text, flush=True)

    def run(self, chosen, minutes, limit, setup, test):
        """Runs up to `limit` mutants of `chosen` within `minutes`."""
        start = time.time()
        self.setup = start - self.created
        src = os.path.join(self.args.workdir, "src")
        done = 0
        for m in chosen:
            if done >= limit or time.time() - start > minutes * 60:
                break
            if m.key6() in self.previous:  # done by an earlier run of this seed
                result, secs, detail = self.previous.pop(m.key6())
                self.results.append((m, result, secs, detail))
                done += result != "uncompiled"
                continue
            path = os.path.join(src, m.path)
            with open(path, "rb") as f:
                original = f.read()
            text = original.decode("utf-8", "surrogateescape")
            marker = os.path.join(self.args.workdir, "dirty")
            with open(marker, "w") as f:
                f.write(m.path)
            t0 = time.time()
            try:
                write_touched(path, m.apply(text).encode("utf-8", "surrogateescape"))
                rc, built, _ = build(setup["build"], setup["targets"](m), self.args.jobs)
                if rc != 0:
                    result, detail = "uncompiled", ""
                else:
                    result, detail = test(m)
                    if isinstance(detail, tuple):  # --matrix: (detail, every test it failed)
                        detail, self.fails[m] = detail
            finally:
                write_touched(path, original)
                os.remove(marker)
            secs = time.time() - t0
            if result != "uncompiled":
                done += 1
            self.results.append((m, result, secs, detail))
            with open(self.args.out, "a") as f:  # kept as it comes: a stopped run can be resumed
                f.write(row(self.name, m, result, secs, detail))
            self.log("[%s %3d/%s] %-32s %-6s %-10s %5.1fs  %s  (build %.1fs%s)" % (
                self.name, done, limit if limit < 10**9 else "-", m.where(), m.op, result, secs,
                m.change(), built, "; " + detail if detail else ""))
        self.seconds = time.time() - start


# ---- choosing -----------------------------------------------------------------

def row(half, m, result, secs, detail):
    return "%s\t%s\t%d\t%d\t%s\t%s\t%.1f\t%s\t%s\t%s\n" % (
        half, m.path, m.line, m.column, m.op, result, secs, esc(m.before), esc(m.after), esc(detail))


HEADER = "half\tfile\tline\tcolumn\top\tresult\tseconds\tbefore\tafter\tdetail\n"


def previous_results(path):
    """The results file's rows as {half: {mutant key: (result, seconds, detail)}}; rows of a
    run that no test started are left out, to be run again."""
    found = {}
    if not os.path.exists(path):
        return found
    with open(path) as f:
        next(f, None)
        for line in f:
            h, p, ln, col, op, result, secs, before, after, detail = line.rstrip("\n").split("\t")[:10]
            if result != C.NOSTART:
                found.setdefault(h, {})[(p, int(ln), int(col), op, unesc(before), unesc(after))] = (
                    result, float(secs), unesc(detail))
    return found


def choose(candidates, seed):
    """All candidates in a seeded order that takes the operators in turn, so
    the many constants of the layout tables do not crowd out the rest."""
    r = random.Random(seed)
    by_op = {}
    for m in sorted(candidates, key=M.Mutant.key):
        by_op.setdefault(m.op, []).append(m)
    ops = sorted(by_op)
    for op in ops:
        r.shuffle(by_op[op])
    order = []
    while any(by_op.values()):
        r.shuffle(ops)
        for op in ops:
            if by_op[op]:
                order.append(by_op[op].pop())
    return order


def stop(signum, frame):
    raise SystemExit("mutate: stopped by signal %d" % signum)


def main():
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGHUP, stop)
    ap = argparse.ArgumentParser(prog="tools/mutate.sh", description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--seed", type=int, default=1, help="order of the mutants (default 1)")
    ap.add_argument("--core", type=int, default=200, help="portable-core mutants to run (default 200)")
    ap.add_argument("--core-minutes", type=float, default=30, help="time for the core half (default 30)")
    ap.add_argument("--win-minutes", type=float, default=30,
                    help="time for the Windows-only half, 0 to skip it (default 30)")
    ap.add_argument("--win", type=int, default=10**9, help="at most this many Windows-only mutants")
    ap.add_argument("--only", nargs="+", metavar="PATH", help="only files under these paths")
    ap.add_argument("--list", action="store_true", help="list the chosen mutants and stop")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--workdir", default="/tmp/zarn-mutate", help="private copy and builds")
    ap.add_argument("--out", help="results file (default build/mutate/results.tsv)")
    ap.add_argument("--matrix", action="store_true",
                    help="core half: run every test against each killed mutant and report, per "
                         "test, the mutants that only it kills (slower)")
    ap.add_argument("--lines", action="store_true",
                    help="print the non-blank lines of the tests, the product and the other code")
    ap.add_argument("--resume", action="store_true",
                    help="keep the results file's rows and run only the mutants it lacks (same seed)")
    ap.add_argument("--compare", nargs=2, metavar=("OLD", "NEW"), help="compare two results files")
    args = ap.parse_args()
    tree = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
    if args.compare:
        return compare(*args.compare)
    if args.lines:
        return lines(tree)
    args.workdir = os.path.abspath(args.workdir)
    args.out = args.out or os.path.join(tree, "build", "mutate", "results.tsv")

    files = M.discover(tree)
    if args.only:
        only = [os.path.normpath(os.path.relpath(os.path.abspath(p), tree)) for p in args.only]
        files = [f for f in files if any(f == o or f.startswith(o + "/") for o in only)]
    candidates = [m for f in files for m in M.mutants_of(tree, f)]
    core = choose([m for m in candidates if not M.is_windows_only(m.path)], args.seed)
    win = choose([m for m in candidates if M.is_windows_only(m.path)], args.seed)
    print("mutate: seed %d; %d files; candidates: %d portable core, %d Windows-only" % (
        args.seed, len(files), len(core), len(win)), flush=True)
    if args.list:
        for name, chosen, n in (("core", core, args.core), ("win", win, args.win)):
            for i, m in enumerate(chosen[:n]):
                print("%s %4d %s %s %s" % (name, i + 1, m.where(), m.op, m.change()))
        return 0

    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    args.previous = previous_results(args.out) if args.resume else {}
    kept = [line for line in open(args.out)][1:] if args.resume and os.path.exists(args.out) else []
    with open(args.out, "w") as f:  # rewritten whole by the report at the end
        f.write(HEADER + "".join(kept))
    os.makedirs(args.workdir, exist_ok=True)
    src = os.path.join(args.workdir, "src")
    sync(tree, src)
    marker = os.path.join(args.workdir, "dirty")
    if os.path.exists(marker):  # a run that was stopped mid-mutant
        with open(marker) as f:
            p = os.path.join(src, f.read().strip())
        if os.path.exists(p):
            write_touched(p, open(p, "rb").read())
        os.remove(marker)

    halves = []
    windows = None
    try:
        if args.core > 0 and args.core_minutes > 0 and core:
            if any(builds_for_windows(m.path) for m in core[:args.core]):
                windows = wine.Windows(args, build, configure, sh)
            halves.append(run_core(args, core, windows))
        if args.win_minutes > 0 and args.win > 0 and win:
            windows = windows or wine.Windows(args, build, configure, sh)
            halves.append(wine.run_windows(args, win, Half, windows, windows_tests))
    finally:
        if windows:
            windows.stop()
    report(args, halves)
    return 0


def run_core(args, chosen, windows):
    """Native tests first; a mutant of a file that the Windows program also
    builds, if they do not kill it, then meets the core tests under Wine."""
    half = Half("core", args, None)
    b = configure(args.workdir, "native")
    rc, secs, out = build(b, ["zarn_tests"], args.jobs)
    if rc != 0:
        sys.exit("mutate: the unmutated tree does not build natively:\n" + out[-3000:])
    cwd = os.path.join(b, "tests")
    exe = os.path.join(cwd, "zarn_tests")
    base_exe = os.path.join(args.workdir, "base-native", "zarn_tests")  # confirms a kill
    os.makedirs(os.path.dirname(base_exe), exist_ok=True)
    shutil.copy2(exe, base_exe)
    rc, base, out = sh([exe], cwd=cwd)
    if rc != 0:
        sys.exit("mutate: the native tests fail on the unmutated tree:\n" + out[-3000:])
    passing = set(C.parse(out).passed)
    limit = 2 * base + 10
    _, _, listed = sh([exe, "--gtest_list_tests"], cwd=cwd)
    suite = None
    for line in listed.splitlines():
        if line and not line.startswith(" "):
            suite = line.split()[0]
        elif line.strip() and suite:
            half.tests.append(suite + line.split()[0])
    print("mutate: core baseline: %d tests pass in %.1fs; per-mutant limit %.0fs" % (
        len(passing), base, limit), flush=True)
    if windows:
        windows.setup(["zarn_tests"], ["core96"])
    env = dict(os.environ, GTEST_FAIL_FAST="1")

    def native():
        for _ in range(wine.TRIES):
            rc, secs, out = sh([exe], timeout=limit, env=env, cwd=cwd)
            result, detail, test = C.classify(rc, out, passing, C.timed_out(rc, secs, limit))
            if result != C.NOSTART:
                break
        if result == C.KILLED:
            _, _, out = sh([base_exe, "--gtest_filter=" + test], timeout=limit, cwd=cwd)
            if not C.passed_once(out, test):
                return C.FLAKY, "native: %s failed on the mutant and again on the unmutated build" % test
        return result, "native: " + (detail or "passed")

    def under_wine():
        rc, secs, out = windows.build(["zarn_tests"])
        if rc != 0:
            return C.SURVIVED, "core96: the Windows build does not compile it"
        return windows.suites["core96"].run()

    def test(m):
        steps = [native] + ([under_wine] if windows and builds_for_windows(m.path) else [])
        result, detail = wine.first_verdict(steps)
        if result != C.KILLED or not args.matrix:
            return result, detail
        _, _, out = sh([exe], timeout=limit, cwd=cwd)
        p = C.parse(out)
        return result, (detail, sorted(set(t for t in p.failed + [p.unfinished] if t in passing)))

    half.run(chosen, args.core_minutes, args.core, {"build": b, "targets": lambda m: ["zarn_tests"]}, test)
    build(b, ["zarn_tests"], args.jobs)  # leave the builds matching the tree
    if windows:
        windows.build(["zarn_tests"])
    return half


def report(args, halves):
    with open(args.out, "w") as f:
        f.write(HEADER)
        for h in halves:
            for m, result, secs, detail in h.results:
                f.write(row(h.name, m, result, secs, detail))
            for (p, ln, col, op, before, after), (result, secs, detail) in h.previous.items():
                f.write("%s\t%s\t%d\t%d\t%s\t%s\t%.1f\t%s\t%s\t%s\n" % (  # not reached this time
                    h.name, p, ln, col, op, result, secs, esc(before), esc(after), esc(detail)))
        for name, rows in args.previous.items():  # a half not run this time
            for (p, ln, col, op, before, after), (result, secs, detail) in rows.items():
                f.write("%s\t%s\t%d\t%d\t%s\t%s\t%.1f\t%s\t%s\t%s\n" % (
                    name, p, ln, col, op, result, secs, esc(before), esc(after), esc(detail)))
    equivalent = {}  # (file:line:column, operator): why the program behaves the same
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "equivalent.txt")) as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                where, op, reason = line.rstrip("\n").split(None, 2)
                equivalent[(where, op)] = reason
    print("\n== mutation testing, seed %d" % args.seed)
    print("killed: a named test that passes on the unmutated build failed or crashed; timeouts and "
          "runs no test explains are not kills")
    for h in halves:
        by = {}
        for r in h.results:
            by.setdefault(r[1], []).append(r)
        k, s, t = (len(by.get(x, [])) for x in (C.KILLED, C.SURVIVED, C.TIMEOUT))
        apart = [r for x in (C.NOSTART, C.UNNAMED, C.FLAKY) for r in by.get(x, [])]
        n = sum(len(v) for x, v in by.items() if x != "uncompiled")

        def ratio(a, b):
            return "%d / %d%s" % (a, b, " (%.0f%%)" % (100.0 * a / b) if b else "")
        same = [r for r in by.get(C.SURVIVED, []) if equivalent.get((r[0].where(), r[0].op))]
        print("%s: killed / (killed + survived) %s; killed / (killed + survived + timeouts) %s; "
              "killed / (killed + survived - %d named equivalent) %s" % (
                  h.name, ratio(k, k + s), ratio(k, k + s + t), len(same), ratio(k, k + s - len(same))))
        print("  %d run: %d killed, %d survived, %d timeouts, %d not counted (no test started, no named "
              "test, or a test failing unmutated too); %d did not compile; %.1f min (+%.1f min build "
              "and baseline), %.1f mutants/min" % (
                  n, k, s, t, len(apart), len(by.get("uncompiled", [])), h.seconds / 60, h.setup / 60,
                  n / (h.seconds / 60) if h.seconds else 0))
        for m, result, _, detail in by.get(C.TIMEOUT, []) + apart + by.get(C.SURVIVED, []):
            reason = equivalent.get((m.where(), m.op))
            print("  %-9s %s %s %s%s" % ("same" if reason else result, m.where(), m.op, m.change(),
                                         "  (" + (reason or detail) + ")" if reason or detail else ""))
    for h in halves:
        if h.fails:
            matrix(args, h)
    print("results: %s" % args.out)


def matrix(args, h):
    """Per test: the mutants it kills, and those that no other test kills."""
    path = os.path.splitext(args.out)[0] + ".matrix.tsv"
    by_test, alone = {}, {}
    with open(path, "w") as f:
        f.write("file\tline\top\ttests\n")
        for m, tests in h.fails.items():
            f.write("%s\t%d\t%s\t%s\n" % (m.path, m.line, m.op, ",".join(tests)))
            for t in tests:
                by_test[t] = by_test.get(t, 0) + 1
            if len(tests) == 1:
                alone[tests[0]] = alone.get(tests[0], 0) + 1
    print("\n== per test: mutants killed / killed by it alone (%s)" % path)
    for t in h.tests:
        by_test.setdefault(t, 0)
    for t in sorted(by_test, key=lambda t: (alone.get(t, 0), by_test[t])):
        print("  %4d %4d  %s" % (by_test[t], alone.get(t, 0), t))


def lines(tree):
    """Non-blank lines of the files git tracks, by area; images and other
    binary files are not counted."""
    files = subprocess.run(["git", "ls-files"], cwd=tree, capture_output=True, text=True,
                           check=True).stdout.split()
    areas = {"tests": 0, "product": 0, "other code": 0}
    for f in files:
        top = f.split("/")[0]
        area = ("tests" if top == "tests" else
                "product" if top in ("panel", "settings", "platform", "app") else
                "other code" if top in ("tools", "bench", "cmake", "CMakeLists.txt", ".ci") else None)
        with open(os.path.join(tree, f), "rb") as fh:
            data = fh.read()
        if area is None or b"\0" in data or f.endswith((".gif", ".bmp", ".ico", ".png")):
            continue
        areas[area] += sum(1 for ln in data.splitlines() if ln.strip())
    t, p = areas["tests"], areas["product"]
    print("non-blank lines: tests %d, product %d, other code %d; tests / product %.2f, "
          "tests / (tests + product) %.2f" % (t, p, areas["other code"], t / p, t / (t + p)))
    return 0


def esc(s):
    return s.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def unesc(s):
    return re.sub(r"\\(.)", lambda g: {"t": "\t", "n": "\n"}.get(g.group(1), g.group(1)), s)


def compare(old, new):
    def load(p):
        rows = {}
        with open(p) as f:
            next(f)
            for line in f:
                h, path, ln, col, op, result, _, before, after = line.rstrip("\n").split("\t")[:9]
                rows[(path, op, before, after, ln + ":" + col)] = result
        return rows
    a, b = load(old), load(new)
    for k in sorted(set(a) & set(b)):
        if a[k] != b[k]:
            print("%-10s -> %-10s %s:%s %s %s -> %s" % (a[k], b[k], k[0], k[4], k[1], k[2], k[3]))
    print("%d mutants in both, %d only in %s, %d only in %s" % (
        len(set(a) & set(b)), len(set(a) - set(b)), old, len(set(b) - set(a)), new))
    return 0


if __name__ == "__main__":
    sys.exit(main())
