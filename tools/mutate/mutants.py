"""Mutants of C++ source text: where they go and what they change.

Every operator works on a mask of the file in which comments, string and
character literals and preprocessor lines are blanked out (same length, same
line breaks), so a mutant never touches a string, a comment or an #include.
An edit never adds or removes a line break: line numbers stay those of the
original file.
"""

import os
import re
from dataclasses import dataclass

ROOTS = ("panel", "settings", "platform", "app")
SUFFIXES = (".cpp", ".h")


@dataclass(frozen=True)
class Mutant:
    path: str      # relative to the tree, with forward slashes
    offset: int    # where `before` starts in the original text
    line: int
    column: int
    op: str        # ror, const, drop, logic, negate, return
    before: str
    after: str

    def key(self):
        return (self.path, self.offset, self.op, self.after)

    def key6(self):
        """As a results file names it."""
        return (self.path, self.line, self.column, self.op, self.before, self.after)

    def apply(self, text):
        assert text[self.offset:self.offset + len(self.before)] == self.before
        return text[:self.offset] + self.after + text[self.offset + len(self.before):]

    def where(self):
        """file:line:column, the column counted from 1."""
        return "%s:%d:%d" % (self.path, self.line, self.column)

    def change(self):
        return "%s -> %s" % (_one_line(self.before), _one_line(self.after))


def _one_line(s):
    s = " ".join(s.split())
    return s if len(s) <= 70 else s[:67] + "..."


def discover(tree):
    """Product sources under ROOTS, sorted, as relative paths."""
    found = []
    for root in ROOTS:
        top = os.path.join(tree, root)
        for folder, dirs, files in os.walk(top):
            dirs.sort()
            for name in files:
                if name.endswith(SUFFIXES):
                    found.append(os.path.relpath(os.path.join(folder, name), tree).replace(os.sep, "/"))
    return sorted(found)


def mask(text):
    """`text` with comments, literals and preprocessor lines replaced by spaces."""
    out = list(text)
    i, n = 0, len(text)
    line_start = True

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if line_start and c == "#":
            j = i
            while j < n:  # a directive runs to an unescaped line break
                if text[j] == "\n" and text[j - 1] != "\\":
                    break
                j += 1
            blank(i, j)
            i = j
            continue
        if c == "\n":
            line_start = True
            i += 1
            continue
        if c in " \t":
            i += 1
            continue
        line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not _ident(text[i - 1])) or (
                c in "uUL8" and re.match(r'(u8|u|U|L)R"', text[i:i + 4]) and (i == 0 or not _ident(text[i - 1]))):
            q = text.index('"', i)
            p = text.index("(", q)
            end = ")" + text[q + 1:p] + '"'
            j = text.find(end, p)
            j = n if j < 0 else j + len(end)
            blank(i, j)
            i = j
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum() and _in_number(text, i):
                i += 1  # digit separator: 1'000
                continue
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            k = i  # a prefix (L"", u8"") goes with the literal
            while k > 0 and text[k - 1] in "uUL8" and (k - 1 == 0 or not _ident(text[k - 2])) and i - k < 2:
                k -= 1
            blank(k, j)
            i = j
        else:
            i += 1
    return "".join(out)


def _ident(c):
    return c.isalnum() or c == "_"


def _in_number(text, i):
    k = i - 1
    while k >= 0 and (_ident(text[k]) or text[k] == "'"):
        k -= 1
    return text[k + 1].isdigit()


def _line_of(text, offset):
    return text.count("\n", 0, offset) + 1


# ---- the operators -------------------------------------------------------

_ROR = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}


def _relational(m):
    # == != <= >= anywhere; a lone < or > only with spaces on both sides,
    # which keeps out templates, casts, -> and << >>.
    for x in re.finditer(r"(?<![<>=!])(==|!=|<=|>=)(?![=>])|(?<=\s)(<|>)(?=\s)", m):
        if m[max(0, x.start() - 9):x.start()].rstrip().endswith("operator"):
            continue
        tok = x.group(0)
        yield x.start(), "ror", tok, _ROR[tok]


def _constants(m):
    for x in re.finditer(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])", m):
        digits, suffix = x.group(1), x.group(2)
        value = int(digits, 16) if digits[:2] in ("0x", "0X") else int(digits)
        if digits[0] == "0" and len(digits) > 1 and digits[1] not in "xX":
            continue  # octal: rare, leave it
        for delta in (1, -1):
            v = value + delta
            if v < 0:
                if suffix:
                    continue
                new = "-1"
            elif digits[:2] in ("0x", "0X"):
                new = digits[:2] + ("%0*X" % (len(digits) - 2, v) if digits[2:].upper() == digits[2:]
                                    else "%0*x" % (len(digits) - 2, v))
            else:
                new = str(v)
            yield x.start(), "const", digits + suffix, new + suffix


def _logical(m):
    for x in re.finditer(r"(?<=\s)(&&|\|\|)(?=\s)", m):
        yield x.start(), "logic", x.group(0), "||" if x.group(0) == "&&" else "&&"


def _close(m, open_at):
    """Offset of the bracket that closes the one at `open_at`, or -1."""
    pairs = {"(": ")", "{": "}", "[": "]"}
    want = pairs[m[open_at]]
    depth = 0
    for k in range(open_at, len(m)):
        if m[k] == m[open_at]:
            depth += 1
        elif m[k] == want:
            depth -= 1
            if depth == 0:
                return k
    return -1


def _negations(m, text):
    for x in re.finditer(r"\b(if|while)\s*\(", m):
        if re.match(r"if\s+constexpr", m[x.start():]):
            continue
        p = x.end() - 1
        q = _close(m, p)
        if q < 0:
            continue
        cond = text[p:q + 1]
        yield p, "negate", cond, "(!" + cond + ")"


_NOT_A_FUNCTION = {"if", "while", "for", "switch", "catch", "return", "sizeof", "decltype"}


def _blocks(m):
    """(offset of '{', kind) for every brace: 'function', 'block' or 'other'."""
    found = []
    for x in re.finditer(r"\{", m):
        head = m[:x.start()].rstrip()
        head = re.sub(r"(\b(const|override|noexcept|final)\b\s*)+$", "", head).rstrip()
        kind = "other"
        if head.endswith(")"):
            depth, k = 0, len(head) - 1
            while k >= 0:  # back to the '(' that matches
                if head[k] == ")":
                    depth += 1
                elif head[k] == "(":
                    depth -= 1
                    if depth == 0:
                        break
                k -= 1
            name = re.search(r"([~\w:]+)\s*$", head[:k])
            before = head[:k].rstrip()
            if name and name.group(1) not in _NOT_A_FUNCTION and not before.endswith("]"):
                kind = "function"
            else:
                kind = "block"
        elif re.search(r"(\belse|\bdo|\btry|;|\{|\}|:)$", head) and not re.search(r"\b(namespace|struct|class|enum|union)\b[^;{}()]*$", head):
            kind = "block" if not head.endswith(":") or re.search(r"\b(case\s+[^:]+|default):$", head) else "other"
        found.append((x.start(), kind, head))
    return found


def _early_returns(m, text):
    blocks = _blocks(m)
    for at, kind, head in blocks:
        if kind != "function":
            continue
        if _enclosing_function(blocks, m, at):
            continue  # a lambda or local class: leave it
        k = head.rfind("(")
        depth = 0
        for k in range(len(head) - 1, -1, -1):  # the parameter list's '('
            if head[k] == ")":
                depth += 1
            elif head[k] == "(":
                depth -= 1
                if depth == 0:
                    break
        decl = re.split(r"[;{}]", head[:k])[-1]
        name = re.search(r"([~\w:]+)\s*$", decl).group(1)
        parts = name.split("::")
        ctor = "~" in name or (len(parts) > 1 and parts[-1] == parts[-2])
        if re.search(r"(^|[^\w])\)\s*:\s*\w", decl + ")"):
            ctor = True
        void = re.search(r"\bvoid\b(?!\s*\*)", decl[:decl.rfind(name)]) is not None
        if not (ctor or void or decl[:decl.rfind(name)].strip()):
            continue  # no return type in sight: a macro or a call, not a definition
        stmt = "return;" if (ctor or void) else "return {};"
        yield at, "return", "{", "{ " + stmt


def _enclosing_function(blocks, m, at):
    for start, kind, _ in blocks:
        if start >= at:
            break
        if kind == "function" and _close(m, start) > at:
            return True
    return False


_NO_DROP = re.compile(r"(return|break|continue|case|default|goto|using|typedef|namespace|struct|class|"
                      r"enum|template|static_assert|public|private|protected|else|do|throw)\b")
_DECLARATION = re.compile(r"((static|const|constexpr|unsigned|signed|long|short|auto)\s+)*[A-Za-z_][\w:]*\s*"
                          r"(<[^;()]*>)?(\s+const)?([\s*&]+[A-Za-z_]\w*)+\s*(=|;|\(|\{|\[)")


def _drops(m, text):
    blocks = _blocks(m)
    innermost = []
    for at, kind, _ in blocks:
        innermost.append((at, _close(m, at), kind))
    lines = m.split("\n")
    offset = 0
    prev_end = "{"
    for line in lines:
        code = line.strip()
        start = offset + (len(line) - len(line.lstrip()))
        offset += len(line) + 1
        if not code:
            continue
        ok = (code.endswith(";") and prev_end in ";{}:" and not _NO_DROP.match(code)
              and not _DECLARATION.match(code) and code.count("(") == code.count(")")
              and code.count("{") == code.count("}") and code[0] not in "{}")
        prev_end = code[-1]
        if not ok:
            continue
        inside = [k for a, b, k in innermost if a < start < b]
        if not inside or inside[-1] == "other" or "function" not in inside:
            continue
        end = start + len(code)
        yield start, "drop", text[start:end], ""


def mutants_of(tree, path):
    with open(os.path.join(tree, path), encoding="utf-8", errors="surrogateescape") as f:
        text = f.read()
    m = mask(text)
    found = []
    for gen in (_relational(m), _constants(m), _logical(m), _negations(m, text),
                _early_returns(m, text), _drops(m, text)):
        for offset, op, before, after in gen:
            if text[offset:offset + len(before)] != before:
                continue
            column = offset - text.rfind("\n", 0, offset)
            found.append(Mutant(path, offset, _line_of(text, offset), column, op, before, after))
    return sorted(set(found), key=Mutant.key)


# ---- which half a file belongs to ----------------------------------------

def is_windows_only(path):
    """Anything under a win/ folder builds only for Windows."""
    return "win" in path.split("/")[:-1]
