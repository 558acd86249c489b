#!/usr/bin/env python3
"""The layering check on small trees of its own: a tree that keeps its layers
passes; an include against the table, an include of a missing file and a
cycle between two modules each fail with a line that names them.

Usage: check_layers_faults.py CHECK_SCRIPT
"""
import os
import subprocess
import sys
import tempfile

README = """<!-- layers -->
| unit | may include |
|---|---|
| `console` | — |
| `engine` | `console` |
| `frame` | `console`, `engine` |
<!-- /layers -->
"""


def run(files):
    with tempfile.TemporaryDirectory() as root:
        with open(os.path.join(root, 'README.md'), 'w') as f:
            f.write(README)
        for path, text in files.items():
            full = os.path.join(root, 'src', path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, 'w') as f:
                f.write(text)
        p = subprocess.run([sys.executable, sys.argv[1], root], capture_output=True, text=True)
        return p.returncode, p.stdout


def main():
    good = {'console/a.h': '', 'engine/b.h': '#include "console/a.h"\n', 'frame/c.cpp': '#include "engine/b.h"\n'}
    cases = [
        ('layers kept', good, 0, None),
        ('upward include', dict(good, **{'console/a.cpp': '#include "engine/b.h"\n'}), 1,
         'console may not include engine/b.h'),
        ('missing file', dict(good, **{'engine/b.cpp': '#include "engine/gone.h"\n'}), 1, 'no file of src/'),
        ('cycle', dict(good, **{'engine/b.cpp': '#include "engine/d.h"\n', 'engine/d.cpp': '#include "engine/b.h"\n',
                                'engine/d.h': ''}), 1, 'include cycle among engine/b, engine/d'),
    ]
    faults = 0
    for name, files, want_rc, want_text in cases:
        rc, out = run(files)
        if rc != want_rc or (want_text and want_text not in out):
            print(f'{name}: exit {rc}, expected {want_rc}; output:\n{out}')
            faults += 1
    print(f'{len(cases)} trees, {faults} wrong')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
