#!/usr/bin/env python3
"""Runs scripts/check-layers on small made-up trees, one per kind of fault, and on a sound one."""
import os
import subprocess
import sys
import tempfile

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts', 'check-layers')
SOUND = {
    'platform/ole/Currency.h': '#pragma once\n',
    'dbaccess/CAdoRecordset.h': '#include "platform/ole/Currency.h"\n',
    'database/Rules.h': '#include "dbaccess/CAdoRecordset.h"\n',
    'dialogs/CAcctEditDlg.cpp': '#include "database/Rules.h"\n// shows what the rules answer\n',
    'reports/CExpenseReport.h': 'class CExpenseReport {};\n',
    'reports/CYearReport.h': '#include "reports/CExpenseReport.h"\nclass CYearReport : public CExpenseReport {};\n',
    'reports/ReportFactory.cpp': '#include "reports/CYearReport.h"\n',
    'tests/database/RulesTest.cpp': '#include "dialogs/CAcctEditDlg.h"\n',
}
SOUND_TARGETS = 'qm_database\tdatabase\tqm_dbaccess\nqm_dialogs\tdialogs\tqm_database;Qt6::Widgets\n'

# (what is wrong, files changed or added, targets file, a text the report must contain)
CASES = [
    ('an include upwards', {'database/Rules.h': '#include "dialogs/CAcctEditDlg.h"\n'}, None,
     'database/ includes dialogs/CAcctEditDlg.h of dialogs/, which is not below it'),
    ('an include between siblings', {'reports/CYearReport.cpp': '#include "dialogs/CAcctEditDlg.h"\n'}, None,
     'reports/ includes dialogs/CAcctEditDlg.h'),
    ('the conduit using the desktop', {'conduit/sync/Sync.cpp': '#include "document/CQuillmarDoc.h"\n'}, None,
     'the desktop program and the conduit include each other'),
    ('a circle of folders', {'mainform/CQuillmarView.cpp': '#include "mainform/commands/Add.h"\n',
                             'mainform/commands/Add.cpp': '#include "mainform/CQuillmarView.h"\n'}, None,
     'the folders include each other in a circle: mainform -> mainform/commands -> mainform'),
    ('a base class including its subclass', {'reports/CExpenseReport.cpp': '#include "reports/CYearReport.h"\n'},
     None, 'reports/CExpenseReport includes reports/CYearReport, a class derived from it'),
    ('SQL in a dialog', {'dialogs/CProjectsDlg.cpp': 'auto q = "SELECT COUNT(*) FROM Expenses";\n'}, None,
     'dialogs/CProjectsDlg.cpp:1: a dialog runs SQL'),
    ('a record set search in an options dialog', {'reports/CReportOpts.cpp': 'm_types.FindFirst();\n'}, None,
     'reports/CReportOpts.cpp:1: a dialog runs SQL or searches a record set'),
    ('a file of 600 lines', {'tests/database/Long.cpp': '//\n' * 600}, None,
     'tests/database/Long.cpp: 600 lines'),
    ('the core reaching widgets', {}, SOUND_TARGETS.replace('qm_dbaccess\n', 'qm_dbaccess;qm_dialogs\n'),
     'target qm_database (database/) must not link widgets but reaches qm_database -> qm_dialogs -> Qt6::Widgets'),
    ('a target linking upwards', {}, SOUND_TARGETS + 'qm_dbaccess\tdbaccess\tqm_database\n',
     'target qm_dbaccess (dbaccess/) links qm_database of database/, which is not below it'),
]


def run(files, targets):
    with tempfile.TemporaryDirectory() as root:
        for path, text in {**SOUND, **files}.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), 'w') as f:
                f.write(text)
        args = [CHECKER, root]
        if targets is not None:
            with open(os.path.join(root, 'targets.txt'), 'w') as f:
                f.write(targets)
            args.append(os.path.join(root, 'targets.txt'))
        done = subprocess.run(args, capture_output=True, text=True)
        return done.returncode, done.stdout


def main():
    failures = []
    code, out = run({}, SOUND_TARGETS)
    if code != 0 or out:
        failures.append(f'the sound tree was refused ({code}): {out}')
    for what, files, targets, expected in CASES:
        code, out = run(files, targets)
        if code != 1 or expected not in out:
            failures.append(f'{what}: expected exit 1 with "{expected}", got {code}: {out}')
    for failure in failures:
        print(failure)
    print(f'{len(CASES) + 1 - len(failures)} of {len(CASES) + 1} cases passed')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
