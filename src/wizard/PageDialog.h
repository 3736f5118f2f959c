#pragma once

#include <QDialog>

#include <memory>

struct WizardState;

// A dialog that a page (or another dialog) opens. Its life follows the wizard's rule:
// created on first use; Save and Cancel hide it, so it keeps its contents for the next
// opening; its close box counts as "cancelled" and discards it, so the next opening builds
// it afresh (see DialogSlot).
//
// A subclass calls answer(true) from its Save button and answer(false) from its Cancel
// button; Escape acts as Cancel unless the dialog routes it elsewhere. What the dialog
// produced is handed back by the subclass's own asking routine as a typed value, read
// only when the dialog was saved.
class PageDialog : public QDialog
{
    Q_OBJECT
  public:
    PageDialog(WizardState& state, QWidget* owner);

    // Shows the dialog modally and returns when it is hidden or closed: true when it was
    // left with Save, false after Cancel, Escape or the close box.
    bool showModal();

    // How the dialog was last left: true after Save.
    bool wasSaved() const { return m_saved; }
    // True once the close box was used: the dialog must be built afresh.
    bool wasClosed() const { return m_closed; }

    void reject() override; // Escape: as Cancel

  protected:
    // Records how the dialog is left and hides it, which ends the modal wait.
    void answer(bool saved);
    void closeEvent(QCloseEvent* event) override;
    // A dialog never opens larger than its screen.
    void showEvent(QShowEvent* event) override;

    WizardState& m_state;

  private:
    bool m_closed = false;
    bool m_saved = false;
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
