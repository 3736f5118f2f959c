#pragma once

class Hivelet;
class QWidget;

// The first-run check: the settings value "Ready" (main key "ZEL", sub-key "Data") tells
// whether the data files were installed. When it reads as 0, the data loader is shown;
// then "Ready" is recorded as "1" either way.
//
// Without the settings library the flag cannot be read: the data count as installed when
// the catalogue is in place, otherwise the loader is shown.
class FirstRunCheck
{
  public:
    // Returns false when the program was ended (the loader was closed or failed).
    static bool run(Hivelet& hivelet, QWidget* owner);
};
