#pragma once

#include <QString>

// Maps the program's fixed Windows paths ("c:\orba\zel\event.mdb") to local files.
// On Windows the paths are used as they stand. Elsewhere the drive is dropped and the
// folders are placed under a root: $ZEL_ROOT when set, otherwise the user's data folder.
// Drive letters and folder names compare without regard to case, as on Windows: an
// existing folder whose name differs only in case is used; a new one is made lower case.
// File names are kept exactly as given.
namespace PathMap
{

// The root under which the fixed Windows folders live on this machine.
QString root();

// Local path of any fixed Windows path. A trailing separator is kept.
QString map(const QString& windowsPath);

// The fixed paths of the system, one function each.
QString dbFolder();       // c:\orba\zel\  (both databases)
QString eventDatabase();  // c:\orba\zel\event.mdb
QString catalogue();      // c:\orba\zel\songlist.mdb
QString programFolder();  // the installation folder, c:\orba\zel
QString mediaFolder();    // program folder + \data\  (pictures and texts)
QString databaseModule(); // c:\orba\program\vessk.exe
QString utilityModule();  // c:\orba\program\pontile.exe
QString utilityModule2(); // c:\orba\program\pontile2.exe
QString musicDatabase();  // C:\ORBA\database\vastm.mdb

} // namespace PathMap
