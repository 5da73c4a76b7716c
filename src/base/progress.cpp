#include "base/progress.h"

#include <QElapsedTimer>

#include <algorithm>
#include <memory>

Progress::Progress() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    m_clock = [timer] { return static_cast<std::int64_t>(timer->elapsed()); };
}

void Progress::begin(std::int64_t total) {
    if (m_depth++ > 0) return;
    m_total = std::max<std::int64_t>(total, 0);
    m_done = 0;
    m_lastPercent = -1;
    m_shown = false;
    m_started = m_clock();
    // The clock is read about every half percent, not on every step.
    m_nextCheck = 0;
}

int Progress::percent() const {
    if (m_total <= 0) return 0;
    return static_cast<int>(std::min<std::int64_t>(100, m_done * 100 / m_total));
}

void Progress::step(std::int64_t count) {
    if (m_depth != 1) return;
    m_done = std::min(m_total, m_done + std::max<std::int64_t>(count, 0));
    if (m_done >= m_nextCheck || m_done == m_total) check();
}

void Progress::check() {
    m_nextCheck = m_done + std::max<std::int64_t>(1, m_total / 200);
    if (!m_shown) {
        if (m_clock() - m_started < kShowAfterMs) return;
        m_shown = true;
    }
    const int p = percent();
    if (p == m_lastPercent) return;
    m_lastPercent = p;
    if (m_display) m_display->showProgress(p);
}

void Progress::end() {
    if (m_depth == 0 || --m_depth > 0) return;
    if (m_shown && m_display) m_display->hideProgress();
    m_shown = false;
    m_total = m_done = 0;
}
