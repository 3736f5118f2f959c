#pragma once

#include "desk/DeskFolder.h"

#include <QMainWindow>
#include <QMap>
#include <QPointer>

class DeskEventView;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The entertainer's desk: every event of the folder as one row (date, couple, place, days to
// go, the checks' problems and advice, when it was received, whether it changed since it was
// last opened), files taken from couples by "Add Event..." or by dropping them on the window,
// each event opened in a window of its own, and a calendar of the upcoming events.
class DeskWindow : public QMainWindow
{
    Q_OBJECT
  public:
    DeskWindow(const QString& folder, const QString& catalogue, QWidget* parent = nullptr);

    const DeskFolder& folder() const { return m_folder; }

    // Reads the folder again and shows it.
    void refresh();
    // Takes files from couples into the folder (as "Add Event..." and a drop do) and says
    // what became of each.
    void addFiles(const QStringList& files);
    // Shows the event of row `row` (its current file and the version before it).
    void openEvent(int row);
    // Writes the calendar of the upcoming events; false after saying why it could not.
    bool writeCalendar(const QString& file);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void chooseFiles();
    void chooseCalendar();
    void fillRow(QTreeWidgetItem* item, const DeskEvent& e);
    void showStatus(const QString& news = QString());
    void updateButtons();

    DeskFolder m_folder;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_calendar = nullptr;
    QLabel* m_status = nullptr;
    int m_columnsWidth = 0; // of the list's columns, each as wide as its contents
    QMap<QString, QPointer<DeskEventView>> m_views; // by event key
};
