#pragma once

#include <QString>
#include <QtGlobal>

// One song of the catalogue as the builder writes it into a row of MUSIC.
struct CatalogueSong {
    qint64 key = 0;  // dbKey
    QString title;   // Name
    QString artist;  // UDF01
    QString year;    // UDF02, four digits or empty
    QString length;  // Time, minutes:seconds or empty
    int type = 0;    // Type, written as its decimal number
    int subType = 0; // SType1, written as its decimal number; 0 for none
    QString matrix;  // Matrix: the codes of the song's special categories
};
