"""Checks the shipped statistics-term table (data/Mox5StatWord.sql).

The file must load line by line as the program loads it, its keys must follow
from its readings, and every reading must agree with pypinyin / pykakasi unless
data/dictionary_reading_exceptions.tsv lists the difference with a reason.

Reading conventions checked here:
  ChineseK   traditional characters, Taiwan usage.
  ChineseH   Hanyu Pinyin with tone marks, one blank between syllables;
             Latin letters in the word are copied as they are.
  ChineseKey ChineseH in lower case, tone marks and blanks removed, ü written v.
  JapaneseH  hiragana and ー only; katakana is written in hiragana, keeping ー;
             ・ is not read; a Latin letter is read by its name (t → てぃー).
  JapaneseKey equal to JapaneseH.
"""
import os
import re
import sqlite3
import sys
import unicodedata

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SQL_PATH = os.path.join(ROOT, "data", "Mox5StatWord.sql")
EXCEPTIONS_PATH = os.path.join(ROOT, "data", "dictionary_reading_exceptions.tsv")
TABLE = "Mox5StatWord"
COLUMNS = ["ID", "ChineseKey", "JapaneseKey", "ChineseK", "ChineseH",
           "JapaneseK", "JapaneseH", "EnglishK", "Note1", "Note2"]
CREATE = ("CREATE TABLE Mox5StatWord (ID INTEGER PRIMARY KEY, ChineseKey TEXT, "
          "JapaneseKey TEXT, ChineseK TEXT, ChineseH TEXT, JapaneseK TEXT, "
          "JapaneseH TEXT, EnglishK TEXT, Note1 TEXT, Note2 TEXT);")
INSERT_HEAD = "INSERT INTO Mox5StatWord (" + ", ".join(COLUMNS) + ") VALUES ("
MIN_ROWS = 600

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

# Traditional -> simplified pairs. pypinyin's phrase table is keyed by
# simplified words, so the library reading is taken from the simplified form.
T2S_PAIRS = """
亂乱 係系 倫伦 偽伪 傑杰 備备 傾倾 價价 內内 兩两 凱凯 則则 劑剂 動动 勝胜 勢势
勻匀 區区 參参 問问 單单 圓圆 圖图 學学 實实 寬宽 對对 層层 帶带 幾几 庫库 廣广
後后 徑径 徵征 強强 態态 愛爱 憶忆 應应 擇择 擬拟 擴扩 換换 損损 敘叙 斂敛 數数
斷断 時时 條条 極极 構构 槓杠 桿杆 標标 樞枢 樣样 樹树 機机 橫横 檢检 權权 歐欧
歸归 殘残 決决 減减 測测 準准 溫温 滾滚 漢汉 漸渐 潛潜 濾滤 無无 燒烧 爾尔 狀状
獨独 現现 瑪玛 環环 當当 療疗 發发 異异 眾众 確确 稱称 積积 穩稳 節节 篩筛 簡简
紐纽 純纯 級级 細细 組组 結结 絕绝 統统 經经 維维 網网 線线 緻致 縮缩 總总 續续
義义 羅罗 聯联 脹胀 臘腊 臨临 與与 茲兹 莖茎 華华 萊莱 葉叶 蘭兰 處处 虛虚 號号
術术 複复 規规 視视 覺觉 觀观 計计 訊讯 記记 設设 診诊 試试 誤误 調调 論论 諧谐
諾诺 證证 譜谱 議议 變变 貝贝 負负 費费 資资 賓宾 質质 賴赖 趨趋 蹤踪 軛轭 軸轴
較较 輯辑 轉转 迴回 連连 週周 運运 過过 達达 適适 選选 遺遗 邊边 邏逻 鄧邓 鄰邻
釋释 錯错 鏈链 長长 間间 關关 陣阵 陰阴 陽阳 階阶 際际 隨随 險险 雙双 雜杂 離离
韋韦 項项 順顺 預预 頓顿 頻频 額额 類类 顯显 風风 餅饼 餘余 馬马 驗验 體体 鬚须
魯鲁 麥麦 點点 佈布 們们 個个 為为 這这 來来 會会 說说 從从 國国 東东 車车 開开
門门 見见 書书 電电 業业 產产 務务 頭头 題题 種种 壓压 熱热 圍围 優优 劃划 歷历
樂乐 導导 萬万 億亿 據据 獻献 齊齐 歲岁 識识 讀读 寫写 舊旧 衛卫 醫医
"""
T2S = dict(p for p in T2S_PAIRS.split())
# Simplified forms that are also ordinary traditional characters.
SHARED = set("系几后征杠杆准致腊叶回周余布")
SIMPLIFIED_ONLY = set(T2S.values()) - SHARED - set(T2S)
# Forms that are traditional but not the Taiwan standard one.
NOT_TAIWAN = {"爲": "為", "綫": "線", "裏": "裡", "着": "著", "衆": "眾",
              "敍": "敘", "啓": "啟", "羣": "群", "峯": "峰", "眞": "真"}

LETTER_NAMES = dict(zip("ABCDEFGHIJKLMNOPQRSTUVWXYZ", [
    "えー", "びー", "しー", "でぃー", "いー", "えふ", "じー", "えいち", "あい",
    "じぇー", "けー", "える", "えむ", "えぬ", "おー", "ぴー", "きゅー", "あーる",
    "えす", "てぃー", "ゆー", "ぶい", "だぶりゅー", "えっくす", "わい", "ぜっと"]))
HIRAGANA_READING = re.compile(r"^[\u3041-\u3096ー]+$")


def is_han(ch):
    return "CJK UNIFIED IDEOGRAPH" in unicodedata.name(ch, "")


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
        if index > 0 and not (line.startswith(INSERT_HEAD) and line.endswith(");")):
            problems.append(f"line {n}: not an INSERT INTO {TABLE} statement")
        try:
            db.execute(line)
        except sqlite3.Error as e:
            problems.append(f"line {n}: {e}: {line[:80]}")
    try:
        return db.execute(f"SELECT {', '.join(COLUMNS)} FROM {TABLE} ORDER BY ID").fetchall()
    except sqlite3.Error as e:
        problems.append(str(e))
        return []


def check_rows(rows, problems):
    if len(rows) < MIN_ROWS:
        problems.append(f"only {len(rows)} rows, want at least {MIN_ROWS}")
    seen = {"ChineseK": {}, "JapaneseK": {}, "EnglishK": {}}
    for expect_id, row in enumerate(rows, 1):
        r = dict(zip(COLUMNS, row))
        rid = r["ID"]
        where = f"ID {rid} {r['ChineseK']}"
        if rid != expect_id:
            problems.append(f"{where}: IDs are not 1..N in file order (expected {expect_id})")
        for col in COLUMNS[1:]:
            value = r[col]
            if value is None:
                if col not in ("Note1", "Note2"):
                    problems.append(f"{where}: {col} is empty")
                continue
            if not isinstance(value, str) or value != value.strip() or "  " in value or value == "":
                problems.append(f"{where}: {col} has stray blanks or is not text: {value!r}")
        if any(r[c] is None for c in ("ChineseK", "ChineseH", "JapaneseK", "JapaneseH", "EnglishK")):
            continue
        for col, norm in (("ChineseK", str), ("JapaneseK", str), ("EnglishK", str.casefold)):
            k = norm(r[col])
            if k in seen[col]:
                problems.append(f"{where}: {col} {r[col]!r} repeats ID {seen[col][k]}")
            seen[col][k] = rid

        word, reading = r["ChineseK"], r["ChineseH"]
        for ch in word:
            if ch in SIMPLIFIED_ONLY:
                problems.append(f"{where}: simplified character {ch}")
            elif ch in NOT_TAIWAN:
                problems.append(f"{where}: {ch} is not the Taiwan form {NOT_TAIWAN[ch]}")
            elif not (is_han(ch) or ch.isascii() and ch.isalpha()):
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


def library_readings(rows):
    """Yields (field, word, ours, library, hint) for each reading that differs."""
    from pypinyin import Style, lazy_pinyin, pinyin
    import pykakasi

    kakasi = pykakasi.kakasi()
    for row in rows:
        r = dict(zip(COLUMNS, row))
        word, ours = r["ChineseK"], r["ChineseH"]
        if word and ours:
            lib = lazy_pinyin("".join(T2S.get(c, c) for c in word), style=Style.TONE)
            if ours.replace(" ", "") != "".join(lib):
                choices = pinyin(word, style=Style.TONE, heteronym=True)
                hint = " ".join("/".join(c) for c in choices)
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
    lines = open(path, encoding="utf-8").read().split("\n")
    if lines and lines[0] != "field\tword\tour reading\tlibrary reading\treason":
        problems.append(f"{os.path.basename(path)}: unexpected header line")
    for n, line in enumerate(lines[1:], 2):
        if not line.strip():
            continue
        cells = line.split("\t")
        if len(cells) != 5 or not cells[4].strip():
            problems.append(f"{os.path.basename(path)} line {n}: want 5 columns with a reason")
            continue
        key = (cells[0], cells[1])
        if key in listed:
            problems.append(f"{os.path.basename(path)} line {n}: {cells[1]} listed twice")
        listed[key] = (cells[2], cells[3], n)
    return listed


def main():
    verbose = "-v" in sys.argv[1:]
    problems = []
    rows = load(SQL_PATH, problems)
    check_rows(rows, problems)
    listed = load_exceptions(EXCEPTIONS_PATH, problems)

    used, reviewed = set(), 0
    for field, word, ours, lib, hint in library_readings(rows):
        entry = listed.get((field, word))
        if entry and entry[0] == ours and entry[1] == lib:
            used.add((field, word))
            reviewed += 1
            if verbose:
                print(f"  listed   {field} {word}: ours {ours} / library {lib}")
            continue
        extra = f" (characters: {hint})" if hint else ""
        problems.append(f"unlisted reading difference {field} {word}: ours {ours} / library {lib}{extra}")
    for key, (_, _, n) in sorted(listed.items(), key=lambda kv: kv[1][2]):
        if key not in used:
            problems.append(f"stale exception, line {n}: {key[0]} {key[1]} no longer differs as listed")

    for p in problems:
        print("dictionary: " + p)
    topics = {}
    for row in rows:
        topics[row[9]] = topics.get(row[9], 0) + 1
    print("dictionary: " + ", ".join(f"{t} {n}" for t, n in topics.items()))
    status = "FAILED" if problems else "ok"
    print(f"dictionary: {status}: {len(rows)} rows, {reviewed} reviewed reading exceptions, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
