#pragma once

#include <QString>

// One finding of the plan's checks: how serious it is, a sentence the couple understands,
// the wizard page where it is mended (1 = Bride and Groom ... 8 = the songs to exclude) and
// what on it.
struct PlanFinding {
    enum Severity { Problem, Advice };
    Severity severity = Problem;
    QString text;
    int page = 0;
    // What on that page the finding is about: a party member's or a song's place in its
    // list (from 0), an activity's key, 0 for the bride and 1 for the groom; -1 for the page
    // as a whole.
    qint64 item = -1;
    bool operator==(const PlanFinding&) const = default;
};
