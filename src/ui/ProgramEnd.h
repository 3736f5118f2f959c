#pragma once

#include <functional>

// Ending the program goes through here. The real end leaves every event loop at once
// (also a modal dialog's), hides every window and marks the program as ended, so that
// handlers still on the call stack return without asking questions or saving.
namespace ProgramEnd
{

// Ends the program. Calling it again does nothing.
void end(int exitCode = 0);

// True once end() was called.
bool hasEnded();

// Tests: replace the real end (the handler runs instead of leaving the event loops;
// hasEnded() still becomes true), or restore it with an empty handler. reset() forgets
// an earlier end.
void setHandler(std::function<void(int)> handler);
void reset();

} // namespace ProgramEnd
