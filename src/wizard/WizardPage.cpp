#include "WizardPage.h"

#include "ui_WizardPage.h"

#include "ui/MessageBox.h"
#include "ui/ProgramEnd.h"
#include "ui/UndoLine.h"

#include "store/KeyedItemStore.h"
#include "store/StoreSession.h"
#include "store/StoreTransaction.h"
#include "wizard/PageStyle.h"
#include "wizard/Wizard.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>

WizardPage::WizardPage(Wizard& wizard, int index, const PageInfo& info)
    : QWidget(nullptr), m_wizard(wizard), m_state(wizard.state()),
      m_frame(std::make_unique<Ui::WizardPage>()), m_index(index), m_info(info)
{
    m_frame->setupUi(this);
    setObjectName(info.objectName);
    setAttribute(Qt::WA_DeleteOnClose, false);

    PageStyle::banner(m_frame->Picture1);
    PageStyle::heading(m_frame->lblTop_0);
    PageStyle::subtitle(m_frame->lblTop_1);

    for (int i = 0; i < 15; ++i) {
        auto* label = new QLabel(m_frame->progressFrame);
        label->setObjectName(QStringLiteral("lblProgress_%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        m_frame->progressLayout->addWidget(label);
        m_progress.append(label);
    }
    m_frame->progressLayout->addStretch(1);
    m_frame->progressFrame->setVisible(info.hasProgress);

    connect(m_frame->cmdNext, &QPushButton::clicked, this, &WizardPage::onNext);
    connect(m_frame->cmdBack, &QPushButton::clicked, this, &WizardPage::onBack);
    connect(m_frame->cmdCancel, &QPushButton::clicked, this, &WizardPage::onCancel);
    connect(m_frame->cmdBackToReview, &QPushButton::clicked, this, &WizardPage::onBackToReview);
}

WizardPage::~WizardPage() = default;

KeyedItemStore& WizardPage::items() const
{
    return m_wizard.items();
}

QWidget* WizardPage::content() const
{
    return m_frame->pageContent;
}
QWidget* WizardPage::progressColumn() const
{
    return m_frame->progressFrame;
}
QAbstractButton* WizardPage::backButton() const
{
    return m_frame->cmdBack;
}
QAbstractButton* WizardPage::nextButton() const
{
    return m_frame->cmdNext;
}
QAbstractButton* WizardPage::cancelButton() const
{
    return m_frame->cmdCancel;
}
QAbstractButton* WizardPage::escapeButton() const
{
    return m_frame->cmdCancel;
}

void WizardPage::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_wizard.countPageLoad();
    setWindowTitle(m_info.title);
    m_state.CurrentStep = m_info.step;
    m_frame->lblTop_0->setText(m_info.heading);
    m_frame->lblTop_1->setText(m_info.subtitle);
    m_frame->cmdBack->setEnabled(m_index > 0);
    m_frame->cmdNext->setEnabled(true);
    if (m_info.hasProgress)
        drawProgress();
    showLogo();
    loadPage();
    // A final plan is shown, not changed: the page's controls are read-only and the subtitle
    // says since when and whom to call.
    if (isFrozen()) {
        content()->setEnabled(false);
        m_frame->lblTop_1->setText(m_state.FrozenLine);
    }
}

bool WizardPage::isFrozen() const
{
    return m_info.hasProgress && !m_state.FrozenLine.isEmpty();
}

void WizardPage::drawProgress()
{
    for (int i = 0; i < m_progress.size(); ++i) {
        QLabel* label = m_progress[i];
        // The caption keeps the label's own form ("Bride && Groom"); the label shows what a
        // caption shows: a doubled ampersand as one.
        const QString caption = m_state.ProgressCaptions.value(i);
        label->setProperty("caption", caption);
        label->setText(PageStyle::shownText(caption));
        QFont f = label->font();
        f.setBold(i == m_state.CurrentStep || i == 0);
        label->setFont(f);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText,
                   i > m_state.CurrentStep ? QColor(128, 128, 128) : QColor(Qt::black));
        label->setPalette(p);
    }
}

void WizardPage::showLogo()
{
    PageStyle::logo(m_frame->imgLogo, m_state.MediaFolder + QStringLiteral("logo.jpg"));
}

void WizardPage::saveFailed(const QString& what, const QString& reason)
{
    if (m_saveFailure.isEmpty())
        m_saveFailure = QStringLiteral("%1: %2").arg(what, reason);
}

void WizardPage::onNext()
{
    if (checkAndSave())
        goNext();
}

bool WizardPage::checkAndSave()
{
    if (ProgramEnd::hasEnded() || !isVisible())
        return false;
    if (isFrozen())
        return true; // the plan is final: nothing of this page is stored
    if (!checkPage() || ProgramEnd::hasEnded())
        return false;
    QString moved;
    if (!m_wizard.store().checkInPlace(&moved)) {
        MessageBox::show(moved, QStringLiteral("Unable to save"), QMessageBox::Ok,
                         QMessageBox::Warning, this);
        return false;
    }
    // The page's answers reach the event database together or not at all: a crash or a
    // full disk half way leaves the answers stored before.
    m_saveFailure.clear();
    bool saved = false;
    {
        StoreTransaction transaction(m_wizard.store().eventConnection());
        if (!transaction.isActive())
            saveFailed(QStringLiteral("the event database"), transaction.errorString());
        else if (savePage() && !(saved = transaction.commit()))
            saveFailed(QStringLiteral("the event database"), transaction.errorString());
    }
    if (ProgramEnd::hasEnded())
        return false;
    if (!saved) {
        MessageBox::show(
            QStringLiteral("Your answers on this page could not be saved to the event database "
                           "(%1).\n\nThey are still on the page. Please try Next again; if it "
                           "keeps failing, make sure no other program is using the event file "
                           "and that the disk is not full.")
                .arg(m_saveFailure.isEmpty() ? QStringLiteral("the database refused them")
                                             : m_saveFailure),
            QStringLiteral("Unable to save"), QMessageBox::Ok, QMessageBox::Warning, this);
        return false;
    }
    return true;
}

// Saves the page as Next does and returns to the finish page, whose review opens again.
void WizardPage::onBackToReview()
{
    WizardPage* finish = m_wizard.loadedPage(Wizard::kPageCount - 1);
    if (!finish || !checkAndSave())
        return;
    handOverTo(finish, ShowFirst);
    QMetaObject::invokeMethod(finish, &WizardPage::reopenReview, Qt::QueuedConnection);
}

void WizardPage::goNext()
{
    WizardPage* next = m_wizard.page(m_index + 1);
    if (!next || ProgramEnd::hasEnded())
        return;
    handOverTo(next, ShowFirst);
}

void WizardPage::handOverTo(WizardPage* other, HandOver order)
{
    // The way back to the review is offered only on the page a finding led to.
    m_frame->cmdBackToReview->hide();
    for (UndoLine* line : findChildren<UndoLine*>())
        line->forget();
    // The other page opens where this one is, and maximised when this one is; its own size
    // is kept. A maximised page hands over the place it has when not maximised.
    const bool maximised = isMaximized();
    other->move(maximised ? normalGeometry().topLeft() - (geometry().topLeft() - pos()) : pos());
    other->setWindowState(maximised ? other->windowState() | Qt::WindowMaximized
                                    : other->windowState() & ~Qt::WindowMaximized);
    if (order == HideFirst)
        hide();
    other->show();
    other->raise();
    other->activateWindow();
    if (order == ShowFirst)
        hide();
}

void WizardPage::onBack()
{
    if (m_index == 0 || ProgramEnd::hasEnded())
        return;
    m_frame->cmdNext->setFocus();
    handOverTo(m_wizard.page(m_index - 1), HideFirst);
}

void WizardPage::goToPage(int index, qint64 item)
{
    WizardPage* other = m_wizard.page(index);
    if (!other || other == this)
        return;
    handOverTo(other, HideFirst);
    other->m_frame->cmdBackToReview->show();
    other->focusFinding(item);
}

void WizardPage::focusFinding(qint64)
{
    firstInput()->setFocus();
}

void WizardPage::onCancel()
{
    if (!ProgramEnd::hasEnded())
        m_wizard.CheckExit();
}

void WizardPage::keyPressEvent(QKeyEvent* event)
{
    // Escape presses the page's cancel button (or the button the page gives it to), from
    // whichever control has the focus.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (QAbstractButton* b = escapeButton(); b && b->isEnabled() && b->isVisible())
            b->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void WizardPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    PageStyle::fitToScreen(this);
    const QWidget* focus = focusWidget();
    if (!focus || focus == m_frame->cmdBack)
        (m_shown ? m_frame->cmdNext : firstInput())->setFocus();
    m_shown = true;
}

QWidget* WizardPage::firstInput() const
{
    QWidget* input = PageStyle::firstInput(this, content());
    return input ? input : m_frame->cmdNext;
}

void WizardPage::closeEvent(QCloseEvent* event)
{
    if (ProgramEnd::hasEnded()) {
        event->accept();
        return;
    }
    m_wizard.CheckExit();
    event->ignore();
}
