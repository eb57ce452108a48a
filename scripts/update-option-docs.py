#!/usr/bin/env python3
"""Rewrites the option lists of the manual page and of the help page from the
converter's one options table (cli/options.cpp), so the three never disagree."""
import html
import pathlib
import re

root = pathlib.Path(__file__).resolve().parent.parent
table = (root / "cli/options.cpp").read_text()
options = [(m[0], m[1], bytes(m[2], "utf-8").decode("unicode_escape"))
           for m in re.findall(r'\{"(-[^"]*)", "([^"]*)", "((?:[^"\\]|\\.)*)"\}', table)]


def roff(text):
    return text.replace("\\", "\\\\").replace("-", "\\-")


def sentence(text):
    return text[:1].upper() + text[1:] + ("" if text.endswith(".") else ".")


manual = root / "desktop/tessaly-convert.1"
entries = "".join(
    ".TP\n.B " + roff(name) + (" \\fI" + roff(arg) + "\\fR" if arg else "") + "\n" + roff(sentence(text)) + "\n"
    for name, arg, text in options)
page = manual.read_text()
page = re.sub(r"(\.SH OPTIONS\n).*?(?=\.SH )", lambda m: m.group(1) + entries, page, flags=re.S)
manual.write_text(page)

help_page = root / "site/software/howto/tessaly.html"
rows = "".join(
    "<tr><td><code>" + html.escape(name + (" " + arg if arg else "")) + "</code></td><td>" +
    html.escape(text) + "</td></tr>\n" for name, arg, text in options)
page = help_page.read_text()
page = re.sub(r"(<tr><th>Option</th><th>Meaning</th></tr>\n).*?(?=</table>)",
              lambda m: m.group(1) + rows, page, flags=re.S)
help_page.write_text(page)
