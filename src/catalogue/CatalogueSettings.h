#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

class KeyedItemStore;

// One special category of the catalogue: a one-character code looked for in a song's
// Matrix text, the caption of its toggle button, and whether the catalogue uses it.
struct CatalogueCategory {
    QString Code;
    QString Name;
    bool On = false;
};

// The catalogue's own settings, read from its Config table: the music types, sub-types,
// user fields and special categories the song-pick dialog offers. Read once per dialog
// instance. Nothing read here can fail: a missing or unreadable setting takes its default,
// counts are held to 0..9 (the lists hold nine names) and a flag that is neither a
// boolean word nor a number reads as false.
struct CatalogueSettings {
    static constexpr int kMaxNames = 9;
    static constexpr int kCategoryCount = 15;

    qint16 TypeCount = 0;
    std::array<QString, 11> TypeNames; // 0 is "All", 1..9 the type names
    bool SubTypesOn = false;
    qint16 SubTypeCount = 0;
    std::array<QString, 10> SubTypeNames; // 1..SubTypeCount; the others stay empty
    qint16 UserFieldCount = 0;
    std::array<QString, 10> UserFieldNames; // 1..9, always all nine
    std::array<CatalogueCategory, kCategoryCount> Categories;

    // Types, sub-types and user fields.
    void LoadCatalogueSettings(KeyedItemStore& items);
    // The fifteen special categories.
    void LoadCategories(KeyedItemStore& items);

    // The code of category j (0..14): "0".."9", then "A".."E".
    static QString categoryCode(int j);
};
