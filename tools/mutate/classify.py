"""What one run of a gtest program on a mutant shows: which named test failed
or crashed, whether the program started its tests at all, whether it ran out
of time. Pure functions of the output, so they can be checked on canned text.
"""

import re
from dataclasses import dataclass, field

BANNER = re.compile(r"\[==========\] Running \d+ tests?")
RUN = re.compile(r"\[ RUN      \] (\S+)")
END = re.compile(r"\[ +(OK|FAILED|SKIPPED) +\] (\S+?)(?:,.*)? \(\d+ ms\)")  # ", where GetParam() = 3"

# What a run on a mutant is recorded as. Only "killed" and "survived" make the
# ratio; "timeout" makes the second ratio; the rest are listed apart.
KILLED, SURVIVED, TIMEOUT = "killed", "survived", "timeout"
NOSTART = "nostart"    # the gtest banner never printed (Wine, Xvfb, or a crash before main)
UNNAMED = "unnamed"    # a failing exit that no test passing on the unmutated build explains
FLAKY = "flaky"        # the killing test failed again on the unmutated build


@dataclass
class Parsed:
    banner: bool = False
    passed: list = field(default_factory=list)
    failed: list = field(default_factory=list)
    unfinished: str = ""   # started and never ended: the program died (or hung) in it


def parse(output):
    p = Parsed(banner=bool(BANNER.search(output)))
    started = []
    ended = set()
    for line in output.replace("\r", "").split("\n"):
        m = RUN.search(line)
        if m:
            started.append(m.group(1))
            continue
        m = END.search(line)
        if m:
            name = m.group(2)
            ended.add(name)
            if m.group(1) == "OK":
                p.passed.append(name)
            elif m.group(1) == "FAILED" and name not in p.failed:
                p.failed.append(name)
    unfinished = [t for t in started if t not in ended]
    if unfinished:
        p.unfinished = unfinished[-1]
    return p


def timed_out(rc, seconds, limit):
    """The limit was reached: 124 from sh(), 124 or 137 from `timeout -k`, a
    SIGKILL, or any other status once the run took the whole limit."""
    return rc == 124 or (limit is not None and seconds >= limit)


def classify(rc, output, baseline, ran_out=False):
    """(result, detail, test) for one run. `baseline`: the tests that passed on
    the unmutated build; only one of them failing or crashing kills."""
    p = parse(output)
    for name in p.failed:
        if name in baseline:
            return KILLED, "killed by %s" % name, name
    if p.unfinished and not ran_out and rc != 0 and p.unfinished in baseline:
        return KILLED, "killed by %s (crashed, exit status %d)" % (p.unfinished, rc), p.unfinished
    if ran_out:
        return TIMEOUT, "timeout%s" % (" in " + p.unfinished if p.unfinished else ""), None
    if not p.banner:
        return NOSTART, "no test started (exit status %d)" % rc, None
    if rc == 0 and not p.failed:
        return SURVIVED, "", None
    others = p.failed + ([p.unfinished] if p.unfinished else [])
    if others:
        return UNNAMED, "exit status %d; %s did not pass on the unmutated build" % (rc, ", ".join(others)), None
    return UNNAMED, "exit status %d after every test passed" % rc, None


def passed_once(output, name):
    """The confirming run on the unmutated build: `name` ran and passed."""
    p = parse(output)
    return name in p.passed and name not in p.failed
