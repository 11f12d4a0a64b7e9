#!/usr/bin/env python3
"""Runs the batch tool examples of the documentation, so that they keep
running as written.

    python3 tools/check_doc_commands.py BIN_DIR [DOC.md ...]

BIN_DIR holds the built quillmere-cli (build/bin). Without DOC arguments the
checker reads README.md and docs/*.md of the checkout that holds it.

What counts as an example, and how it runs (docs/developer-guide.md,
"Commands in the documentation"):

- A fenced block opened with ```sh (or ```bash, ```shell) that holds at least
  one quillmere-cli command is an example block: every line is a command. In
  a ```console block, a transcript, the lines after a "$ " prompt are the
  commands and the other lines what they print (not compared). A synopsis
  with [OPTIONS] goes in a ```text block, which is never run.
- Every command of an example block runs, in order, in one bash shell per
  document, as a reader would type them from the repository root with
  build/bin on the PATH: the shell starts in a scratch folder that holds a
  copy of the checkout's data/ (the samples and the channel type tables) and
  a link build/bin to BIN_DIR, and BIN_DIR leads the PATH. So
  `quillmere-cli data/samples/sample-older.cpt --info` runs as written, and
  so does `build/bin/quillmere-cli build/bin/samples/sample-older.cpt --info`.
- A command must exit with status 0, unless it ends in a comment that
  starts with `# exits N` (a reason may follow): then it must exit with
  exactly N. That is how an example of a refusal is written.
- A quillmere-cli command in an indented code block is an error: it would
  never be run, so it could go stale unseen.
- Links are followed too: a link to an anchor that no heading of its page
  makes, or to a missing picture, is an error; a link to a missing page is
  a warning.

Exit status 0 when every example ran as documented, 1 when one did not (the
command, its place and its output are printed), 2 for a usage error.
"""

import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

RUN_LANGUAGES = {"sh", "bash", "shell"}
EXITS = re.compile(r"#\s*exits\s+(\d+)\b")
FENCE = re.compile(r"^(\s*)(```+|~~~+)\s*([^\s`]*)")
# One document's examples together may take this long.
DOCUMENT_TIMEOUT_SECONDS = 120


def is_tool_command(command):
    """True when the command's program, after any VAR=value words, is the
    batch tool (by name or by a path ending in it)."""
    try:
        words = shlex.split(command, comments=True)
    except ValueError:
        words = command.split()
    for word in words:
        if re.match(r"^[A-Za-z_][A-Za-z0-9_]*=", word):
            continue
        return word == "quillmere-cli" or word.endswith("/quillmere-cli")
    return False


def join_continued(lines, prompted):
    """(first line number, command text) for each command of a block; a line
    ending in a backslash goes on on the next one. In a transcript
    (`prompted`) only lines after a "$ " prompt are commands, the others
    are what they print."""
    commands, current, start = [], [], None
    for number, line in lines:
        if not current:
            if prompted:
                if not line.startswith("$ "):
                    continue
                line = line[2:]
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            start = number
        current.append(line)
        if not line.rstrip().endswith("\\"):
            commands.append((start, "\n".join(current)))
            current = []
    if current:
        commands.append((start, "\n".join(current)))
    return commands


def read_examples(path):
    """The commands of the example blocks of one document, and the places of
    tool commands in indented blocks."""
    lines = path.read_text(encoding="utf-8").splitlines()
    examples, stray = [], []
    index = 0
    previous_blank, in_indented = True, False
    while index < len(lines):
        line = lines[index]
        fence = FENCE.match(line)
        if fence:
            indent, marker, language = fence.groups()
            block = []
            index += 1
            while index < len(lines) and not lines[index].strip().startswith(marker):
                text = lines[index]
                block.append((index + 1, text[len(indent):] if text.startswith(indent) else text.lstrip()))
                index += 1
            index += 1
            prompted = language.lower() == "console"
            commands = join_continued(block, prompted)
            if (prompted or language.lower() in RUN_LANGUAGES) and any(is_tool_command(c) for _, c in commands):
                examples.extend(commands)
            previous_blank, in_indented = False, False
            continue
        # An indented code block: lines of four spaces after a blank line.
        if line.startswith("    ") and (previous_blank or in_indented):
            in_indented = True
            if is_tool_command(line.strip().removeprefix("$ ")):
                stray.append(index + 1)
        elif line.strip():
            in_indented = False
        previous_blank = not line.strip()
        index += 1
    return examples, stray


def expected_status(command):
    match = EXITS.search(command.splitlines()[-1])
    return int(match.group(1)) if match else 0


def script_for(examples, logs):
    """One bash script that runs the commands in order and writes each one's
    status; outputs go to a file per command."""
    parts = ["exec </dev/null"]
    for number, (_, command) in enumerate(examples):
        log = logs / f"{number}.out"
        parts.append(f"{{\n{command}\n}} >{shlex.quote(str(log))} 2>&1")
        parts.append(f"echo \"{number} $?\" >>{shlex.quote(str(logs / 'status'))}")
    return "\n".join(parts) + "\n"


def run_document(doc, examples, bin_dir, data_dir):
    failures = []
    with tempfile.TemporaryDirectory(prefix="doc-commands-") as scratch:
        root = Path(scratch) / "repo"
        logs = Path(scratch) / "logs"
        logs.mkdir()
        shutil.copytree(data_dir, root / "data")
        (root / "build").mkdir()
        (root / "build" / "bin").symlink_to(bin_dir)
        env = dict(os.environ)
        env["PATH"] = f"{bin_dir}{os.pathsep}{env.get('PATH', '')}"
        env.setdefault("QT_QPA_PLATFORM", "offscreen")
        script = logs / "examples.sh"
        script.write_text(script_for(examples, logs), encoding="utf-8")
        shell_said = ""
        try:
            shell_said = subprocess.run(["bash", str(script)], cwd=root, env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE, text=True, errors="replace",
                                        timeout=DOCUMENT_TIMEOUT_SECONDS, check=False).stderr
        except subprocess.TimeoutExpired:
            failures.append(f"{doc}: the examples took more than {DOCUMENT_TIMEOUT_SECONDS} s")
        statuses = {}
        status_file = logs / "status"
        if status_file.exists():
            for entry in status_file.read_text().split("\n"):
                if entry:
                    number, status = entry.split()
                    statuses[int(number)] = int(status)
        for number, (line, command) in enumerate(examples):
            want = expected_status(command)
            got = statuses.get(number)
            if got == want:
                continue
            output_file = logs / f"{number}.out"
            output = output_file.read_text(errors="replace") if output_file.exists() else ""
            said = "did not run" if got is None else f"exited with {got}"
            if got is None and shell_said:
                output = "(the shell) " + shell_said.replace(str(script), "examples")
            failures.append(f"{doc}:{line}: {said}, the documentation expects {want}:\n"
                            f"    {command}\n" + "".join(f"  | {l}\n" for l in output.splitlines()[-15:]))
    return failures


def heading_anchors(path):
    """The anchors of a document's headings, as the repository's web view
    makes them: lower case, punctuation dropped, blanks as hyphens, a
    repeated heading numbered."""
    anchors, seen = set(), {}
    text = re.sub(r"^(```|~~~).*?^\1", "", path.read_text(encoding="utf-8"), flags=re.S | re.M)
    for heading in re.findall(r"^#{1,6}\s+(.*?)\s*#*\s*$", text, flags=re.M):
        anchor = re.sub(r"[^\w\- ]", "", heading.lower()).replace(" ", "-")
        count = seen.get(anchor, 0)
        seen[anchor] = count + 1
        anchors.add(anchor if count == 0 else f"{anchor}-{count}")
    return anchors


def check_links(doc):
    """(failures, warnings) of the links of a document: an anchor that no
    heading has and a missing picture fail; a missing page only warns, as
    pages of the documentation may arrive from other work."""
    failures, warnings = [], []
    text = doc.read_text(encoding="utf-8")
    text = re.sub(r"^(\s*)(```|~~~).*?^\1\2", "", text, flags=re.S | re.M)
    text = re.sub(r"`[^`\n]*`", "", text)
    targets = re.findall(r"\]\(([^)\s]+)\)", text) + re.findall(r"<img[^>]*\ssrc=\"([^\"]+)\"", text)
    for target in targets:
        if re.match(r"^[a-z]+:", target):
            continue
        path, _, anchor = target.partition("#")
        file = (doc.parent / path).resolve() if path else doc.resolve()
        if not file.exists():
            if file.suffix.lower() in (".png", ".svg", ".jpg", ".gif"):
                failures.append(f"{doc}: the picture {target} is missing")
            else:
                warnings.append(f"{doc}: {target} is not in this checkout")
            continue
        if anchor and file.suffix == ".md" and anchor not in heading_anchors(file):
            failures.append(f"{doc}: no heading of {path or doc.name} makes the anchor #{anchor}")
    return failures, warnings


def main(argv):
    if len(argv) < 2 or argv[1] in ("-h", "--help"):
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    checkout = Path(__file__).resolve().parent.parent
    bin_dir = Path(argv[1]).resolve()
    if not (bin_dir / "quillmere-cli").exists():
        print(f"check_doc_commands: no quillmere-cli in {bin_dir}", file=sys.stderr)
        return 2
    docs = [Path(a) for a in argv[2:]] or [checkout / "README.md", *sorted((checkout / "docs").glob("*.md"))]
    failures, ran = [], 0
    for doc in docs:
        broken, missing = check_links(doc)
        failures.extend(broken)
        for warning in missing:
            print(f"check_doc_commands: warning: {warning}", file=sys.stderr)
        examples, stray = read_examples(doc)
        for line in stray:
            failures.append(f"{doc}:{line}: a quillmere-cli command in an indented block is never run: "
                            "put it in a ```sh block (or a ```text block if it is a synopsis)")
        if examples:
            failures.extend(run_document(doc, examples, bin_dir, checkout / "data"))
            ran += len(examples)
    for failure in failures:
        print(f"check_doc_commands: {failure}", file=sys.stderr)
    if ran == 0:
        print("check_doc_commands: no examples found in " + ", ".join(map(str, docs)), file=sys.stderr)
        return 1
    if failures:
        return 1
    print(f"check_doc_commands: {ran} commands of {len(docs)} documents ran as documented")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
