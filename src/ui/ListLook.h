#pragma once

#include <QObject>

class QAbstractItemView;
class QBoxLayout;
class QLabel;
class QPushButton;
class QString;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class UndoLine;

// What the four list pages share (the bridal party, the schedule, the songs to include and
// the songs to exclude), so that they look and answer keys alike: the Add and Remove
// buttons of one size with their pictures, the same gaps around them, one row height and
// one indent in the list, and the Delete key, which presses Remove while the list has the
// focus; after a removal the row that took its place is selected, so Remove or Delete
// pressed again goes on down the list. Under the list the undo line offers every removal
// back until the page is left. A list with an Edit button opens a row's dialog from Edit,
// a double-click on the row and Enter. A ListLook lives as a child of its list.
class ListLook : public QObject
{
    Q_OBJECT
  public:
    // Lays out `page` (the page's layout: the row `buttons` above `list`) and styles the
    // list and its buttons; `edit` may be null (the song lists have none).
    static ListLook* apply(QBoxLayout* page, QBoxLayout* buttons, QAbstractItemView* list,
                           QPushButton* add, QPushButton* remove, QPushButton* edit = nullptr);

    // Makes `row` the current row (when there is one) and puts the keyboard on the list.
    void focusRow(int row);

    UndoLine* undoLine() const { return m_undo; }
    // Takes `item` out of its list and offers it back on the undo line as `what`; it goes
    // back to its place unless the list then holds `maxRows` rows already.
    void removeItem(QTreeWidgetItem* item, const QString& what, int maxRows);

    // Adds under the list a line that says what the small song pictures in its rows mean:
    // a song from the catalogue, one whose music the couple will provide, one they have no
    // music for. Pictures given as an empty name, or whose file is missing, are left out.
    static QLabel* addSongLegend(QBoxLayout* page, const QString& catalogueSong,
                                 const QString& ownMusic, const QString& noMusic);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ListLook(QAbstractItemView* list, QPushButton* remove, QPushButton* edit);
    void selectCurrentRow();

    QAbstractItemView* m_list;
    QPushButton* m_remove;
    QPushButton* m_edit;
    UndoLine* m_undo = nullptr;
};
