#pragma once

// The wizard's command-line answers: --help and --version print their text and end the
// program before any window (or display) is needed. Every other argument belongs to the
// toolkit (-platform, -style, ...) and is left to it.
class InfoOptions
{
  public:
    // The exit status when an informational option was given and answered, or -1 when the
    // wizard should start.
    static int answer(int argc, char* argv[]);
};
