// One line of the table that bench/run-all prints: a path of caspo beside its lower bound. Every
// benchmark prints one such line per figure it measures, besides its own report:
//
//   TABLE<TAB>path<TAB>caspo<TAB>lower bound<TAB>ratio<TAB>goal<TAB>met|missed
//
// `caspo` and `bound` are the two measured figures with their units ("1.234 s", "512.0 MiB");
// the goal reads like "<= 1.2" or ">= 0.95".
#pragma once

#include <cstdio>
#include <string>

namespace hvx::bench {

enum class Goal { AtMost, AtLeast };

inline void PrintTableRow(const std::string& path, const std::string& caspo,
                          const std::string& bound, double ratio, Goal kind, double goal) {
    const bool met = kind == Goal::AtMost ? ratio <= goal : ratio >= goal;
    static_cast<void>(std::printf(
        "TABLE\t%s\t%s\t%s\t%.2f\t%s %.2f\t%s\n", path.c_str(), caspo.c_str(), bound.c_str(), ratio,
        kind == Goal::AtMost ? "<=" : ">=", goal, met ? "met" : "missed"));
    static_cast<void>(std::fflush(stdout));
}

// "1.234 s", "512.0 MiB", "873.1 MB/s".
inline std::string Figure(double value, const char* unit, int decimals = 3) {
    char text[64];
    static_cast<void>(std::snprintf(text, sizeof text, "%.*f %s", decimals, value, unit));
    return text;
}

}  // namespace hvx::bench
