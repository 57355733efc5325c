// Generated field texts pressed through the real window. Whatever the fields
// hold, the program answers (label or box), keeps running, and after each
// press the settings file is either unchanged or holds exactly the six keys
// with the texts the fields show, so that the next start shows them again.
#include "tests/robust/counters.h"
#include "tests/robust/drive.h"
#include "tests/robust/field_texts.h"
#include "tests/robust/robust.h"
#include "tests/robust/settings_check.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

namespace robust {
namespace {

std::uint32_t Seed() {
    const char* value = std::getenv("HORLOMAT_ROBUST_SEED");
    return value ? static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10)) : 20261205u;
}

std::string Describe(const Fields& fields) {
    std::string text;
    for (const std::wstring& f : fields) text += (text.empty() ? "\"" : ", \"") + Escaped(f, 40) + "\"";
    return text;
}

bool AllHoldable(const Fields& fields) {
    for (const std::wstring& f : fields) {
        if (!FileCanHold(f)) return false;
    }
    return true;
}

TEST(FieldInput, GeneratedTextsNeverCrashHangOrSpoilTheSettings) {
    const std::size_t count = Size(1000, 10000);
    const std::size_t startChecks = Size(25, 250);
    const DWORD hangMs = 15000;
    const std::uint32_t seed = Seed();
    const std::vector<FieldInput> inputs = GenerateFieldInputs(count, seed);

    const ui::PinnedClock clock(ui::PinnedClock::LocalFromUtc(kPinnedUtc));
    ui::Sandbox sandbox;
    std::optional<ui::App> app;
    app.emplace(sandbox, SW_SHOWNOACTIVATE);
    // Measured once the program has met a good share of the inputs: fonts
    // for new characters and the like are cached by then.
    const std::size_t warmUp = count / 10;
    std::optional<Resources> settled;

    std::map<Outcome, std::size_t> outcomes;
    std::size_t filesWrong = 0;
    std::size_t startsChecked = 0;
    std::size_t reported = 0;
    const auto fail = [&](std::size_t index, const std::string& what) {
        if (++reported <= 20) ADD_FAILURE() << "input " << index << " (" << inputs[index].family << "): " << what;
    };

    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const FieldInput& input = inputs[i];
        if (i == warmUp) settled = Measure(app->ProcessId());
        const std::optional<std::string> before = sandbox.ReadIni();
        app->SetHold(input.hold);
        const ApplyResult r = Apply(*app, input.fields, hangMs);
        ++outcomes[r.outcome];

        if (r.outcome == Outcome::Crash || r.outcome == Outcome::Hang) {
            fail(i, std::string(Name(r.outcome)) + " with " + Describe(input.fields));
            app.reset();
            CloseCrashDialogs();
            app.emplace(sandbox, SW_SHOWNOACTIVATE);
            settled.reset();
            continue;
        }
        if (r.outcome == Outcome::Unchanged) fail(i, "neither a label nor a box for " + Describe(input.fields));

        const Fields shown = ShownFields(*app);
        const std::optional<std::string> after = sandbox.ReadIni();
        if (r.outcome != Outcome::Set) {
            if (after != before) {
                ++filesWrong;
                fail(i, std::string("the file changed although the apply was ") + Name(r.outcome));
            }
            continue;
        }
        const std::string why = after ? CheckHoldsExactly(sandbox.IniPath(), *after, shown, input.hold)
                                       : std::string("no settings file");
        // A text the file cannot hold leaves the earlier file as it was.
        const bool keptEarlier = after == before && !AllHoldable(shown);
        if (!why.empty() && !keptEarlier) {
            ++filesWrong;
            fail(i, "after setting " + Describe(shown) + ": " + why);
            continue;
        }
        // Now and then, and whenever a text had to be quoted, a second start
        // on the same folder must really show what was stored.
        const bool quoted = after && after->find('"') != std::string::npos;
        if (why.empty() && startsChecked < startChecks && (quoted || i % 97 == 0)) {
            ++startsChecked;
            const ui::App next(sandbox, SW_SHOWNOACTIVATE);
            const Fields restored = ShownFields(next);
            if (restored != shown || next.HoldChecked() != input.hold) {
                ++filesWrong;
                fail(i, "stored " + Describe(shown) + ", the next start shows " + Describe(restored));
            }
        }
    }
    EXPECT_TRUE(app->Running());
    const std::string deltas =
        settled ? Deltas(*settled, Measure(app->ProcessId())) + " after " + std::to_string(warmUp) + " inputs" : "-";

    std::string notes = "seed " + std::to_string(seed);
    for (const auto& [outcome, n] : outcomes) notes += std::string(", ") + Name(outcome) + " " + std::to_string(n);
    notes += ", second starts checked " + std::to_string(startsChecked);
    Report({"field texts pressed through the window", inputs.size(), outcomes[Outcome::Crash],
            outcomes[Outcome::Hang], filesWrong, deltas, notes});
    EXPECT_EQ(outcomes[Outcome::Crash], 0u);
    EXPECT_EQ(outcomes[Outcome::Hang], 0u);
    EXPECT_EQ(filesWrong, 0u);
    EXPECT_GT(outcomes[Outcome::Set], inputs.size() / 10) << "too few texts set the clock to test the storing";
}

}  // namespace
}  // namespace robust
