#!/usr/bin/env python3
"""Prints how often a run of consecutive weeks prints again what it printed before.

    repeat_share.py CLI FIRST_MONDAY WEEKS [--jokes N]

Runs the command-line program CLI (copied into a temporary folder with a fixed agent.id,
so that every run of this tool sees the same installation) for WEEKS consecutive weeks
from FIRST_MONDAY, and reports:
- astro: the share of a week's horoscope sentences (and of its daily-forecast sentences)
  already printed in the previous 12 weeks and in the previous 52 weeks, and the share
  of horoscopes and forecasts holding a calendar word of corpora/rules/;
- jokes (with --jokes N, N jokes a week): the share of a week's jokes printed again
  within 12 and within 52 weeks.
This measures what an editor printing one week after another would notice.
"""
import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import corpus_lint  # noqa: E402

AGENT_ID = "{5E1B0C2A-7D44-4F0B-9C3E-2A61D8F04B17}"
HEADER = re.compile(r"^[А-ЯЁ]+ \(\d\d\.\d\d-\d\d\.\d\d\)\. ")


def run_weeks(cli, kind, first, weeks, extra):
    folder = tempfile.mkdtemp(prefix="velmora_repeats_")
    try:
        program = os.path.join(folder, os.path.basename(cli))
        shutil.copy(cli, program)
        with open(os.path.join(folder, "agent.id"), "w", encoding="utf-8") as f:
            f.write(AGENT_ID)
        out = subprocess.run([program, kind, "--week", first, "--weeks", str(weeks), "--out", folder] + extra,
                             check=True, capture_output=True, text=True).stdout.split()
        docs = []
        for path in out:
            with open(path, encoding="utf-8-sig") as f:
                docs.append(f.read().replace("\r\n", "\n"))
        return docs
    finally:
        shutil.rmtree(folder)


def astro_parts(doc):
    """The horoscopes' sentences and the forecasts' sentences of one document, and its texts."""
    weekly, daily, texts = [], [], []
    in_days = False
    for line in doc.split("\n"):
        if line == "Вариант 2":
            in_days = True
        if HEADER.match(line):
            body = HEADER.sub("", line).split(" Благоприятный день")[0]
            weekly += [s for s in corpus_lint.split_sentences(body) if len(s) > 25]
            texts.append(body)
        elif in_days and len(line) > 40:
            daily += [s for s in corpus_lint.split_sentences(line) if len(s) > 25]
            texts.append(line)
    return weekly, daily, texts


def shares(per_week, window):
    seen_total = repeated = 0
    for i, items in enumerate(per_week):
        earlier = set()
        for back in per_week[max(0, i - window):i]:
            earlier.update(back)
        repeated += sum(1 for s in items if s in earlier)
        seen_total += len(items)
    return 100.0 * repeated / max(1, seen_total)


def main(argv):
    if len(argv) < 4:
        print(__doc__)
        return 2
    cli, first, weeks = argv[1], argv[2], int(argv[3])
    datetime.date.fromisoformat(first)
    if "--jokes" in argv:
        count = argv[argv.index("--jokes") + 1]
        docs = run_weeks(cli, "jokes", first, weeks, ["--count", count])
        per_week = [[p for p in d.split("\n\n")[1:] if p.strip()] for d in docs]
        print("jokes: %d weeks of %s, printed again within 12 weeks: %.1f%%, within 52 weeks: %.1f%%" %
              (weeks, count, shares(per_week, 12), shares(per_week, 52)))
        return 0
    docs = run_weeks(cli, "astro", first, weeks, [])
    rules = corpus_lint.Rules()
    weekly, daily, calendar, texts = [], [], 0, 0
    for d in docs:
        w, dd, t = astro_parts(d)
        weekly.append(w)
        daily.append(dd)
        texts += len(t)
        calendar += sum(1 for x in t if corpus_lint.found(corpus_lint.norm_words(x), rules.calendar + rules.astro_calendar))
    print("astro: %d weeks from %s" % (weeks, first))
    print("  horoscope sentences printed in the previous 12 weeks: %.1f%%, 52 weeks: %.1f%%" %
          (shares(weekly, 12), shares(weekly, 52)))
    print("  forecast sentences printed in the previous 12 weeks: %.1f%%, 52 weeks: %.1f%%" %
          (shares(daily, 12), shares(daily, 52)))
    print("  horoscopes and forecasts with a calendar, Moon or weather word: %.1f%%" % (100.0 * calendar / max(1, texts)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
