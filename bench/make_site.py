#!/usr/bin/env python3
# Writes a generated site for the benchmarks: FILES files, a quarter of them
# pages of 50 links each, the rest pictures, in folders of about 1,000 files;
# with --qrc also SITE.qrc listing every file for Qt's rcc.
# Usage: bench/make_site.py SITE FILES [--qrc]
import os, random, sys

site, files = sys.argv[1], int(sys.argv[2])
random.seed(7)
pages, pictures = files // 4, files - files // 4
folders = max(20, files // 1000)
for folder in range(folders):
    os.makedirs(os.path.join(site, f"d{folder}"), exist_ok=True)
names = [f"d{n % folders}/f{n}.{['gif', 'jpg', 'png'][n % 3]}" for n in range(pictures)]
for name in names:
    with open(os.path.join(site, name), "wb") as f:
        f.write(random.randbytes(random.randint(100, 9000)))
for p in range(pages):
    name = f"d{p % folders}/page{p}.htm"
    links = "".join(f'<a href="../{random.choice(names)}">x</a>\n' for _ in range(50))
    with open(os.path.join(site, name), "w") as f:
        f.write(f"<html><body>{links}</body></html>\n")
    names.append(name)
if "--qrc" in sys.argv[3:]:
    with open(site + ".qrc", "w") as f:
        f.write('<RCC><qresource prefix="/">\n')
        f.writelines(f"<file>site/{name}</file>\n" for name in names)
        f.write("</qresource></RCC>\n")
