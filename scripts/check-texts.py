#!/usr/bin/env python3
"""check-texts.py [TEXTS_H]: every text in src/texts.h, X(name, readable, bytes), has as its bytes exactly
the readable text in GBK. Fails, naming the text, where one was edited without the other."""
import ast
import re
import sys
from pathlib import Path

path = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src" / "texts.h")
source = path.read_text(encoding="utf-8").replace("\\\n", "")  # the macro's lines joined
source = re.sub(r"/\*.*?\*/", "", source)
LITERAL = r'"(?:[^"\\]|\\.)*"'
texts = re.findall(rf"X\((\w+),\s*({LITERAL}),\s*((?:{LITERAL}\s*)+)\)", source)


def value(literals):  # adjacent C literals, each with its escapes, as the bytes they stand for
    return b"".join(ast.literal_eval("b" + literal) if literal.isascii() else ast.literal_eval(literal).encode()
                    for literal in re.findall(LITERAL, literals))


wrong = [name for name, readable, gbk in texts if value(readable).decode("utf-8").encode("gbk") != value(gbk)]
for name in wrong:
    print(f"{path}: {name}: its bytes are not its readable text in GBK")
print(f"texts: {len(texts) - len(wrong)} of {len(texts)} readable texts are their bytes")
entries = len(re.findall(r"^\s*X\(\w+,", path.read_text(encoding="utf-8"), re.M))
if entries != len(texts):
    print(f"{path}: {entries} texts, of which {len(texts)} could be read")
sys.exit(1 if wrong or entries != len(texts) else 0)
