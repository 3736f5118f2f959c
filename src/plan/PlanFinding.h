#pragma once

#include <QString>

// One finding of the plan's checks: how serious it is, a sentence the couple understands,
// and the wizard page where it is mended (1 = Bride and Groom ... 8 = the songs to exclude).
struct PlanFinding {
    enum Severity { Problem, Advice };
    Severity severity = Problem;
    QString text;
    int page = 0;
    bool operator==(const PlanFinding&) const = default;
};
