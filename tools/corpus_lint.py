#!/usr/bin/env python3
"""The writers' checker for corpus drafts, and the step that merges a checked draft.

A draft holds whole weeks of texts in a plain form that is easy to write and read:

    == 2021-04-19
    ОВЕН (21.03-20.04). Sentences... Благоприятный день - вторник, неблагоприятный день - пятница.
    (one line for each of the twelve signs, in sign order)
    Понедельник: the day's forecast
    (one line for each day that has a forecast, five to seven days)

and for jokes, after the week line, one joke a line. Blank lines are ignored.

    corpus_lint.py astro DRAFT...    check drafts together with the committed corpora
    corpus_lint.py jokes DRAFT...
    corpus_lint.py merge-astro DRAFT...   write the drafts' weeks into the corpora
    corpus_lint.py merge-jokes DRAFT...
    corpus_lint.py export-astro FIRST LAST  print the corpora's weeks FIRST..LAST as a draft
    corpus_lint.py export-jokes FIRST LAST

A draft's weeks replace the same weeks of the committed corpus, both when checking and
when merging. The rule lists are the ones the structural tests read (corpora/rules/).
The structural tests stay the final word; this tool tells a writer early and exactly
which line breaks which rule.
"""
import collections
import datetime
import json
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPORA = os.path.join(ROOT, "corpora")
RULES = os.path.join(CORPORA, "rules")

SIGNS = ["Овен", "Телец", "Близнецы", "Рак", "Лев", "Дева", "Весы", "Скорпион", "Стрелец", "Козерог",
         "Водолей", "Рыбы"]
HEADERS = ["ОВЕН (21.03-20.04).", "ТЕЛЕЦ (21.04-21.05).", "БЛИЗНЕЦЫ (22.05-21.06).", "РАК (22.06-23.07).",
           "ЛЕВ (24.07-23.08).", "ДЕВА (24.08-23.09).", "ВЕСЫ (24.09-23.10).", "СКОРПИОН (24.10-22.11).",
           "СТРЕЛЕЦ (23.11-21.12).", "КОЗЕРОГ (22.12-20.01).", "ВОДОЛЕЙ (21.01-19.02).", "РЫБЫ (20.02-20.03)."]
DAYS = ["Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота", "Воскресенье"]
LOWER_DAYS = [d.lower() for d in DAYS]
CLOSING = re.compile(r" Благоприятный день - (\S+), неблагоприятный день - (\S+)\.$")

ASTRO_CHARS = set("абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ ,.!?:;-—«»()")
JOKE_EXTRA = set("0123456789%+=/№\"'…")
OPENING_SHARE = 0.02
STOCK_SHARE = 0.02
FULL_JOKES = 5104
FILE_STOCK_SHARE = float(os.environ.get("LINT_FILE_STOCK_SHARE", "0.02"))
SHINGLE = 8


def norm_words(text):
    return re.findall(r"[0-9a-zа-я]+(?:-[0-9a-zа-я]+)*", text.lower().replace("ё", "е"))


def read_entries(name):
    entries = []
    with open(os.path.join(RULES, name), encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#"):
                entries.append(line)
    return entries


def compile_entry(entry):
    return entry.lower().replace("ё", "е").split()


def word_matches(pattern, word):
    return word.startswith(pattern[:-1]) if pattern.endswith("*") else word == pattern


def find_entry(words, entry_words, only_at=None):
    n = len(entry_words)
    starts = [only_at] if only_at is not None else range(len(words) - n + 1)
    for i in starts:
        if i + n <= len(words) and all(word_matches(p, words[i + k]) for k, p in enumerate(entry_words)):
            return True
    return False


def named_forms(name):
    table = {}
    for entry in read_entries(name):
        key, forms = entry.split(":", 1)
        table[key.strip()] = [f.lower().replace("ё", "е") for f in forms.split()]
    return table


class Rules:
    def __init__(self):
        self.calendar = [compile_entry(e) for e in read_entries("calendar_stems.txt")]
        self.astro_calendar = [compile_entry(e) for e in read_entries("astro_calendar_stems.txt")]
        self.openings = [compile_entry(e) for e in read_entries("openings.txt")]
        self.signs = named_forms("signs.txt")
        self.weekdays = named_forms("weekdays.txt")
        self.stock = named_forms("stock_characters.txt")
        self.banned = [compile_entry(e) for e in read_entries("joke_banned.txt")]


def found(words, entries):
    return [" ".join(e) for e in entries if find_entry(words, e)]


def forms_found(words, forms):
    return any(word_matches(f, w) for f in forms for w in words)


def split_sentences(text):
    """Cuts a text at every terminator as the generator does; keeps short pieces too."""
    pieces, start = [], 0
    for i, c in enumerate(text):
        if c in ".!?":
            pieces.append(text[start:i + 1].strip())
            start = i + 1
    rest = text[start:].strip()
    if rest:
        pieces.append(rest)
    return pieces


def opening_words(sentence):
    return norm_words(sentence.lstrip(" \"'(,-.:;[«—"))


# ---------------------------------------------------------------- reading drafts and corpora

class Text:
    def __init__(self, where, week, kind, key, text):
        self.where, self.week, self.kind, self.key, self.text = where, week, kind, key, text


def parse_week(value, where, problems):
    try:
        d = datetime.date.fromisoformat(value)
    except ValueError:
        problems.append((where, "not a date: " + value))
        return None
    if d.weekday() != 0:
        problems.append((where, value + " is not a Monday"))
    return value


def read_draft(path, jokes, problems):
    texts, week = [], None
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            where = "%s:%d" % (os.path.basename(path), n)
            if not line.strip():
                continue
            if line.startswith("== "):
                week = parse_week(line[3:].strip(), where, problems)
                continue
            if week is None:
                problems.append((where, "a text before the first '== yyyy-mm-dd' line"))
                continue
            if jokes:
                texts.append(Text(where, week, "joke", None, line))
                continue
            day = next((d for d in DAYS if line.startswith(d + ": ")), None)
            if day:
                texts.append(Text(where, week, "daily", day, line[len(day) + 2:]))
                continue
            sign = next((SIGNS[i] for i, h in enumerate(HEADERS) if line.startswith(h + " ")), None)
            if sign is None:
                problems.append((where, "neither a sign header nor 'Day: ' opens the line"))
                continue
            texts.append(Text(where, week, "weekly", sign, line))
    return texts


def read_corpus(name, kind, key_field):
    texts = []
    with open(os.path.join(CORPORA, name), encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            r = json.loads(line)
            texts.append(Text("%s:%d" % (name, n), r["week_start"], kind, r.get(key_field), r["text"]))
    return texts


def combined(drafts, jokes, problems):
    draft_texts = []
    for path in drafts:
        draft_texts += read_draft(path, jokes, problems)
    weeks = {t.week for t in draft_texts}
    if jokes:
        corpus = read_corpus("jokes.jsonl", "joke", None)
    else:
        corpus = read_corpus("weekly_horoscopes.jsonl", "weekly", "sign")
        corpus += read_corpus("daily_horoscopes.jsonl", "daily", "day")
    return [t for t in corpus if t.week not in weeks] + draft_texts, draft_texts


# ---------------------------------------------------------------- astro rules

def check_sentences(t, body, rules, problems, low, high):
    pieces = split_sentences(body)
    if body and body[-1] not in ".!?":
        problems.append((t.where, "the text does not end with . ! or ?"))
    for p in pieces:
        if len(p) <= 25:
            problems.append((t.where, "a piece of 25 characters or fewer (an abbreviation, ellipsis, '?!' "
                             "or a too short sentence): " + p))
    if not low <= len(pieces) <= high:
        problems.append((t.where, "%d sentences (want %d to %d)" % (len(pieces), low, high)))
    for p in pieces:
        words = opening_words(p)
        for e in rules.openings:
            if find_entry(words, e, only_at=0):
                problems.append((t.where, "opens with '%s': %s" % (" ".join(e), p)))
                break
    return pieces


def check_astro_text(t, rules, problems):
    text = t.text
    own = text[len(HEADERS[SIGNS.index(t.key)]):] if t.kind == "weekly" else text
    bad_chars = sorted(set(c for c in own if c not in ASTRO_CHARS))
    if bad_chars:
        problems.append((t.where, "characters outside the set: " + "".join(bad_chars)))
    if "  " in text or text != text.strip():
        problems.append((t.where, "double or outer blank"))
    if t.kind == "weekly":
        s = SIGNS.index(t.key)
        m = CLOSING.search(text)
        if not 232 <= len(text) <= 627:
            problems.append((t.where, "length %d (want 232 to 627)" % len(text)))
        if not m or m.group(1) not in LOWER_DAYS or m.group(2) not in LOWER_DAYS or m.group(1) == m.group(2):
            problems.append((t.where, "the closing must be ' Благоприятный день - <day>, неблагоприятный день - "
                             "<other day>.' with days in lower case"))
            return []
        body = text[len(HEADERS[s]) + 1:m.start()]
        words = norm_words(body)
        for sign, forms in rules.signs.items():
            if sign != t.key and forms_found(words, forms):
                problems.append((t.where, "names another sign: " + sign))
        for day, forms in rules.weekdays.items():
            if forms_found(words, forms):
                problems.append((t.where, "a weekly text names no weekday (the closing draws its own days): " + day))
        low, high = 4, 5
    else:
        body = text
        words = norm_words(body)
        if "Благоприятный день" in text:
            problems.append((t.where, "'Благоприятный день' belongs to the weekly closing only"))
        if not 111 <= len(text) <= 627:
            problems.append((t.where, "length %d (want 111 to 627)" % len(text)))
        for day, forms in rules.weekdays.items():
            if day != t.key and forms_found(words, forms):
                problems.append((t.where, "names another weekday: " + day))
        low, high = 2, 4
    if re.search(r"[0-9]", body):
        problems.append((t.where, "a digit (no dates or numbers)"))
    hits = found(words, rules.calendar) + found(words, rules.astro_calendar)
    if hits:
        problems.append((t.where, "calendar, season, Moon or weather words: " + ", ".join(hits)))
    return check_sentences(t, body, rules, problems, low, high)


def near_copy_keys(words):
    """Keys shared by two sentences that differ in at most two words in place, or by one inserted word."""
    n = len(words)
    keys = [("D", n, tuple(words))]
    if n < 5:
        return keys
    for i in range(n):
        keys.append(("D", n - 1, tuple(words[:i] + words[i + 1:])))
        for j in range(i + 1, n):
            w = list(words)
            w[i] = w[j] = "_"
            keys.append(("S", n, tuple(w)))
    return keys


def check_distinct_sentences(items, problems, report):
    """items: (Text, sentence). Reports exact and near copies that involve a reported text."""
    exact, near = {}, {}
    for t, s in items:
        key = s.lower().replace("ё", "е")
        if key in exact and exact[key] is not t:
            if report(t) or report(exact[key]):
                # Named at the draft's line, so that its writer sees it.
                here, there = (t, exact[key]) if report(t) else (exact[key], t)
                problems.append((here.where, "the same sentence as %s: %s" % (there.where, s)))
            continue
        exact.setdefault(key, t)
        seen = set()
        for k in near_copy_keys(norm_words(s)):
            h = hash(k)
            other = near.get(h)
            if other is not None and other[0] is not t and other[1] != key and other[0].where not in seen:
                seen.add(other[0].where)
                if report(t) or report(other[0]):
                    here, there = (t, other[0]) if report(t) else (other[0], t)
                    problems.append((here.where, "a near copy of a sentence of %s:\n      %s\n      %s" %
                                     (there.where, s, other[2])))
            elif other is None:
                near[h] = (t, key, s)


def check_opening_share(label, sentences, problems, where):
    if not sentences:
        return
    counts = collections.Counter((opening_words(s) or [""])[0] for s in sentences)
    limit = OPENING_SHARE * len(sentences)
    for word, c in counts.most_common():
        if c <= limit:
            break
        problems.append((where, "%s: %d of %d sentences (%.1f%%) open with '%s' (at most 2%%)" %
                         (label, c, len(sentences), 100.0 * c / len(sentences), word)))


def lint_astro(drafts):
    rules, problems = Rules(), []
    texts, mine = combined(drafts, False, problems)
    mine_ids = {id(t) for t in mine}
    files_of_week = collections.defaultdict(set)
    for t in mine:
        files_of_week[t.week].add(t.where.split(":")[0])
    for week, files in sorted(files_of_week.items()):
        if len(files) > 1:
            problems.append((sorted(files)[-1] + ":1", "week %s is in more than one draft (%s): it belongs to the "
                             "file that had it first; remove it from the other" % (week, ", ".join(sorted(files)))))
    weeks = collections.defaultdict(lambda: {"weekly": [], "daily": []})
    sentences = {"weekly": [], "daily": []}
    per_file = collections.defaultdict(lambda: {"weekly": [], "daily": []})
    for t in texts:
        weeks[t.week][t.kind].append(t)
        pieces = check_astro_text(t, rules, problems)
        for p in pieces:
            sentences[t.kind].append((t, p))
            if id(t) in mine_ids:
                per_file[t.where.split(":")[0]][t.kind].append(p)
    for week, kinds in sorted(weeks.items()):
        signs = [t.key for t in kinds["weekly"]]
        if signs != SIGNS:
            where = kinds["weekly"][0].where if kinds["weekly"] else kinds["daily"][0].where
            problems.append((where, "week %s: the weekly texts must be the twelve signs in order, once each" % week))
        days = [t.key for t in kinds["daily"]]
        if len(set(days)) != len(days) or not 5 <= len(days) <= 7 or days != sorted(days, key=DAYS.index):
            where = kinds["daily"][0].where if kinds["daily"] else kinds["weekly"][0].where
            problems.append((where, "week %s: five to seven daily texts, Monday first, each day once" % week))
    check_distinct_sentences(sentences["weekly"] + sentences["daily"], problems, lambda t: id(t) in mine_ids)
    for kind in ("weekly", "daily"):
        check_opening_share(kind + " corpus with the drafts", [s for _, s in sentences[kind]], problems, "all")
        for f, kinds in sorted(per_file.items()):
            check_opening_share(kind + " texts of this file", kinds[kind], problems, f)
    return report(problems, mine_ids, texts, lambda t: t.kind)


# ---------------------------------------------------------------- joke rules

def lint_jokes(drafts):
    rules, problems = Rules(), []
    texts, mine = combined(drafts, True, problems)
    mine_ids = {id(t) for t in mine}
    exact, shingles, punchlines = {}, {}, {}
    for t in texts:
        text = t.text
        bad = sorted(set(c for c in text if c not in ASTRO_CHARS and c not in JOKE_EXTRA))
        if bad:
            problems.append((t.where, "characters outside the set: " + "".join(bad)))
        if "  " in text or text != text.strip():
            problems.append((t.where, "double or outer blank"))
        if not 15 <= len(text) <= 2275:
            problems.append((t.where, "length %d (want 15 to 2275)" % len(text)))
        words = norm_words(text)
        hits = found(words, rules.calendar) + found(words, rules.banned)
        if hits:
            problems.append((t.where, "calendar, season or banned words: " + ", ".join(hits)))
        key = "".join(c.lower() if "A" <= c <= "Z" else c for c in text)
        if key in exact:
            problems.append((t.where, "the same joke as " + exact[key].where))
            continue
        exact[key] = t
        seen = set()
        for i in range(len(words) - SHINGLE + 1):
            sh = hash(tuple(words[i:i + SHINGLE]))
            other = shingles.get(sh)
            if other is not None and other is not t and other.where not in seen:
                seen.add(other.where)
                problems.append((t.where, "shares the words '%s' with %s" % (" ".join(words[i:i + SHINGLE]),
                                                                             other.where)))
            shingles.setdefault(sh, t)
        last = norm_words(split_sentences(text)[-1])
        if len(last) >= 3:
            other = punchlines.setdefault(tuple(last), t)
            if other is not t:
                problems.append((t.where, "the same last sentence as " + other.where))
    by_file = collections.defaultdict(list)
    for t in mine:
        by_file[t.where.split(":")[0]].append(t)
    for label, group in [("the corpus with the drafts", texts)] + sorted(by_file.items()):
        counts = collections.Counter()
        for t in group:
            words = norm_words(t.text)
            for name, forms in rules.stock.items():
                if forms_found(words, forms):
                    counts[name] += 1
        # The whole corpus is held to 2% of the product's full size, so that a corpus on
        # its way there is not squeezed; a draft is held to its own share.
        share = FILE_STOCK_SHARE if label in by_file else STOCK_SHARE
        limit = max(1, int(share * (len(group) if label in by_file else FULL_JOKES)))
        for name, c in counts.most_common():
            if c > limit:
                problems.append((label if label in by_file else "all",
                                 "%s: '%s' in %d of %d jokes (at most %d)" % (label, name, c, len(group), limit)))
    return report(problems, mine_ids, texts, lambda t: "jokes")


# ---------------------------------------------------------------- output, merge, export

def report(problems, mine_ids, texts, kind_of):
    mine_files = {t.where.split(":")[0] for t in texts if id(t) in mine_ids}
    shown = [(w, m) for w, m in problems if w.split(":")[0] in mine_files or w == "all"]
    hidden = len(problems) - len(shown)
    for w, m in shown:
        print("%s: %s" % (w, m))
    counts = collections.Counter(kind_of(t) for t in texts)
    print("checked: %s; %d problems in the drafts%s" % (
        ", ".join("%d %s" % (c, k) for k, c in sorted(counts.items())), len(shown),
        "; %d more in the committed corpus" % hidden if hidden else ""))
    return 1 if shown else 0


def week_key(t):
    return t.week


def write_jsonl(name, records):
    with open(os.path.join(CORPORA, name), "w", encoding="utf-8", newline="\n") as f:
        for r in records:
            f.write(json.dumps(r, ensure_ascii=False) + "\n")


def merge(drafts, jokes):
    problems = []
    texts, _ = combined(drafts, jokes, problems)
    if problems:
        for w, m in problems:
            print("%s: %s" % (w, m))
        return 1
    texts.sort(key=lambda t: (t.week, SIGNS.index(t.key) if t.kind == "weekly" else
                              DAYS.index(t.key) if t.kind == "daily" else 0))
    if jokes:
        records, number = [], collections.Counter()
        for t in texts:
            number[t.week] += 1
            year = t.week[:4]
            records.append({"content_type": "joke", "week_start": t.week, "number_in_file": number[t.week],
                            "text": t.text, "source_file": "archive/%s/%s/anekdoty.txt" % (year, t.week),
                            "root": "velmora_" + year})
        write_jsonl("jokes.jsonl", records)
        return 0
    weekly, daily = [], []
    for t in texts:
        year = t.week[:4]
        if t.kind == "weekly":
            m = CLOSING.search(t.text)
            weekly.append({"content_type": "astro_weekly", "week_start": t.week, "sign": t.key,
                           "good_day": m.group(1), "bad_day": m.group(2), "text": t.text,
                           "source_file": "archive/%s/%s/goroskop.txt" % (year, t.week), "root": "velmora_" + year})
        else:
            daily.append({"content_type": "astro_daily", "week_start": t.week, "day": t.key, "text": t.text,
                          "source_file": "archive/%s/%s/astroprognoz.txt" % (year, t.week),
                          "root": "velmora_" + year})
    write_jsonl("weekly_horoscopes.jsonl", weekly)
    write_jsonl("daily_horoscopes.jsonl", daily)
    return 0


def export(first, last, jokes):
    texts, _ = combined([], jokes, [])
    texts = [t for t in texts if first <= t.week <= last]
    texts.sort(key=lambda t: (t.week, t.kind != "weekly",
                              SIGNS.index(t.key) if t.kind == "weekly" else
                              DAYS.index(t.key) if t.kind == "daily" else 0))
    week = None
    for t in texts:
        if t.week != week:
            week = t.week
            print("\n== " + week)
        print(t.key + ": " + t.text if t.kind == "daily" else t.text)
    return 0


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    cmd, args = argv[1], argv[2:]
    if cmd == "astro":
        return lint_astro(args)
    if cmd == "jokes":
        return lint_jokes(args)
    if cmd in ("merge-astro", "merge-jokes"):
        return merge(args, cmd == "merge-jokes")
    if cmd in ("export-astro", "export-jokes") and len(args) == 2:
        return export(args[0], args[1], cmd == "export-jokes")
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
