"""Reference values for the library's distribution and test expressions, from mpmath.

Prints one line per call: expression name, x and y as J nouns (x empty when unused), and the
expected result elements, tab separated. Values below 1e-290 are left out, since they lie
under the range the library answers with full relative accuracy.
"""
import math
import sys

from mpmath import mp, mpf, ncdf, npdf, gammainc, binomial, exp, log, sqrt, inf, erf, loggamma

mp.dps = 40


def ibeta(x, a, b):
    """Regularized incomplete beta, DLMF 8.17.8 on the side below the mean (all terms positive)."""
    x, a, b = mpf(x), mpf(a), mpf(b)
    if x <= 0:
        return mpf(0)
    if x >= 1:
        return mpf(1)
    if x > a / (a + b):
        return 1 - ibeta(1 - x, b, a)
    lead = exp(a * log(x) + b * mp.log1p(-x) - log(a) - loggamma(a) - loggamma(b) + loggamma(a + b))
    if lead < mpf("1e-320"):
        return mpf(0)  # far below what is kept
    return lead * mp.hyp2f1(a + b, 1, a + 1, x, maxterms=10**7)


def t_upper(df, t):
    df, t = mpf(df), mpf(t)
    half = ibeta(df / (df + t * t), df / 2, mpf(1) / 2) / 2
    return half if t > 0 else 1 - half


def t_lower(df, t):
    df, t = mpf(df), mpf(t)
    half = ibeta(df / (df + t * t), df / 2, mpf(1) / 2) / 2
    return half if t < 0 else 1 - half


def t_density(df, t):
    df, t = mpf(df), mpf(t)
    return exp(loggamma((df + 1) / 2) - loggamma(df / 2) - (df + 1) / 2 * mp.log1p(t * t / df)) / sqrt(df * mp.pi)


def quantile_of_double(cdf, pdf, x0):
    """The quantile of p = cdf(x0) rounded to a double, by Newton steps from x0."""
    p = mpf(float(cdf(x0)))
    x = x0
    for _ in range(50):
        step = (p - cdf(x)) / pdf(x)
        x += step
        if abs(step) <= abs(x) * mpf("1e-30"):
            break
    return float(p), x


def j(v):
    """A number or list as J text."""
    if isinstance(v, (list, tuple)):
        return " ".join(j(e) for e in v)
    return repr(float(v)).replace("-", "_").replace("e+", "e").replace("inf", "_")


def text(v):
    return mp.nstr(mpf(v), 20, min_fixed=1, max_fixed=0)


rows = []


def emit(name, x, ys, f):
    keep_y, keep_v = [], []
    for y in ys:
        v = f(y)
        if v == 0 or abs(v) > mpf("1e-290"):
            keep_y.append(y)
            keep_v.append(v)
    if keep_y:
        rows.append((name, "" if x is None else j(x), j(keep_y), " ".join(text(v) for v in keep_v)))


def emit_result(name, x, y, values):
    rows.append((name, j(x), j(y), " ".join(text(v) for v in values)))


DFS = [1, 2, 3, 4, 5, 7, 10, 20, 30, 50, 100, 300, 1000, 1e4, 1e5, 1e6]

zs = [z / 4 for z in range(-148, 149, 3)] + [-1e-3, 1e-6, 1e-3]
emit("標準正規分布の累積確率", None, zs, lambda z: ncdf(mpf(z)))
emit("標準正規分布の上側確率", None, zs, lambda z: ncdf(-mpf(z)))
emit("誤差関数", None, [z / 8 for z in range(-48, 49, 2)] + [1e-8], lambda z: erf(mpf(z)))

ps, qs = [], []
for z in [-37, -30, -20, -12, -8, -5, -3, -2, -1.5, -1, -0.6, -0.2, -1e-4, 1e-6, 0.1, 0.5, 0.9, 1.3, 2, 2.5, 3.3, 4, 6, 8]:
    p, q = quantile_of_double(ncdf, npdf, mpf(z))
    if 0 < p < 1:
        ps.append(p)
        qs.append(q)
rows.append(("標準正規分布の分位点", "", j(ps), " ".join(text(q) for q in qs)))

for df in DFS:
    emit("t分布の上側確率", df, [-50, -5, -2, -1, -0.3, 0, 0.3, 1, 2, 3, 5, 10, 37, 100, 1e4], lambda t: t_upper(df, t))
    ps, qs = [], []
    for t in [-1e4, -30, -6, -2.5, -1, -0.2, 1e-3, 0.5, 1.5, 3, 8, 40, 1e3]:
        if df > 1e3 and abs(t) > 20:
            continue
        p, q = quantile_of_double(lambda s: t_lower(df, s), lambda s: t_density(df, s), mpf(t))
        if 0 < p < 1:
            ps.append(p)
            qs.append(q)
    rows.append(("t分布の分位点", j(df), j(ps), " ".join(text(q) for q in qs)))
    xs = [df * 0.05] + [df + k * math.sqrt(2 * df) for k in (-2, -1, 0, 1, 2, 4, 8, 16, 30) if df + k * math.sqrt(2 * df) > 0]
    emit("カイ二乗分布の上側確率", df, xs, lambda x: gammainc(mpf(df) / 2, mpf(x) / 2, inf, regularized=True))

for d1, d2 in [(1, 1), (1, 10), (2, 5), (3, 30), (10, 10), (5, 1000), (100, 100), (1, 1e6), (4, 1e6), (1e3, 1e5), (1e6, 1e6)]:
    emit("F分布の上側確率", [d1, d2], [0.01, 0.3, 0.8, 0.99, 1, 1.01, 1.2, 2, 4, 10, 100, 1e4],
         lambda f: ibeta(mpf(d2) / (d2 + d1 * mpf(f)), mpf(d2) / 2, mpf(d1) / 2))

for n, p in [(1, 0.5), (10, 0.3), (20, 0.001), (100, 0.5), (1000, 0.1), (1e5, 0.4), (1e6, 0.999)]:
    n = int(n)
    ks = sorted({int(round(n * f)) for f in (0, 0.001, 0.05, 0.3, 0.399, 0.5, 0.7, 0.95, 0.999, 1)})
    pm = mpf(p)
    emit("二項分布の確率", [n, p], ks, lambda k: binomial(n, k) * pm**k * (1 - pm) ** (n - k))
    emit("二項分布の累積確率", [n, p], ks, lambda k: ibeta(1 - pm, n - k, k + 1) if k < n else mpf(1))

for lam in [0.01, 1, 3.5, 10, 1000, 1e5]:
    ks = sorted({0, 1, 2, 5, 10, int(lam * 0.8), int(lam), int(lam * 1.5), int(lam * 3)})
    emit("ポアソン分布の確率", lam, ks, lambda k: exp(-mpf(lam)) * mpf(lam) ** k / mp.factorial(k))
    emit("ポアソン分布の累積確率", lam, ks, lambda k: gammainc(k + 1, mpf(lam), inf, regularized=True))

# Tests on small samples; every quantity recomputed here at 40 digits.
a = [5.1, 4.9, 6.2, 5.8, 6.0, 5.5, 5.3, 6.4, 5.9, 4.7]
b = [6.3, 5.7, 7.1, 6.9, 6.0, 7.4, 6.6, 5.9]
c = [4.8, 5.2, 5.9, 5.6, 6.1, 5.0, 5.5, 6.0, 5.7, 4.9]


def mean(v):
    return sum(mpf(e) for e in v) / len(v)


def var(v):
    m = mean(v)
    return sum((mpf(e) - m) ** 2 for e in v) / (len(v) - 1)


def t_two_sided(df, t):
    df, t = mpf(df), mpf(t)
    return ibeta(df / (df + t * t), df / 2, mpf(1) / 2)


for mu0 in (5, 5.5, 7):
    t = (mean(a) - mu0) / sqrt(var(a) / len(a))
    emit_result("1標本t検定", mu0, a, [t, len(a) - 1, t_two_sided(len(a) - 1, t)])
d = [mpf(x) - mpf(y) for x, y in zip(a, c)]
t = mean(d) / sqrt(var(d) / len(d))
emit_result("対応のあるt検定", a, c, [t, len(d) - 1, t_two_sided(len(d) - 1, t)])
for x, y in ((a, b), (b, c)):
    sx, sy = var(x) / len(x), var(y) / len(y)
    t = (mean(x) - mean(y)) / sqrt(sx + sy)
    df = (sx + sy) ** 2 / (sx**2 / (len(x) - 1) + sy**2 / (len(y) - 1))
    emit_result("2標本t検定（Welch）", x, y, [t, df, t_two_sided(df, t)])
    df = len(x) + len(y) - 2
    sp = ((len(x) - 1) * var(x) + (len(y) - 1) * var(y)) / df
    t = (mean(x) - mean(y)) / sqrt(sp * (mpf(1) / len(x) + mpf(1) / len(y)))
    emit_result("2標本t検定（等分散）", x, y, [t, df, t_two_sided(df, t)])
for x, y in ((a, c), (a, [e * e for e in a[::-1]])):
    mx, my = mean(x), mean(y)
    sxy = sum((mpf(p) - mx) * (mpf(q) - my) for p, q in zip(x, y))
    r = sxy / sqrt(sum((mpf(p) - mx) ** 2 for p in x) * sum((mpf(q) - my) ** 2 for q in y))
    t = r * sqrt(len(x) - 2) / sqrt(1 - r * r)
    emit_result("相関係数の検定", x, y, [r, t, t_two_sided(len(x) - 2, t)])
for table in ([[12, 5, 9], [7, 14, 6]], [[30, 10], [12, 28], [8, 9]]):
    rs, cs = [sum(r) for r in table], [sum(col) for col in zip(*table)]
    total = mpf(sum(rs))
    chi = sum((mpf(o) - rs[i] * cs[k] / total) ** 2 / (rs[i] * cs[k] / total)
              for i, row in enumerate(table) for k, o in enumerate(row))
    df = (len(rs) - 1) * (len(cs) - 1)
    rows.append(("カイ二乗独立性検定", "", "%d %d $ %s" % (len(rs), len(cs), j([o for r in table for o in r])),
                 " ".join(text(v) for v in (chi, df, gammainc(mpf(df) / 2, chi / 2, inf, regularized=True)))))
groups = [a, c, [e + 0.4 for e in c]]
k, per = len(groups), len(a)
grand = sum(mean(g) for g in groups) / k
ssb = per * sum((mean(g) - grand) ** 2 for g in groups)
ssw = sum((mpf(e) - mean(g)) ** 2 for g in groups for e in g)
f = (ssb / (k - 1)) / (ssw / (k * per - k))
d1, d2 = k - 1, k * per - k
rows.append(("一元配置分散分析", "", "%d %d $ %s" % (per, k, j([g[i] for i in range(per) for g in groups])),
             " ".join(text(v) for v in (f, d1, d2, ibeta(mpf(d2) / (d2 + d1 * f), mpf(d2) / 2, mpf(d1) / 2)))))

out = sys.stdout
for row in rows:
    out.write("\t".join(row) + "\n")
