#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

// The line under a list after a removal: it says what was removed and offers "Undo" (also
// Ctrl+Z anywhere on the page), which puts the row back as it was. Several removals are
// undone last first; the line shows the latest one still to undo. It forgets them all when
// its page is left (forget()).
class UndoLine : public QWidget
{
    Q_OBJECT
  public:
    // Puts a row back; false when it could not (the restorer has said why).
    using Restore = std::function<bool()>;

    // Ctrl+Z works while the window of `shortcutScope` is active.
    explicit UndoLine(QWidget* shortcutScope, QWidget* parent = nullptr);

    // Offers the removal of `what` to be undone by `restore`.
    void offer(const QString& what, Restore restore);
    // Undoes the latest removal still offered; false when there is none or it failed.
    bool undo();
    void forget();
    qsizetype pending() const { return m_removals.size(); }

  private:
    void showLatest();

    QLabel* m_text;
    QPushButton* m_undo;
    QList<std::pair<QString, Restore>> m_removals;
};
