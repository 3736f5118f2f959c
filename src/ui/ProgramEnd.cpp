#include "ProgramEnd.h"

#include <QApplication>
#include <QWidget>

namespace ProgramEnd
{

namespace
{
struct State {
    bool ended = false;
    std::function<void(int)> handler;
};
State& state()
{
    static State s;
    return s;
}
} // namespace

void end(int exitCode)
{
    State& s = state();
    if (s.ended)
        return;
    s.ended = true;
    if (s.handler) {
        s.handler(exitCode);
        return;
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(exitCode);
}

bool hasEnded()
{
    return state().ended;
}

void setHandler(std::function<void(int)> handler)
{
    state().handler = std::move(handler);
}

void reset()
{
    state().ended = false;
}

} // namespace ProgramEnd
