#pragma once

#include <QDialog>

#include <memory>

struct WizardState;

// A dialog that a page (or another dialog) opens. Its life follows the wizard's rule:
// created on first use; Save and Cancel hide it, so it keeps its contents for the next
// opening; its close box counts as "cancelled" (QueryAnswer 0) and discards it, so the
// next opening builds it afresh (see DialogSlot).
//
// A subclass calls answer(1) from its Save button and answer(0) from its Cancel button;
// Escape acts as Cancel unless the dialog routes it elsewhere.
class PageDialog : public QDialog
{
    Q_OBJECT
  public:
    PageDialog(WizardState& state, QWidget* owner);

    // Shows the dialog modally and returns when it is hidden or closed.
    void showModal();

    // True once the close box was used: the dialog must be built afresh.
    bool wasClosed() const { return m_closed; }

    void reject() override; // Escape: as Cancel

  protected:
    // Sets QueryAnswer and hides the dialog, which ends the modal wait.
    void answer(qint16 value);
    void closeEvent(QCloseEvent* event) override;

    WizardState& m_state;

  private:
    bool m_closed = false;
};

// Holds the one instance of a dialog type for its opener.
template <class Dialog> class DialogSlot
{
  public:
    // The dialog, built with `args` when there is none or the last one was closed with
    // its close box.
    template <class... Args> Dialog& get(Args&&... args)
    {
        if (!m_dialog || m_dialog->wasClosed())
            m_dialog = std::make_unique<Dialog>(std::forward<Args>(args)...);
        return *m_dialog;
    }
    // The current instance, or null.
    Dialog* current() const
    {
        return m_dialog && !m_dialog->wasClosed() ? m_dialog.get() : nullptr;
    }
    void reset() { m_dialog.reset(); }

  private:
    std::unique_ptr<Dialog> m_dialog;
};
