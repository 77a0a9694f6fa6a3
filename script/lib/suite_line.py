"""Prints "LABEL: P passed, F failed, S skipped in T s" for one test run.

    suite_line.py LABEL CTEST_JUNIT GTEST_REPORTS SECONDS

CTEST_JUNIT is ctest's report. A test that ran a whole GoogleTest program (the
Windows suites run one Wine process a program) left its own report in
GTEST_REPORTS, named after the test: its cases are counted instead of the one
test. A program that failed without a failing case (it died, or timed out)
counts one failure more.
"""
import os
import sys
import xml.etree.ElementTree as ET


def case_status(case):
    status = case.get('status', '')
    if case.find('failure') is not None or case.find('error') is not None or status == 'fail':
        return 'failed'
    if case.find('skipped') is not None or status in ('notrun', 'disabled') or case.get('result') == 'skipped':
        return 'skipped'
    return 'passed'


def gtest_counts(report):
    counts = {'passed': 0, 'failed': 0, 'skipped': 0}
    for case in ET.parse(report).getroot().iter('testcase'):
        if case.get('result') == 'suppressed':  # DISABLED_
            counts['skipped'] += 1
        else:
            counts[case_status(case)] += 1
    return counts


def main(label, junit, reports, seconds):
    totals = {'passed': 0, 'failed': 0, 'skipped': 0}
    try:
        for case in ET.parse(junit).getroot().iter('testcase'):
            status = case_status(case)
            report = os.path.join(reports, case.get('name', '') + '.xml')
            if os.path.isfile(report):
                try:
                    counts = gtest_counts(report)
                except ET.ParseError:
                    counts = {'passed': 0, 'failed': 0, 'skipped': 0}
                if status == 'failed' and counts['failed'] == 0:
                    counts['failed'] = 1
                for key in totals:
                    totals[key] += counts[key]
            else:
                totals[status] += 1
    except (OSError, ET.ParseError):
        totals['failed'] += 1  # no report: the stage itself failed
    print(f"{label}: {totals['passed']} passed, {totals['failed']} failed, "
          f"{totals['skipped']} skipped in {seconds} s")


if __name__ == '__main__':
    main(*sys.argv[1:5])
