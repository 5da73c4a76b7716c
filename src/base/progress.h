#pragma once

#include <cstdint>
#include <functional>

// Where progress is shown: the main window's progress bar.
class IProgressDisplay {
public:
    virtual ~IProgressDisplay() = default;
    virtual void showProgress(int percent) = 0;  // 0 to 100; shows the bar when hidden
    virtual void hideProgress() = 0;
};

// How far a long piece of work has come. The work calls begin with the number of
// steps it will take, step as it goes and end when done (ProgressScope does the
// pairing). Nothing is shown for work that ends within half a second; after that
// the display follows the steps, and it is hidden again at the end. Work started
// inside other work is counted as part of the outer work: only the outermost
// begin, step and end move the display.
class Progress {
public:
    static constexpr std::int64_t kShowAfterMs = 500;
    using Clock = std::function<std::int64_t()>;  // milliseconds, never going back

    Progress();

    void setDisplay(IProgressDisplay* display) { m_display = display; }
    void setClock(Clock clock) { m_clock = std::move(clock); }

    void begin(std::int64_t total);
    void step(std::int64_t count = 1);
    void end();

    bool busy() const { return m_depth > 0; }
    bool shown() const { return m_shown; }
    int percent() const;

private:
    void check();

    IProgressDisplay* m_display = nullptr;
    Clock m_clock;
    int m_depth = 0;
    std::int64_t m_total = 0;
    std::int64_t m_done = 0;
    std::int64_t m_nextCheck = 0;
    std::int64_t m_started = 0;
    int m_lastPercent = -1;
    bool m_shown = false;
};

// begin on construction, end on every way out of the scope.
class ProgressScope {
public:
    ProgressScope(Progress* progress, std::int64_t total) : m_progress(progress) {
        if (m_progress) m_progress->begin(total);
    }
    ~ProgressScope() {
        if (m_progress) m_progress->end();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void step(std::int64_t count = 1) {
        if (m_progress) m_progress->step(count);
    }

private:
    Progress* m_progress;
};
