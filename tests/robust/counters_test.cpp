// The leak checks rest on these counters, so each must first be seen to move
// when a program leaks on purpose, and to stand still when it does nothing.
#include "tests/robust/counters.h"
#include "tests/robust/drive.h"
#include "tests/robust/leaky.h"
#include "tests/robust/robust.h"
#include "tests/ui/harness.h"

#include <gtest/gtest.h>

namespace robust {
namespace {

struct Leak {
    const char* what;
    UINT message;
    long long Resources::*counter;
    long long atLeast;
};

const Leak kLeaks[] = {
    {"brushes", leaky::kLeakBrushes, &Resources::gdiObjects, leaky::kCount},
    {"icons", leaky::kLeakIcons, &Resources::gdiObjects, leaky::kCount},
    {"child windows", leaky::kLeakWindows, &Resources::windows, leaky::kCount},
    {"events", leaky::kLeakHandles, &Resources::kernelHandles, leaky::kCount},
    {"touched memory (working set)", leaky::kLeakMemory, &Resources::workingSetKb, leaky::kMemoryBytes / 1024 * 9 / 10},
    {"touched memory (private bytes)", leaky::kLeakMemory, &Resources::privateKb, leaky::kMemoryBytes / 1024 * 9 / 10},
};

TEST(Counters, EachSeesALeakMadeOnPurposeAndStandsStillOtherwise) {
    ToolProcess leaky(L"robust_leaky.exe");
    HWND window = nullptr;
    ASSERT_TRUE(ui::WaitFor([&] { return (window = ::FindWindowW(leaky::kClassName, nullptr)) != nullptr; }, 20000));

    const Resources quiet = Measure(leaky.Id());
    ::Sleep(300);
    const Resources still = Measure(leaky.Id());
    EXPECT_EQ(still.gdiObjects, quiet.gdiObjects);
    EXPECT_EQ(still.kernelHandles, quiet.kernelHandles);
    EXPECT_EQ(still.windows, quiet.windows);

    std::string seen;
    for (const Leak& leak : kLeaks) {
        SCOPED_TRACE(leak.what);
        const Resources before = Measure(leaky.Id());
        ASSERT_GE(before.*leak.counter, 0) << "counter not available";
        DWORD_PTR answer = 0;
        ASSERT_TRUE(::SendMessageTimeoutW(window, leak.message, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer));
        const Resources after = Measure(leaky.Id());
        EXPECT_GE(after.*leak.counter - before.*leak.counter, leak.atLeast) << Deltas(before, after);
        seen += std::string(seen.empty() ? "" : "; ") + leak.what + ": " + Deltas(before, after);
    }
    Report({"counters seen moving (robust_leaky.exe)", std::size(kLeaks), 0, 0, 0, "-", seen});
}

}  // namespace
}  // namespace robust
