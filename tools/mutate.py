#!/usr/bin/env python3
"""Mutation check: injects one known fault at a time into the sources, rebuilds
the test programs, runs them and reports which faults no test caught.

    python3 tools/mutate.py [--tree DIR] [--build DIR] [--only ID,...]
                            [--list FILE] [--report FILE] [--resume]
                            [--timeout SECONDS] [--no-baseline]

The faults live in tools/mutants.txt (beside this script unless --list is
given), one block per fault separated by blank lines:

    id: sign-gps-south
    cat: sign
    file: src/ops/GpsSentence.cpp
    from: if (hemisphere == 'S') value = -value;
    to: if (hemisphere == 'N') value = -value;

A snippet longer than one line goes on with lines that start with "| " (a
lone "|" is an empty line), after "from:"/"to:" or after their first line. Lines starting with
"#" outside a snippet are comments. The "from" text must occur exactly once in
its file; otherwise the fault is reported "stale" and not applied, so a later
change of the code never mutates the wrong place.

Every changed source is first copied to TREE/.mutate-backup and put back byte
for byte afterwards (also on Ctrl-C or SIGTERM). A backup left by a run that
was killed outright is restored at the next start, which then stops so that
the tree can be looked at before running again.

QM_MONKEY_EVENTS, when set in the environment, is passed to the test programs
and noted in the report.

Exit status: 0 when the check ran (whatever it found), 2 when it could not run.
"""

import argparse
import fcntl
import os
import re
import signal
import subprocess
import sys
import time

TOOL_DIR = os.path.dirname(os.path.abspath(__file__))
# Quick programs first: a fault is usually caught by the data-driven cases,
# and the window programs, which start Qt, come last.
PREFERRED_ORDER = ["cli_tests", "model_tests", "ops_tests", "kept_input_tests", "ui_tests", "monkey_tests"]
BACKUP_NAME = ".mutate-backup"
LOCK_NAME = ".mutate-lock"


class Interrupted(Exception):
    pass


class CannotRun(Exception):
    pass


# ---------------------------------------------------------------- the list

class Mutant:
    def __init__(self, fields, line):
        self.id = fields.get("id", "")
        self.cat = fields.get("cat", "other")
        self.file = fields.get("file", "")
        self.old = fields.get("from")
        self.new = fields.get("to")
        self.line = line


def parse_list(path):
    """Reads the fault list; raises CannotRun on a malformed block."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    mutants, fields, snippet_key, start = [], {}, None, 0

    def finish():
        if not fields:
            return
        m = Mutant(dict(fields), start)
        missing = [k for k in ("id", "file", "from", "to") if k not in fields]
        if missing:
            raise CannotRun("%s:%d: block without %s" % (path, start, ", ".join(missing)))
        if m.old == "":
            raise CannotRun("%s:%d: empty 'from' snippet" % (path, start))
        mutants.append(m)

    for number, raw in enumerate(lines, 1):
        if snippet_key is not None and (raw == "|" or raw.startswith("| ")):
            piece = raw[2:]
            fields[snippet_key] = piece if fields[snippet_key] is None else fields[snippet_key] + "\n" + piece
            continue
        if snippet_key is not None and fields[snippet_key] is None:
            raise CannotRun("%s:%d: '%s:' without a snippet" % (path, number - 1, snippet_key))
        snippet_key = None
        if raw.strip() == "":
            finish()
            fields = {}
            continue
        if raw.startswith("#"):
            continue
        m = re.match(r"^(id|cat|file|from|to|note):(?: (.*))?$", raw)
        if not m:
            raise CannotRun("%s:%d: cannot read line: %s" % (path, number, raw))
        if not fields:
            start = number
        key, value = m.group(1), m.group(2)
        if key in fields:
            raise CannotRun("%s:%d: '%s' given twice" % (path, number, key))
        if key in ("from", "to"):
            # An inline first line may go on with "| " lines.
            fields[key] = value if value else None
            snippet_key = key
        else:
            fields[key] = value or ""
    if snippet_key is not None and fields[snippet_key] is None:
        raise CannotRun("%s: '%s:' without a snippet at the end" % (path, snippet_key))
    finish()
    seen = set()
    for m in mutants:
        if m.id in seen:
            raise CannotRun("%s:%d: id %s used twice" % (path, m.line, m.id))
        seen.add(m.id)
    return mutants


def stale_reason(tree, m):
    """Why the fault cannot be applied to the tree as it is, or None."""
    path = os.path.join(tree, m.file)
    if not os.path.isfile(path):
        return "no such file"
    with open(path, "rb") as f:
        hits = f.read().decode("utf-8", "replace").count(m.old)
    return None if hits == 1 else "snippet found %d times" % hits


# ---------------------------------------------------------------- safe edits

class Tree:
    """Applies a fault and always puts the original bytes back."""

    def __init__(self, root):
        self.root = root
        self.backup = os.path.join(root, BACKUP_NAME)
        self.restoring = False
        self.pending_signal = None

    @staticmethod
    def _write(path, data):
        # Written in place (not replaced) so the file keeps its inode and mode.
        with open(path, "r+b") as f:
            f.write(data)
            f.truncate()
            f.flush()
            os.fsync(f.fileno())

    def recover_leftover(self):
        """Restores a backup left by a run that was killed; True if there was one."""
        if not os.path.exists(self.backup):
            return False
        with open(self.backup, "rb") as f:
            content = f.read()
        name, _, original = content.partition(b"\n")
        target = os.path.join(self.root, name.decode("utf-8"))
        if name and os.path.isfile(target):
            self._write(target, original)
            print("mutate: restored %s from %s left by an interrupted run" % (name.decode(), self.backup))
        os.unlink(self.backup)
        return True

    def apply(self, relpath, original, mutated):
        path = os.path.join(self.root, relpath)
        temp = self.backup + ".tmp"
        with open(temp, "wb") as f:
            f.write(relpath.encode("utf-8") + b"\n" + original)
            f.flush()
            os.fsync(f.fileno())
        os.replace(temp, self.backup)
        self._write(path, mutated)

    def restore(self, relpath, original):
        self.restoring = True
        try:
            path = os.path.join(self.root, relpath)
            with open(path, "rb") as f:
                current = f.read()
            if current != original:
                self._write(path, original)
            if os.path.exists(self.backup):
                os.unlink(self.backup)
        finally:
            self.restoring = False
        if self.pending_signal is not None:
            raise Interrupted("signal %d" % self.pending_signal)


# ---------------------------------------------------------------- processes

CHILD = {"proc": None}


def run_child(cmd, cwd, env, timeout, log_path=None):
    """Runs a command in its own process group; returns (status, output, timed_out)."""
    out = open(log_path, "wb") if log_path else subprocess.PIPE
    proc = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=out if log_path else subprocess.PIPE,
                            stderr=subprocess.STDOUT, start_new_session=True)
    CHILD["proc"] = proc
    try:
        try:
            data, _ = proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            kill_child()
            data, _ = proc.communicate()
            return None, (data or b"").decode("utf-8", "replace"), True
    finally:
        CHILD["proc"] = None
        if log_path:
            out.close()
    if log_path:
        with open(log_path, "rb") as f:
            data = f.read()
    return proc.returncode, (data or b"").decode("utf-8", "replace"), False


def kill_child():
    proc = CHILD["proc"]
    if proc is not None and proc.poll() is None:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass


# ---------------------------------------------------------------- build and suite

def test_programs(build):
    folder = os.path.join(build, "bin")
    found = []
    if os.path.isdir(folder):
        for name in os.listdir(folder):
            path = os.path.join(folder, name)
            if name.endswith("_tests") and os.path.isfile(path) and os.access(path, os.X_OK):
                found.append(name)
    known = [p for p in PREFERRED_ORDER if p in found]
    return known + sorted(p for p in found if p not in PREFERRED_ORDER)


def build_programs(build, programs, log_path):
    cmd = ["cmake", "--build", build, "--target"] + programs + ["-j2"]
    status, output, _ = run_child(cmd, None, os.environ.copy(), None, log_path)
    if status == 0:
        return True, ""
    errors = [l for l in output.splitlines() if " error: " in l or "error:" in l]
    return False, (errors[0].strip() if errors else "build failed (see %s)" % log_path)


FAILED_RE = re.compile(r"^\[  FAILED  \] (\S+)", re.M)


def run_suite(build, programs, timeout, env, log_path=None):
    """Runs the programs until one fails; returns None, ("failed", program,
    what failed) or ("no-compile", reason). With `log_path` each program is
    rebuilt just before it runs, so a fault the first program catches costs
    no link of the window programs."""
    cwd = os.path.join(build, "tests")
    if not os.path.isdir(cwd):
        cwd = build
    for program in programs:
        if log_path:
            ok, why = build_programs(build, [program], log_path)
            if not ok:
                return "no-compile", why
        cmd = [os.path.join(build, "bin", program), "--gtest_fail_fast", "--gtest_brief=1"]
        status, output, timed_out = run_child(cmd, cwd, env, timeout)
        if timed_out:
            return "failed", program, "timeout after %d s" % timeout
        if status != 0:
            failed = FAILED_RE.search(output)
            if failed:
                return "failed", program, failed.group(1).rstrip(",")
            if status < 0:
                return "failed", program, "crash (signal %d)" % -status
            return "failed", program, "exit status %d" % status
    return None


# ---------------------------------------------------------------- report

def one_line(text, limit=110):
    text = " ".join(text.split())
    return text if len(text) <= limit else text[:limit - 3] + "..."


class Report:
    def __init__(self, path, header):
        self.path = path
        self.header = header
        self.results = {}  # id -> (status, detail, seconds)

    def load(self, mutants):
        """Keeps the results of an earlier report for faults still in the list."""
        if not self.path or not os.path.exists(self.path):
            return
        ids = {m.id for m in mutants}
        with open(self.path, encoding="utf-8") as f:
            for line in f:
                parts = [p.strip() for p in line.rstrip("\n").split(" | ")]
                if len(parts) == 5 and parts[0] in ids and parts[2] in ("KILLED", "SURVIVED", "STALE", "NO-COMPILE"):
                    seconds = float(parts[4].rstrip("s")) if parts[4].rstrip("s").replace(".", "", 1).isdigit() else 0.0
                    self.results[parts[0]] = (parts[2], parts[3], seconds)

    def text(self, mutants, done, elapsed):
        rows = [m for m in mutants if m.id in self.results]
        count = lambda s: sum(1 for m in rows if self.results[m.id][0] == s)
        killed, survived, stale, broken = count("KILLED"), count("SURVIVED"), count("STALE"), count("NO-COMPILE")
        lines = list(self.header)
        lines.append("")
        lines.append("%d of %d faults done%s" % (len(rows), len(mutants), "" if done else " (run in progress)"))
        lines.append("counted: %d  killed: %d  survived: %d  stale: %d  did not compile: %d  wall time: %.0f s"
                     % (killed + survived, killed, survived, stale, broken, elapsed))
        lines.append("")
        lines.append("id | file | result | first failing test (program: test) or reason | seconds")
        for m in rows:
            status, detail, seconds = self.results[m.id]
            lines.append("%s | %s | %s | %s | %.0fs" % (m.id, m.file, status, detail, seconds))
        survivors = [m for m in rows if self.results[m.id][0] == "SURVIVED"]
        lines.append("")
        lines.append("Survivors (%d):" % len(survivors))
        for m in survivors:
            lines.append("  %s  %s" % (m.id, m.file))
            lines.append("      from: %s" % one_line(m.old))
            lines.append("      to:   %s" % one_line(m.new))
        stale_rows = [m for m in rows if self.results[m.id][0] == "STALE"]
        if stale_rows:
            lines.append("")
            lines.append("Stale (%d):" % len(stale_rows))
            for m in stale_rows:
                lines.append("  %s  %s: %s" % (m.id, m.file, self.results[m.id][1]))
        return "\n".join(lines) + "\n"

    def write(self, mutants, done, elapsed):
        text = self.text(mutants, done, elapsed)
        if self.path:
            temp = self.path + ".tmp"
            with open(temp, "w", encoding="utf-8") as f:
                f.write(text)
            os.replace(temp, self.path)
        return text


# ---------------------------------------------------------------- main

def main(argv):
    ap = argparse.ArgumentParser(description="Inject one fault at a time and run the test programs.")
    ap.add_argument("--tree", default=os.path.dirname(TOOL_DIR), help="checkout to mutate (default: this script's)")
    ap.add_argument("--build", help="configured build folder (default: TREE/build)")
    ap.add_argument("--only", help="comma-separated fault ids to run")
    ap.add_argument("--list", default=os.path.join(TOOL_DIR, "mutants.txt"), help="fault list")
    ap.add_argument("--report", help="report file, rewritten after every fault")
    ap.add_argument("--resume", action="store_true", help="keep the results already in --report and run the rest")
    ap.add_argument("--timeout", type=int, default=300, help="seconds per test program (default 300)")
    ap.add_argument("--no-baseline", action="store_true", help="skip running the suite on the unmutated tree")
    ap.add_argument("--check", action="store_true", help="only read the list and report stale faults; build nothing")
    args = ap.parse_args(argv)

    tree = os.path.abspath(args.tree)
    build = os.path.abspath(args.build or os.path.join(tree, "build"))
    if not os.path.isdir(os.path.join(tree, "src")):
        raise CannotRun("%s is not a checkout (no src/)" % tree)
    if not os.path.isfile(os.path.join(build, "CMakeCache.txt")):
        raise CannotRun("%s is not a configured build folder" % build)
    mutants = parse_list(args.list)
    if args.only:
        wanted = [w.strip() for w in args.only.split(",") if w.strip()]
        unknown = [w for w in wanted if w not in {m.id for m in mutants}]
        if unknown:
            raise CannotRun("unknown fault id(s): %s" % ", ".join(unknown))
        mutants = [m for m in mutants if m.id in wanted]

    if args.check:
        stale = 0
        for m in mutants:
            why = stale_reason(tree, m)
            if why:
                stale += 1
                print("stale: %s  %s: %s" % (m.id, m.file, why))
        cats = {}
        for m in mutants:
            cats[m.cat] = cats.get(m.cat, 0) + 1
        print("%d faults, %d stale; by kind: %s" % (len(mutants), stale,
              ", ".join("%s %d" % kv for kv in sorted(cats.items()))))
        return 0

    # One run per checkout and build at a time; the lock also keeps a second
    # run from taking the first one's backup for a leftover.
    lock = open(os.path.join(build, LOCK_NAME), "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except OSError:
        raise CannotRun("another mutation run holds %s" % os.path.join(build, LOCK_NAME))

    t = Tree(tree)
    if t.recover_leftover():
        raise CannotRun("a previous run was interrupted; its change is undone now (check `git status`), run again")

    def on_signal(signum, _frame):
        kill_child()
        if t.restoring:
            t.pending_signal = signum
        else:
            raise Interrupted("signal %d" % signum)

    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGTERM, on_signal)

    env = os.environ.copy()
    env["QT_QPA_PLATFORM"] = "offscreen"
    monkey = env.get("QM_MONKEY_EVENTS")
    log_dir = os.path.join(build, "mutate-logs")
    os.makedirs(log_dir, exist_ok=True)
    build_log = os.path.join(log_dir, "build.log")

    started = time.time()
    programs = test_programs(build)
    if not programs:
        programs = list(PREFERRED_ORDER)  # a fresh build folder: build them first
    ok, why = build_programs(build, programs, build_log)
    if not ok:
        raise CannotRun("the unchanged tree does not build: %s" % why)
    programs = test_programs(build)
    header = [
        "Mutation check of %s (build %s), list %s" % (tree, build, args.list),
        "started %s UTC; programs in order: %s" % (time.strftime("%Y-%m-%d %H:%M", time.gmtime(started)), ", ".join(programs)),
        "each run with --gtest_fail_fast --gtest_brief=1, QT_QPA_PLATFORM=offscreen, timeout %d s per program, QM_MONKEY_EVENTS=%s"
        % (args.timeout, monkey if monkey else "(program default)"),
    ]
    if not args.no_baseline:
        t0 = time.time()
        failed = run_suite(build, programs, args.timeout, env)
        if failed:
            raise CannotRun("the unchanged tree fails its own suite: %s: %s" % failed[1:])
        header.append("suite on the unchanged tree: passes in %.0f s" % (time.time() - t0))

    report = Report(args.report, header)
    if args.resume:
        report.load(mutants)
    report.write(mutants, False, time.time() - started)

    for index, m in enumerate(mutants, 1):
        if m.id in report.results:
            continue
        t0 = time.time()
        path = os.path.join(tree, m.file)
        status, detail = None, ""
        why = stale_reason(tree, m)
        if why:
            status, detail = "STALE", why
        else:
            with open(path, "rb") as f:
                original = f.read()
            text = original.decode("utf-8")
            mutated = text.replace(m.old, m.new, 1).encode("utf-8")
            try:
                t.apply(m.file, original, mutated)
                outcome = run_suite(build, programs, args.timeout, env, os.path.join(log_dir, "build-%s.log" % m.id))
                if outcome is None:
                    status, detail = "SURVIVED", "no test failed"
                elif outcome[0] == "no-compile":
                    status, detail = "NO-COMPILE", outcome[1]
                else:
                    status, detail = "KILLED", "%s: %s" % outcome[1:]
            finally:
                t.restore(m.file, original)
        report.results[m.id] = (status, one_line(detail, 160), time.time() - t0)
        print("[%d/%d] %s %s  %s (%.0f s)" % (index, len(mutants), m.id, status, detail, time.time() - t0), flush=True)
        report.write(mutants, False, time.time() - started)

    # Leave the build folder matching the unchanged sources.
    ok, why = build_programs(build, programs, build_log)
    if not ok:
        print("mutate: warning: the restored tree did not rebuild: %s" % why, file=sys.stderr)
    text = report.write(mutants, True, time.time() - started)
    print(text)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except CannotRun as e:
        print("mutate: cannot run: %s" % e, file=sys.stderr)
        sys.exit(2)
    except (Interrupted, KeyboardInterrupt) as e:
        print("mutate: interrupted (%s); the source is restored" % e, file=sys.stderr)
        sys.exit(2)
