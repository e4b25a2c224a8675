#!/usr/bin/env python3
"""Damaged copies of the two public Jet files (bytes changed, pages overwritten, the file cut
short) given to `quillmar-db convert`: whatever the reader makes of them, the copy is never
written, no new database or unfinished file is left behind, and the answer is a refusal (exit 1),
a crash or a hang that the desktop's child process turns into a message. Prints how many ran,
were refused, crashed and hung.

Usage: jet-mutations.py QUILLMAR_DB SAMPLES_DIR [COUNT]"""
import os
import random
import subprocess
import sys
import tempfile

tool, samples = sys.argv[1], sys.argv[2]
count = int(sys.argv[3]) if len(sys.argv) > 3 else 60
sources = [open(os.path.join(samples, name), 'rb').read() for name in ('nwind.mdb', 'DateTestDatabase.mdb')]
rng = random.Random(20261209)
# A crash is a signal here, not a sanitizer's exit status that would read as a refusal.
env = dict(os.environ, ASAN_OPTIONS='detect_leaks=0:handle_segv=0:handle_abort=0:exitcode=86')
tally = {'refused': 0, 'crashed': 0, 'hung': 0}
faults = []
with tempfile.TemporaryDirectory() as work:
    for run in range(count):
        data = bytearray(sources[run % 2])
        kind = run % 3
        if kind == 0:
            for _ in range(rng.randrange(1, 64)):
                data[rng.randrange(len(data))] = rng.randrange(256)
        elif kind == 1:
            page = rng.randrange(1, len(data) // 4096) * 4096
            data[page:page + 4096] = rng.randbytes(4096)
        else:
            data = data[:rng.randrange(21, len(data))]
        damaged, target = os.path.join(work, 'damaged.mdb'), os.path.join(work, 'new.mdb')
        with open(damaged, 'wb') as f:
            f.write(data)
        try:
            status = subprocess.run([tool, 'convert', damaged, target], capture_output=True, timeout=10, env=env).returncode
            outcome = 'refused' if status == 1 else 'crashed' if status < 0 or status == 86 else f'exit {status}'
        except subprocess.TimeoutExpired:
            outcome = 'hung'
        if outcome not in tally:
            faults.append(f'run {run}: {outcome}')
        else:
            tally[outcome] += 1
        if open(damaged, 'rb').read() != bytes(data):
            faults.append(f'run {run}: the Jet file was written')
        left = [name for name in os.listdir(work) if name != 'damaged.mdb']
        if left:
            faults.append(f'run {run} ({outcome}): left behind {left}')
            for name in left:
                os.remove(os.path.join(work, name))
print(f"ran {count}: refused {tally['refused']}, crashed {tally['crashed']}, hung {tally['hung']}")
for fault in faults:
    print('FAULT', fault)
sys.exit(1 if faults else 0)
