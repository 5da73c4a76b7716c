"""Checks the shipped statistics-term table (data/Mox5StatWord.sql).

The file must load line by line as the program loads it, its keys must follow
from its readings, and every word and reading must agree with OpenCC, pypinyin
and pykakasi unless data/dictionary_reading_exceptions.tsv lists the
difference with a reason. A listed difference that no longer occurs fails.

Conventions checked here:
  ChineseK   Traditional characters as used in Taiwan: OpenCC's simplified to
             Taiwan conversion (s2tw) must give the word back unchanged.
  ChineseH   Hanyu Pinyin with tone marks, one blank between syllables, Taiwan
             readings where they differ from the mainland (期 qí);
             Latin letters in the word are copied as they are.
  ChineseKey ChineseH in lower case, tone marks and blanks removed, ü written v.
  JapaneseH  hiragana and ー only; katakana is written in hiragana, keeping ー;
             ・ is not read; a Latin letter is read by its name (t → てぃー).
  JapaneseKey equal to JapaneseH.
  EnglishK   one spelling per term across the table (see SPELLINGS).
  EnglishA   standard abbreviations and other findable forms of EnglishK,
             separated by "; ", or NULL.
  No Chinese, Japanese or English word twice; one katakana form per loanword.
  The last line "PRAGMA user_version = N;" stamps the content version: every
  earlier version is kept as data/history/Mox5StatWord.vK.sql (the program
  tells a user's rows from shipped ones with it), and the checksum recorded for
  N in data/history/Mox5StatWord.sha256 must still fit, so changed content
  cannot ship under an old version.

  --sql FILE, --exceptions FILE  check other copies of the two files.
  --self-test  runs the check on broken copies of a part of the table and
               fails unless each break is reported.
"""
import hashlib
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import unicodedata

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SQL_PATH = os.path.join(ROOT, "data", "Mox5StatWord.sql")
EXCEPTIONS_PATH = os.path.join(ROOT, "data", "dictionary_reading_exceptions.tsv")
HISTORY_DIR = os.path.join(ROOT, "data", "history")
SUMS_PATH = os.path.join(HISTORY_DIR, "Mox5StatWord.sha256")
VERSION_LINE = re.compile(r"^PRAGMA user_version = ([1-9][0-9]*);$")
EXCEPTIONS_HEADER = "field\tword\tours\tlibrary\treason"
TABLE = "Mox5StatWord"
COLUMNS = ["ID", "ChineseKey", "JapaneseKey", "ChineseK", "ChineseH",
           "JapaneseK", "JapaneseH", "EnglishK", "Note1", "Note2", "EnglishA"]
OPTIONAL = ("Note1", "Note2", "EnglishA")
CREATE = ("CREATE TABLE Mox5StatWord (ID INTEGER PRIMARY KEY, ChineseKey TEXT, "
          "JapaneseKey TEXT, ChineseK TEXT, ChineseH TEXT, JapaneseK TEXT, "
          "JapaneseH TEXT, EnglishK TEXT, Note1 TEXT, Note2 TEXT, EnglishA TEXT);")
INSERT_HEAD = "INSERT INTO Mox5StatWord (" + ", ".join(COLUMNS) + ") VALUES ("
MIN_ROWS = 1500
ALT_SEPARATOR = "; "

TONED = {"a": "āáǎà", "e": "ēéěè", "i": "īíǐì", "o": "ōóǒò", "u": "ūúǔù", "ü": "ǖǘǚǜ"}
UNTONE = {m: (base, tone + 1) for base, ms in TONED.items() for tone, m in enumerate(ms)}

SYLLABLES = set("""
a ai an ang ao
ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu
ca cai can cang cao ce cen ceng cha chai chan chang chao che chen cheng chi chong
chou chu chua chuai chuan chuang chui chun chuo ci cong cou cu cuan cui cun cuo
da dai dan dang dao de dei den deng di dia dian diao die ding diu dong dou du duan
dui dun duo
e ei en eng er
fa fan fang fei fen feng fo fou fu
ga gai gan gang gao ge gei gen geng gong gou gu gua guai guan guang gui gun guo
ha hai han hang hao he hei hen heng hong hou hu hua huai huan huang hui hun huo
ji jia jian jiang jiao jie jin jing jiong jiu ju juan jue jun
ka kai kan kang kao ke kei ken keng kong kou ku kua kuai kuan kuang kui kun kuo
la lai lan lang lao le lei leng li lia lian liang liao lie lin ling liu lo long lou
lu luan lun luo lü lüe
ma mai man mang mao me mei men meng mi mian miao mie min ming miu mo mou mu
na nai nan nang nao ne nei nen neng ni nian niang niao nie nin ning niu nong nou
nu nuan nuo nü nüe
o ou
pa pai pan pang pao pei pen peng pi pian piao pie pin ping po pou pu
qi qia qian qiang qiao qie qin qing qiong qiu qu quan que qun
ran rang rao re ren reng ri rong rou ru rua ruan rui run ruo
sa sai san sang sao se sen seng sha shai shan shang shao she shei shen sheng shi
shou shu shua shuai shuan shuang shui shun shuo si song sou su suan sui sun suo
ta tai tan tang tao te teng ti tian tiao tie ting tong tou tu tuan tui tun tuo
wa wai wan wang wei wen weng wo wu
xi xia xian xiang xiao xie xin xing xiong xiu xu xuan xue xun
ya yan yang yao ye yi yin ying yo yong you yu yuan yue yun
za zai zan zang zao ze zei zen zeng zha zhai zhan zhang zhao zhe zhei zhen zheng
zhi zhong zhou zhu zhua zhuai zhuan zhuang zhui zhun zhuo zi zong zou zu zuan zui
zun zuo
""".split())

# English spellings: (house form, other form). EnglishK uses only the house
# form; a term written with it lists the other form in EnglishA, so that both
# are found. Diacritics in names are handled the same way (Scheffé / Scheffe).
SPELLINGS = [
    (r"\bheteroscedastic", "heteroskedastic"),
    (r"\bhomoscedastic", "homoskedastic"),
    (r"\bchi-squared\b", "chi-square"),
]
# Forms EnglishK never uses, without a required variant: US spelling, and
# "non" closed up.
HOUSE_STYLE = [
    (re.compile(r"\bheteroskedastic|\bhomoskedastic"), "write -scedastic"),
    (re.compile(r"\bchi-square\b|\bchi square"), "write chi-squared"),
    (re.compile(r"(random|standard|normal|general|regular|optim|minim|maxim|categor|summar|visual|"
                r"stabil|parameter|character)is(e|ed|es|ing|ation)\b"), "use the -ize spelling"),
    (re.compile(r"\bmodell|\bcentre|\bneighbour|\bbehaviour|\banalyse"), "use the US spelling"),
    (re.compile(r"\bnon-[a-z]"), "write non without a hyphen"),
]
KATAKANA_RUN = re.compile(r"[\u30a1-\u30faー]+")

LETTER_NAMES = dict(zip("ABCDEFGHIJKLMNOPQRSTUVWXYZ", [
    "えー", "びー", "しー", "でぃー", "いー", "えふ", "じー", "えいち", "あい",
    "じぇー", "けー", "える", "えむ", "えぬ", "おー", "ぴー", "きゅー", "あーる",
    "えす", "てぃー", "ゆー", "ぶい", "だぶりゅー", "えっくす", "わい", "ぜっと"]))
HIRAGANA_READING = re.compile(r"^[\u3041-\u3096ー]+$")


def is_han(ch):
    return "CJK UNIFIED IDEOGRAPH" in unicodedata.name(ch, "")


def ascii_fold(text):
    return "".join(c for c in unicodedata.normalize("NFKD", text) if not unicodedata.combining(c))


def chinese_key(reading):
    """ChineseH -> ChineseKey: lower case, no tone marks, no blanks, ü as v."""
    out = []
    for ch in reading.lower():
        ch = UNTONE.get(ch, (ch, 0))[0]
        out.append("v" if ch == "ü" else ch)
    return "".join(out).replace(" ", "")


def syllable_fault(token):
    """Why a tone-marked pinyin syllable is malformed, or None."""
    base, tones = [], []
    for i, ch in enumerate(token):
        b, tone = UNTONE.get(ch, (ch, 0))
        base.append(b)
        if tone:
            tones.append(i)
    base = "".join(base)
    if base not in SYLLABLES:
        return "not a pinyin syllable"
    if len(tones) > 1:
        return "more than one tone mark"
    if tones:
        if "a" in base:
            want = base.index("a")
        elif "e" in base:
            want = base.index("e")
        elif "ou" in base:
            want = base.index("o")
        else:
            want = max(base.rfind(v) for v in "iouü")
        if tones[0] != want:
            return "tone mark on the wrong vowel"
    return None


def units(word):
    """Splits a Chinese word into Han characters and runs of Latin letters."""
    return re.findall(r"[A-Za-z]+|.", word)


def alternatives(value):
    return value.split(ALT_SEPARATOR) if value else []


def opencc(config, words):
    """Converts each word with the OpenCC command; one word a line."""
    if not words:
        return []
    text = "".join(w + "\n" for w in words)
    try:
        out = subprocess.run(["opencc", "-c", config], input=text, capture_output=True,
                             text=True, encoding="utf-8", check=True).stdout
    except (OSError, subprocess.CalledProcessError) as e:
        raise SystemExit(f"dictionary: opencc -c {config} failed ({e}); run scripts/setup")
    lines = out.split("\n")[:len(words)]
    if len(lines) != len(words):
        raise SystemExit(f"dictionary: opencc -c {config} returned {len(lines)} lines for {len(words)}")
    return lines


def load(path, problems):
    raw = open(path, "rb").read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        problems.append(f"not UTF-8: {e}")
        return []
    if "\r" in text:
        problems.append("CR line ends")
    if not text.endswith("\n"):
        problems.append("no newline at the end")
    db = sqlite3.connect(":memory:")
    lines = [(n, l) for n, l in enumerate(text.split("\n"), 1) if l.strip()]
    for index, (n, line) in enumerate(lines):
        if index == 0 and line != CREATE:
            problems.append(f"line {n}: first statement is not the expected CREATE TABLE")
        version_line = index == len(lines) - 1 and VERSION_LINE.match(line)
        if index > 0 and not version_line and not (line.startswith(INSERT_HEAD) and line.endswith(");")):
            problems.append(f"line {n}: not an INSERT INTO {TABLE} statement")
        try:
            db.execute(line)
        except sqlite3.Error as e:
            problems.append(f"line {n}: {e}: {line[:80]}")
    try:
        rows = db.execute(f"SELECT {', '.join(COLUMNS)} FROM {TABLE} ORDER BY ID").fetchall()
    except sqlite3.Error as e:
        problems.append(str(e))
        return []
    return [dict(zip(COLUMNS, row)) for row in rows]


def check_rows(rows, problems, min_rows):
    if len(rows) < min_rows:
        problems.append(f"only {len(rows)} rows, want at least {min_rows}")
    seen = {"ChineseK": {}, "JapaneseK": {}, "EnglishK": {}}
    for expect_id, r in enumerate(rows, 1):
        rid = r["ID"]
        where = f"ID {rid} {r['ChineseK']}"
        if rid != expect_id:
            problems.append(f"{where}: IDs are not 1..N in file order (expected {expect_id})")
        for col in COLUMNS[1:]:
            value = r[col]
            if value is None:
                if col not in OPTIONAL:
                    problems.append(f"{where}: {col} is empty")
                continue
            if not isinstance(value, str) or value != value.strip() or "  " in value or value == "":
                problems.append(f"{where}: {col} has stray blanks or is not text: {value!r}")
        if any(r[c] is None for c in ("ChineseK", "ChineseH", "JapaneseK", "JapaneseH", "EnglishK")):
            continue
        for col, norm in (("ChineseK", str), ("JapaneseK", str), ("EnglishK", str.casefold)):
            k = norm(r[col])
            if k in seen[col]:
                problems.append(f"{where}: duplicate {col} {r[col]!r}, already ID {seen[col][k]}")
            seen[col][k] = rid

        word, reading = r["ChineseK"], r["ChineseH"]
        for ch in word:
            if not (is_han(ch) or ch.isascii() and ch.isalpha()):
                problems.append(f"{where}: unexpected character {ch!r} in ChineseK")
        parts, tokens = units(word), reading.split(" ")
        if len(parts) != len(tokens):
            problems.append(f"{where}: {len(tokens)} syllables in {reading!r} for {len(parts)} characters")
        else:
            for part, token in zip(parts, tokens):
                if part.isascii():
                    if token != part:
                        problems.append(f"{where}: {token!r} should copy the letters {part!r}")
                elif syllable_fault(token):
                    problems.append(f"{where}: {token!r}: {syllable_fault(token)}")
        if r["ChineseKey"] != chinese_key(reading):
            problems.append(f"{where}: ChineseKey {r['ChineseKey']!r} should be {chinese_key(reading)!r}")
        if r["JapaneseKey"] != r["JapaneseH"]:
            problems.append(f"{where}: JapaneseKey differs from JapaneseH")
        if not HIRAGANA_READING.match(r["JapaneseH"]):
            problems.append(f"{where}: JapaneseH {r['JapaneseH']!r} is not hiragana only")
    check_english(rows, seen["EnglishK"], problems)
    check_loanwords(rows, problems)


def check_english(rows, english_ids, problems):
    for r in rows:
        english, alts = r["EnglishK"], alternatives(r["EnglishA"])
        if english is None:
            continue
        where = f"ID {r['ID']} {english!r}"
        for pattern, why in HOUSE_STYLE:
            if pattern.search(english):
                problems.append(f"{where}: one spelling per term: {why}")
        wanted = [re.sub(p, other, english) for p, other in SPELLINGS if re.search(p, english)]
        if ascii_fold(english) != english:
            wanted.append(ascii_fold(english))
        for form in wanted:
            if form not in alts:
                problems.append(f"{where}: EnglishA should list the other spelling {form!r}")
        for alt in alts:
            if not alt or alt != alt.strip():
                problems.append(f"{where}: EnglishA {r['EnglishA']!r} is not a '; ' separated list")
            elif alt.casefold() == english.casefold() or alts.count(alt) > 1:
                problems.append(f"{where}: EnglishA repeats {alt!r}")
            elif alt.casefold() in english_ids:
                problems.append(f"{where}: EnglishA {alt!r} is the English word of ID {english_ids[alt.casefold()]}")


def check_loanwords(rows, problems):
    """One katakana form per loanword: フィルタ and フィルター are not both used."""
    runs = {}
    for r in rows:
        for col in ("JapaneseK", "Note1"):
            for run in KATAKANA_RUN.findall(r[col] or ""):
                runs.setdefault(run, r["ID"])
    long_forms = [u for u in runs if u.endswith("ー") and len(u) >= 3]
    for u in long_forms:
        stem = u[:-1]
        for v in runs:
            if v.endswith("ー") or len(v) < 3:
                continue
            common = 0
            while common < min(len(stem), len(v)) and stem[-1 - common] == v[-1 - common]:
                common += 1
            if common >= 3 and (common == len(v) or common == len(stem) or common >= 4):
                problems.append(f"loanword written two ways: {u} (ID {runs[u]}) and {v} (ID {runs[v]})")


def library_readings(rows):
    """Yields (field, word, ours, library, hint) for each word or reading that differs."""
    from pypinyin import Style, lazy_pinyin, pinyin
    import pykakasi

    words = [r["ChineseK"] or "" for r in rows]
    taiwan = opencc("s2tw.json", words)
    simplified = opencc("t2s.json", words)
    kakasi = pykakasi.kakasi()
    for r, tw, simple in zip(rows, taiwan, simplified):
        word, ours = r["ChineseK"], r["ChineseH"]
        if word and tw != word:
            yield "ChineseK", word, word, tw, "not Traditional Chinese as used in Taiwan"
        if word and ours:
            # pypinyin's phrase table is keyed by simplified words.
            lib = lazy_pinyin(simple, style=Style.TONE)
            if ours.replace(" ", "") != "".join(lib):
                choices = pinyin(word, style=Style.TONE, heteronym=True)
                hint = "characters: " + " ".join("/".join(c) for c in choices)
                yield "ChineseH", word, ours, " ".join(lib), hint
        word, ours = r["JapaneseK"], r["JapaneseH"]
        if word and ours:
            lib = "".join(item["hira"] for item in kakasi.convert(word))
            lib = re.sub(r"[\s・･]", "", lib)
            lib = "".join(LETTER_NAMES.get(c.upper(), c) if c.isascii() and c.isalpha() else c
                          for c in lib)
            if ours != lib:
                yield "JapaneseH", word, ours, lib, ""


def load_exceptions(path, problems):
    listed = {}
    if not os.path.exists(path):
        return listed
    name = os.path.basename(path)
    lines = open(path, encoding="utf-8").read().split("\n")
    if lines and lines[0] != EXCEPTIONS_HEADER:
        problems.append(f"{name}: unexpected header line")
    for n, line in enumerate(lines[1:], 2):
        if not line.strip():
            continue
        cells = line.split("\t")
        if len(cells) != 5 or not cells[4].strip():
            problems.append(f"{name} line {n}: want 5 columns with a reason")
            continue
        key = (cells[0], cells[1])
        if key in listed:
            problems.append(f"{name} line {n}: {cells[1]} listed twice")
        listed[key] = (cells[2], cells[3], n)
    return listed


def check(sql_path, exceptions_path, min_rows=MIN_ROWS, verbose=False):
    """Returns (problems, rows, number of reviewed exceptions)."""
    problems = []
    rows = load(sql_path, problems)
    check_rows(rows, problems, min_rows)
    listed = load_exceptions(exceptions_path, problems)
    used, reviewed = set(), 0
    for field, word, ours, lib, hint in library_readings(rows):
        entry = listed.get((field, word))
        if entry and entry[0] == ours and entry[1] == lib:
            used.add((field, word))
            reviewed += 1
            if verbose:
                print(f"  listed   {field} {word}: ours {ours} / library {lib}")
            continue
        if field == "ChineseK":
            problems.append(f"{word}: {hint}: OpenCC s2tw gives {lib}")
        else:
            extra = f" ({hint})" if hint else ""
            problems.append(f"unlisted reading difference {field} {word}: ours {ours} / library {lib}{extra}")
    for key, (_, _, n) in sorted(listed.items(), key=lambda kv: kv[1][2]):
        if key not in used:
            problems.append(f"stale exception, line {n}: {key[0]} {key[1]} no longer differs as listed")
    return problems, rows, reviewed


def check_versions(sql_path, problems):
    """The content version, its history and its recorded checksum."""
    lines = [l for l in open(sql_path, encoding="utf-8").read().split("\n") if l.strip()]
    match = VERSION_LINE.match(lines[-1]) if lines else None
    if not match:
        problems.append('the last line is not "PRAGMA user_version = N;"')
        return
    version = int(match.group(1))
    for v in range(1, version):
        if not os.path.exists(os.path.join(HISTORY_DIR, f"Mox5StatWord.v{v}.sql")):
            problems.append(f"version {v} is not kept as data/history/Mox5StatWord.v{v}.sql")
    digest = hashlib.sha256(("\n".join(lines[:-1]) + "\n").encode("utf-8")).hexdigest()
    recorded = {}
    for line in open(SUMS_PATH, encoding="utf-8"):
        parts = line.split()
        if len(parts) == 2 and parts[0].isdigit():
            recorded[int(parts[0])] = parts[1]
    if recorded.get(version) != digest:
        problems.append(f"the content is not version {version} as data/history/Mox5StatWord.sha256 records it: "
                        f"keep the file of version {version} as data/history/Mox5StatWord.v{version}.sql, "
                        f"make the last line version {version + 1} and record \"{version + 1} {digest}\"")


def self_test():
    """Breaks copies of the first rows in three ways; each must be reported."""
    sql_lines = open(SQL_PATH, encoding="utf-8").read().split("\n")
    head = sql_lines[:81]
    words = set()
    for line in head[1:]:
        words.update(re.findall(r"'((?:[^']|'')*)'", line)[2:5:2])
    exc_lines = open(EXCEPTIONS_PATH, encoding="utf-8").read().split("\n")
    exc_head = [exc_lines[0]] + [l for l in exc_lines[1:] if l.split("\t")[1:2] and l.split("\t")[1] in words]
    last = head[-1]
    n = len(head) - 1
    cases = [
        ("intact", head, exc_head, None),
        ("simplified character", [head[0]] + [head[1].replace("'統計學'", "'统计學'")] + head[2:],
         exc_head, "not Traditional Chinese"),
        ("stale exception", head, exc_head + ["ChineseH\t統計學\ttǒng jì xué\ttǒng jì xuè\tno longer true"],
         "stale exception"),
        ("duplicate", head + [last.replace(f"VALUES ({n}, ", f"VALUES ({n + 1}, ")],
         exc_head, "duplicate "),
    ]
    failed = 0
    with tempfile.TemporaryDirectory() as tmp:
        changed = os.path.join(tmp, "changed.sql")
        open(changed, "w", encoding="utf-8").write(
            open(SQL_PATH, encoding="utf-8").read().replace("'記述統計'", "'記述統計 '", 1))
        for name, path, want in (("version intact", SQL_PATH, None),
                                 ("content changed, version not", changed, "is not version")):
            problems = []
            check_versions(path, problems)
            ok = not problems if want is None else bool(problems) and all(want in p for p in problems)
            print(f"dictionary self-test: {name}: {'ok' if ok else 'WRONG'}")
            if not ok:
                failed += 1
                for p in problems:
                    print(f"    {p}")
        for name, sql, exc, want in cases:
            sql_path, exc_path = os.path.join(tmp, "t.sql"), os.path.join(tmp, "e.tsv")
            open(sql_path, "w", encoding="utf-8").write("\n".join(sql) + "\n")
            open(exc_path, "w", encoding="utf-8").write("\n".join(exc) + "\n")
            problems, _, _ = check(sql_path, exc_path, min_rows=n)
            if want is None:
                ok = not problems
            else:
                ok = bool(problems) and all(want in p for p in problems)
            print(f"dictionary self-test: {name}: {'ok' if ok else 'WRONG'}"
                  + (f": {problems[0]}" if problems and ok else ""))
            if not ok:
                failed += 1
                for p in problems:
                    print(f"    {p}")
    return 1 if failed else 0


def main():
    args = sys.argv[1:]
    if "--self-test" in args:
        return self_test()
    paths = {"--sql": SQL_PATH, "--exceptions": EXCEPTIONS_PATH}
    for i, arg in enumerate(args[:-1]):
        if arg in paths:
            paths[arg] = args[i + 1]
    problems, rows, reviewed = check(paths["--sql"], paths["--exceptions"], verbose="-v" in args)
    if paths["--sql"] == SQL_PATH:
        check_versions(SQL_PATH, problems)
    for p in problems:
        print("dictionary: " + p)
    topics = {}
    for r in rows:
        topics[r["Note2"]] = topics.get(r["Note2"], 0) + 1
    print("dictionary: " + ", ".join(f"{t} {n}" for t, n in topics.items()))
    status = "FAILED" if problems else "ok"
    print(f"dictionary: {status}: {len(rows)} rows, {reviewed} reviewed exceptions, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
