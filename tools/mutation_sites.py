"""Where the mutation check can put a fault, and how it puts one there (tools/mutate.py).

A fault is a dict: file (relative to the repository), line, column, old text, new text, kind.
"""
import hashlib
import os
import re

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ("app", "button", "skin", "core")
# The per-pixel region builder is the tests' yardstick, not part of the program; the button's
# sample is a program of its own, built against the installed library by a test of its own.
SKIPPED = ("skin/skin_region_reference.cpp", "skin/skin_region_reference.h", "button/sample/")

FLIPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
# Binary operators stand between spaces in this code base (clang-format); template brackets,
# arrows and shifts never do.
COMPARISON = re.compile(r"(?<= )(<=|>=|==|!=|<|>)(?= )")
LOGICAL = re.compile(r"(?<= )(&&|\|\|)(?= )")
NUMBER = re.compile(r"(?<![\w.'])(0[xX][0-9A-Fa-f]+|\d+)(?![\w.'])")
RETURN_TRUTH = re.compile(r"\breturn (true|false);")
DECLARATION = re.compile(
    r"^(const |constexpr |static |using |typedef |struct |class |enum |template|friend |"
    r"extern |inline |namespace |virtual |explicit |return [^;])")
# `Type name ...;`: a declaration, whose removal only breaks the build.
TYPED_NAME = re.compile(r"^(?!(return|delete|throw|else|goto)\b)[A-Za-z_][\w:]*(<.*>)?[*&]*\s+[*&]*[A-Za-z_]")


def masked_lines(text):
    """The lines of a C++ source with comments blanked and the insides of string and character
    literals replaced by underscores, so that columns stay where they were."""
    out, in_block = [], False
    for line in text.split("\n"):
        chars, i, quote = list(line), 0, None
        while i < len(chars):
            c = chars[i]
            nxt = chars[i + 1] if i + 1 < len(chars) else ""
            if in_block:
                if c == "*" and nxt == "/":
                    chars[i] = chars[i + 1] = " "
                    in_block = False
                    i += 2
                    continue
                chars[i] = " "
            elif quote:
                if c == "\\":
                    chars[i] = "_"
                    if i + 1 < len(chars):
                        chars[i + 1] = "_"
                    i += 2
                    continue
                if c == quote:
                    quote = None
                else:
                    chars[i] = "_"
            elif c == "/" and nxt == "/":
                for j in range(i, len(chars)):
                    chars[j] = " "
                break
            elif c == "/" and nxt == "*":
                chars[i] = chars[i + 1] = " "
                in_block = True
                i += 2
                continue
            elif c in "\"'":
                # A digit separator or a character literal; only the latter opens a literal.
                if not (c == "'" and i > 0 and chars[i - 1].isalnum()):
                    quote = c
            i += 1
        out.append("".join(chars))
    return out


def balanced(code):
    return all(code.count(a) == code.count(b) for a, b in ("()", "[]", "{}"))


def candidates(relative, text):
    """Every fault that can go into one file: (line, column, old, new, kind)."""
    found = []
    lines = masked_lines(text)
    previous = ""
    for number, code in enumerate(lines, start=1):
        stripped = code.strip()
        if not stripped:
            continue
        if stripped.startswith("#"):
            previous = ""
            continue
        for match in COMPARISON.finditer(code):
            old = match.group(1)
            found.append((number, match.start(), old, FLIPS[old], "comparison"))
        for match in LOGICAL.finditer(code):
            old = match.group(1)
            found.append((number, match.start(), old, "||" if old == "&&" else "&&", "logical"))
        for match in NUMBER.finditer(code):
            literal = match.group(1)
            value = int(literal, 16) if literal[:2] in ("0x", "0X") else int(literal)
            # The direction is a fixed property of the place, so that the sample is repeatable.
            digest = hashlib.sha1(f"{relative}:{number}:{match.start()}".encode()).digest()
            changed = value + 1 if value == 0 or digest[0] % 2 else value - 1
            new = (literal[:2] + format(changed, "X")) if literal[:2] in ("0x", "0X") else str(changed)
            found.append((number, match.start(), literal, new, "number"))
        for match in RETURN_TRUTH.finditer(code):
            old = match.group(1)
            found.append((number, match.start(1), old, "false" if old == "true" else "true",
                          "return"))
        # A whole statement on its own line, after the end of another one (so that removing it
        # never hands the next statement to an `if` or `else`).
        if (stripped.endswith(";") and balanced(stripped) and not DECLARATION.match(stripped) and not TYPED_NAME.match(stripped)
                and not stripped.startswith(("}", "case ", "default:", "public:", "private:"))
                and previous.endswith((";", "{", "}", ":"))):
            found.append((number, 0, stripped, "", "statement"))
        previous = stripped
    return found


def all_candidates():
    result = []
    for folder in FOLDERS:
        for base, _, files in sorted(os.walk(os.path.join(ROOT, folder))):
            for name in sorted(files):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(base, name)
                relative = os.path.relpath(path, ROOT)
                if relative.startswith(SKIPPED):
                    continue
                with open(path, encoding="utf-8") as f:
                    text = f.read()
                for line, column, old, new, kind in candidates(relative, text):
                    result.append({"file": relative, "line": line, "column": column, "old": old,
                                   "new": new, "kind": kind})
    return result


def apply(text, mutant):
    lines = text.split("\n")
    line = lines[mutant["line"] - 1]
    if mutant["kind"] == "statement":
        lines[mutant["line"] - 1] = ""
    else:
        column, old = mutant["column"], mutant["old"]
        assert line[column:column + len(old)] == old, (mutant, line)
        lines[mutant["line"] - 1] = line[:column] + mutant["new"] + line[column + len(old):]
    return "\n".join(lines)


def describe(mutant):
    if mutant["kind"] == "statement":
        return f"removed `{mutant['old']}`"
    return f"`{mutant['old']}` -> `{mutant['new']}`"
