#pragma once

#include <QAbstractButton>
#include <QString>
#include <QWidget>

#include <memory>

class QAbstractButton;
class QLabel;
class KeyedItemStore;
class Wizard;
struct WizardState;
namespace Ui
{
class WizardPage;
}

// What the frame needs to know of each page.
struct PageInfo {
    QString objectName; // "Menu2"
    QString title;      // window title, copied into the caption when the page loads
    qint16 step;        // stored in CurrentStep when the page loads
    QString heading;    // lblTop index 0
    QString subtitle;   // lblTop index 1
    bool hasProgress;   // the progress list (not on the welcome and finish pages)
};

// The frame every page shares: a top-level window with the banner (heading, subtitle,
// logo), the progress list, the page's own content, and Back / Next / Cancel.
//
// A page is loaded once per run (load() runs its load routine) and afterwards only shown
// and hidden. Next runs the page's checks and save routine, loads the next page once,
// moves it to this page's position, shows it and hides this one; Back hands the position
// back without saving. Cancel, Escape and the close box ask the quit question.
class WizardPage : public QWidget
{
    Q_OBJECT
  public:
    WizardPage(Wizard& wizard, int index, const PageInfo& info);
    ~WizardPage() override;

    // The page's load: title, CurrentStep, heading, buttons, progress list, logo, then the
    // page's own loadPage(). Runs once; later calls do nothing.
    void load();
    bool isLoaded() const { return m_loaded; }
    int index() const { return m_index; }
    const PageInfo& info() const { return m_info; }

    // Redraws the progress list from the program-wide captions and CurrentStep.
    void drawProgress();

    // An answer page while the plan is final: read-only, and Next stores nothing.
    bool isFrozen() const;

  protected:
    // The page's own parts. Checks show their message and return false to stay on the page.
    virtual void loadPage() {}
    virtual bool checkPage() { return true; }
    // Writes the page's answers, inside one transaction the frame commits; returns false
    // when a write failed (after recording why in saveFailure() or with saveFailed()).
    virtual bool savePage() { return true; }
    // The button that the Escape key presses (Cancel unless a page gives it elsewhere).
    virtual QAbstractButton* escapeButton() const;
    // What Next does after the checks and the save; the finish page replaces it.
    virtual void goNext();

    // Hands the position over to the page at `index` without saving, as Back does: the
    // finish page's plan review sends the couple to the page that mends a finding; that
    // page puts the keyboard on `item` (see focusFinding) and offers "Back to Review".
    void goToPage(int index, qint64 item = -1);
    // Puts the keyboard on what a finding is about (PlanFinding::item); the page's first
    // input by default.
    virtual void focusFinding(qint64 item);
    // The finish page opens the review of the plan again.
    virtual void reopenReview() {}

    // Where a save records its first refusal ("key: reason").
    QString* saveFailure() { return &m_saveFailure; }
    void saveFailed(const QString& what, const QString& reason);

    // The area below the banner where the page's own controls go.
    QWidget* content() const;
    // Hides the progress column (pages without a progress list).
    QWidget* progressColumn() const;
    QAbstractButton* backButton() const;
    QAbstractButton* nextButton() const;
    QAbstractButton* cancelButton() const;

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The keyboard starts on the page's first input (Next when it has none) the first time
    // the page is shown, comes back to Next later, and never rests on Back.
    void showEvent(QShowEvent* event) override;

    Wizard& m_wizard;
    WizardState& m_state;
    KeyedItemStore& items() const;

  private:
    // Next's checks and save; false (after its message) when the page stays.
    bool checkAndSave();
    void onNext();
    void onBackToReview();
    void onBack();
    void onCancel();
    void showLogo();
    // Next shows the next page before hiding this one; Back hides this one first.
    enum HandOver { ShowFirst, HideFirst };
    void handOverTo(WizardPage* other, HandOver order);
    // The first control of the page's own content in the tab order that takes an answer.
    QWidget* firstInput() const;

    std::unique_ptr<Ui::WizardPage> m_frame;
    QList<QLabel*> m_progress;
    int m_index;
    PageInfo m_info;
    bool m_loaded = false;
    bool m_shown = false;
    QString m_saveFailure;
};
