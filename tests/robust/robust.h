// Shared pieces of the robustness suite: how big a run is, the summary table
// it prints at the end, and texts for failure messages.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace robust {

// HORLOMAT_ROBUST=full selects the full sizes; anything else the reduced ones
// that the ordinary test run uses.
bool FullRun();

// `reduced` in the ordinary run, `full` in the full one.
std::size_t Size(std::size_t reduced, std::size_t full);

// One line of the summary table.
struct ReportRow {
    std::string part;
    std::size_t inputs = 0;
    std::size_t crashes = 0;
    std::size_t hangs = 0;
    std::size_t filesWrong = 0;  // settings lost or changed wrongly
    std::string leaks;           // counter deltas, or "-"
    std::string notes;
};
void Report(ReportRow row);
// The table of every row reported so far, one line per row.
std::string ReportTable();

// A text with everything outside printable ASCII written as \uXXXX, cut to
// `limit` characters, for failure messages.
std::string Escaped(const std::wstring& text, std::size_t limit = 80);

}  // namespace robust
