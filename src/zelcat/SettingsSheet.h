#pragma once

#include "CsvReader.h"

#include <QList>
#include <QPair>
#include <QString>

// The catalogue's settings, written as keyed items (Item, Usage) into its Config table,
// and what the builder derives from them to check the songs: the number of music types,
// the number of sub-types and the codes of the special categories in use.
//
// The settings file has the header "Item,Usage" and one setting per line.
class SettingsSheet
{
  public:
    static constexpr int kCategoryCount = 15;
    // Category captions sit on small buttons in a tiny font; longer ones would be cut.
    static constexpr int kMaxCaptionLength = 14;

    // Reads and checks the settings of a CSV file; errorString() names the file and line.
    bool load(const CsvReader& csv, const QString& fileName);
    // A plain set for synthetic catalogues: nine types, three sub-types, artist and year,
    // all fifteen categories in use.
    static SettingsSheet synthetic();
    // The settings as a catalogue's Config table holds them, taken as they are.
    static SettingsSheet fromItems(const QList<QPair<QString, QString>>& items);

    const QList<QPair<QString, QString>>& items() const { return m_items; }
    QString value(const QString& key, const QString& defaultValue) const;

    int typeCount() const;    // TotalTypes, 1 when missing
    int subTypeCount() const; // SType1Count when SType1 is true, else 0
    // The codes of the categories whose setting begins with "+", in category order.
    QString usedCategoryCodes() const;
    QString categoryCaption(QChar code) const;

    static QChar categoryCode(int index) { return QChar(index < 10 ? 48 + index : 55 + index); }
    static QString categoryKey(int index)
    {
        return QStringLiteral("MATRIX%1").arg(index, 2, 10, QLatin1Char('0'));
    }

    QString errorString() const { return m_error; }

  private:
    bool fail(const QString& fileName, int line, const QString& reason);
    bool checkValue(const QString& key, const QString& value, QString* reason) const;

    QList<QPair<QString, QString>> m_items;
    QString m_error;
};
