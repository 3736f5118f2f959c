#pragma once

#include <QCache>
#include <QFont>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStyle>
#include <QStyledItemDelegate>

class QImage;

// Paints the song grid's cells exactly as the style paints them, and keeps the picture of
// each cell it painted: a cell that shows the same text at the same size in the same state
// again is copied from its picture instead of being laid out and drawn anew. Typing in the
// search box mostly changes which songs are shown, and types, sub-types, times and years
// repeat from song to song, so most cells of a new result have been painted before.
//
// Pictures are used only where copying one gives the same pixels as painting: onto an
// image of the same format, moved by whole pixels only, over an opaque plain background.
// Elsewhere (printing, scaled screens, a patterned background) cells are painted as usual.
class SongGridDelegate : public QStyledItemDelegate
{
  public:
    // Bytes of pictures kept, about ten screenfuls of a large grid.
    static constexpr int kKeptBytes = 8 << 20;

    explicit SongGridDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Songs of these catalogue keys are already on the list being filled: their rows are
    // shown in grey italics, the title after a check mark.
    void setMarkedKeys(const QSet<int>& keys) { m_marked = keys; }
    bool isMarked(const QModelIndex& index) const;
    static QString markedTitle(const QString& title);

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

  private:
    // Everything of a cell that its picture depends on.
    struct Cell {
        QString text;
        QSize size;
        QFont font;
        qint64 palette = 0;
        int colorGroup = 0;
        QStyle::State state;
        int alignment = 0;
        int features = 0;
        int format = 0;
        const QStyle* style = nullptr;
        bool operator==(const Cell& other) const;
    };
    friend size_t qHash(const Cell& cell, size_t seed);

    mutable QCache<Cell, QImage> m_pictures;
    QSet<int> m_marked;
};
