#pragma once

#include "pages/frmActivity.h"
#include "wizard/PageDialog.h"
#include "wizard/WizardPage.h"

#include <QPoint>
#include <QPointer>

#include <memory>

class ListLook;
class QTimer;
class ScheduleModel;
class ScheduleStore;
namespace Ui
{
class Menu6;
}

// The event schedule page: the activities of the reception in time order, each a row of
// the table Activities, read for the grid on the page's own connection.
//
// An activity is written the moment the activity dialog is saved (AddReturn), after Add as
// a new row, after Edit over its own row (its key kept), and deleted the moment Remove is
// pressed; a removal can be undone, which stores the row again with its key, until the page
// is left. The page has no save step of its own.
class Menu6 : public WizardPage
{
    Q_OBJECT
  public:
    explicit Menu6(Wizard& wizard);
    ~Menu6() override;

    // Called by the activity dialog at the end of every use: shows the page again, hides
    // the dialog and, when it was saved (`activity` holds a value), stores the activity and
    // shows it in its place.
    void AddReturn(const std::optional<ActivityRecord>& activity);

    // How long the pointer rests on a cell before its tip shows.
    static constexpr int kTipDelayMs = 1000;

  protected:
    void loadPage() override;
    void focusFinding(qint64 item) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setUpGrid();
    void addActivity();
    void editActivity();
    void openDialog(frmActivity& dialog);
    void removeActivity();
    bool putBack(const ScheduleStore::Row& row);
    bool requery(const QVariant& selectKey = {}, int fallbackRow = -1);
    double startTimePreset() const;
    ScheduleStore& schedule() const;
    bool storeActivity(const ActivityRecord& activity, QVariant* newKey);
    void showTip();

    std::unique_ptr<Ui::Menu6> m_ui;
    ScheduleModel* m_model = nullptr;
    DialogSlot<frmActivity> m_activity;
    QPointer<frmActivity> m_shownDialog;
    std::optional<qint64> m_editKey; // the activity the dialog shows for a change
    ListLook* m_look = nullptr;
    QTimer* m_tipTimer = nullptr;
    QPoint m_tipPos;
    QString m_lastError;
};
