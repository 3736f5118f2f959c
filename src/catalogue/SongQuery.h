#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// What the user asked the song-pick dialog for: the search column (0 = title, n = user
// field n), the search text, the music type and sub-type (0 = "All") with the names shown
// for them, and the codes of the pressed category buttons in button order.
struct SongSearch {
    int lookIndex = 0;
    QString findText;
    int typeIndex = 0;
    QString typeName;
    int subTypeIndex = 0;
    QString subTypeText;
    QStringList categoryCodes;
};

// The catalogue statement of a search, in two forms.
//
// statementText() is the statement as the dialog has always written it, with the search
// text quoted into it as typed. It is what the dialog compares with the last statement to
// decide whether the catalogue must be searched again.
//
// bound() is the statement that actually runs: the same condition and order, with the
// search text, type and sub-type names as bound parameters, so nothing the user types or
// pastes can change its meaning or make it fail. The search text's % and _ still act as
// patterns. Text comparisons and the order ignore letter case, as the catalogue always did.
class SongQuery
{
  public:
    struct Bound {
        QString where; // condition after WHERE, with ? placeholders
        QString order; // " ORDER BY ..." (with a final tie-break on dbKey)
        QVariantList values;
        QString countText() const;  // SELECT COUNT(*) ...
        QString selectText() const; // SELECT * ... (whole result)
        // SELECT * ... LIMIT ? OFFSET ?; `scan` reads the table through and sorts the
        // matches instead of walking an index in result order.
        QString windowText(bool scan = false) const;
    };

    static QString statementText(const SongSearch& search);
    static Bound bound(const SongSearch& search);

    // The search column: "Name", or "UDF01".."UDF09".
    static QString searchColumn(int lookIndex);
    // Whether `code` is one the category buttons carry ("0".."9", "A".."E"); the bound
    // statement searches only for those.
    static bool isCategoryCode(const QString& code);
};
