#pragma once

// Shows the busy (hourglass) pointer for as long as it lives.
class BusyPointer
{
  public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};
