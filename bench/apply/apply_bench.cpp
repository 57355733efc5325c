// Times "Zeit setzen" from outside, against a pinned clock so that every
// apply succeeds: the time from a press until the label shows the result,
// over many applies, then the period of the real once-a-minute timer.
//   apply_bench.exe [applies, default 1000] [ticks, default 3]
// Needs the environment of the UI tests (HORLOMAT_EXE, HORLOMAT_CLOCK_FILE,
// libfaketime); bench/apply_bench.sh sets it up.
#include "tests/harness.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Milliseconds(LONGLONG ticks) {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency);
}

LONGLONG Counter() {
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return c.QuadPart;
}

double Percentile(std::vector<double> sorted, double p) {
    const size_t index = static_cast<size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[index];
}

}  // namespace

int main(int argc, char** argv) {
    const int applies = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int ticks = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    using namespace ui;

    PinnedClock clock;
    Sandbox sandbox;
    App app(sandbox);
    const LONGLONG windowUp = Counter();
    app.SetFields(kPinnedFields);
    const std::wstring expected = kPinnedLabel;

    // The first applies create the settings file.
    for (int i = 0; i < 20; ++i) app.Click(ids::cmdZeitSetzen);

    std::vector<double> latencies;
    latencies.reserve(static_cast<size_t>(applies));
    int wrong = 0;
    for (int i = 0; i < applies; ++i) {
        app.SetText(ids::lblGesetzteZeit, L"");
        const LONGLONG start = Counter();
        app.Click(ids::cmdZeitSetzen);
        const std::wstring label = app.Text(ids::lblGesetzteZeit);
        latencies.push_back(Milliseconds(Counter() - start));
        if (label != expected) ++wrong;
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf(
        "Press to label, %d applies: median %.3f ms (10th percentile %.3f, 90th %.3f, slowest %.3f); "
        "%d wrong labels\n",
        applies, Percentile(latencies, 0.5), Percentile(latencies, 0.1), Percentile(latencies, 0.9), latencies.back(),
        wrong);
    std::fflush(stdout);

    // The timer runs from the window's creation; each tick sets the label again.
    app.SetTicked(true);
    std::vector<double> at;  // seconds since the window was up
    for (int i = 0; i < ticks; ++i) {
        app.SetText(ids::lblGesetzteZeit, L"");
        if (!WaitFor([&] { return !app.Text(ids::lblGesetzteZeit).empty(); }, 70000)) {
            std::printf("Timer1: no tick within 70 s\n");
            return 1;
        }
        at.push_back(Milliseconds(Counter() - windowUp) / 1000.0);
        std::printf("  tick %d at %.3f s\n", i + 1, at.back());
        std::fflush(stdout);
    }
    std::string periods;
    for (size_t i = 1; i < at.size(); ++i) {
        char text[32];
        std::snprintf(text, sizeof(text), "%s%.3f s", i > 1 ? ", " : "", at[i] - at[i - 1]);
        periods += text;
    }
    std::printf("Timer1, %d ticks: the first %.3f s after the window was up", ticks, at.front());
    if (!periods.empty()) std::printf(", then %s apart", periods.c_str());
    std::printf("\n");
    return 0;
}
