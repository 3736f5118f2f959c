#include "MenuFinal.h"

#include "plan/PlanChecks.h"
#include "plan/PlanDocument.h"
#include "plan/PlanFileName.h"
#include "platform/PathMap.h"
#include "store/EventCopy.h"
#include "store/StoreSession.h"
#include "store/EventPlan.h"
#include "ui/BusyPointer.h"
#include "ui/FolderView.h"
#include "ui/MessageBox.h"
#include "ui/ProgramEnd.h"
#include "wizard/FoldPlan.h"
#include "wizard/PageContent.h"
#include "wizard/PlanReview.h"
#include "wizard/SendPlan.h"
#include "wizard/Wizard.h"
#include "wizard/WizardState.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLocale>
#include <QFileInfo>
#include <QLayout>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

MenuFinal::MenuFinal(Wizard& wizard)
    : WizardPage(wizard, 9,
                 {QStringLiteral("MenuFinal"), QStringLiteral("Feteplan Finished"), 10,
                  QStringLiteral("Congratulations!"),
                  QStringLiteral("You have completed the Feteplan.  Click FINISH to save your "
                                 "settings."),
                  false})
{
    nextButton()->setText(QStringLiteral("Finish"));
}

void MenuFinal::loadPage()
{
    PageContent::addRichText(content(), PathMap::mediaFolder() + QStringLiteral("bye.rtf"));
    PageContent::addEntertainer(content(), m_state);
    auto* review = new QPushButton(QStringLiteral("Review Your Plan..."), content());
    review->setObjectName(QStringLiteral("cmdReview"));
    review->setAutoDefault(false);
    connect(review, &QPushButton::clicked, this, &MenuFinal::reviewPlan);
    auto* send = new QPushButton(QStringLiteral("Send to Your Entertainer..."), content());
    send->setObjectName(QStringLiteral("cmdSend"));
    send->setAutoDefault(false);
    connect(send, &QPushButton::clicked, this, &MenuFinal::sendPlan);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(review);
    row->addWidget(send);
    static_cast<QBoxLayout*>(content()->layout())->addLayout(row);
}

std::optional<EventPlan> MenuFinal::readPlan()
{
    QString error;
    std::optional<EventPlan> plan = EventPlan::read(m_wizard.store(), &error);
    if (!plan)
        MessageBox::show(
            QStringLiteral("Your plan could not be read from the event database.\n\n%1").arg(error),
            QStringLiteral("Unable to read"), QMessageBox::Ok, QMessageBox::Warning, this);
    return plan;
}

void MenuFinal::sendPlan()
{
    const QString title = QStringLiteral("Send to Your Entertainer");
    const std::optional<EventPlan> plan = readPlan();
    if (!plan)
        return;
    QString error;
    const QString name = PlanFileName::of(*plan, QStringLiteral("feteplan"));
    const std::optional<SendPlan::Choice> choice = SendPlan::ask(name, this);
    if (!choice)
        return;
    const QDir folder(choice->folder);
    {
        BusyPointer busy;
        bool saved = EventCopy::save(m_wizard.store().eventDatabase(), folder.filePath(name), &error);
        if (saved && choice->pdf) {
            const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
            const PlanDocument document(*plan, PlanChecks::run(*plan, QDate::currentDate()),
                                        m_state.MediaFolder);
            saved = document.writePdf(folder.filePath(PlanFileName::of(*plan, QStringLiteral("pdf"))),
                                      QPageSize(letter ? QPageSize::Letter : QPageSize::A4), &error);
        }
        if (!saved) {
            MessageBox::show(QStringLiteral("Your plan could not be saved.\n\n%1").arg(error), title,
                             QMessageBox::Ok, QMessageBox::Warning, this);
            return;
        }
    }
    if (!FolderView::show(folder.absolutePath()))
        MessageBox::show(QStringLiteral("Your plan was saved in \"%1\".")
                             .arg(QDir::toNativeSeparators(folder.absolutePath())),
                         title, QMessageBox::Ok, QMessageBox::Information, this);
}

void MenuFinal::reviewPlan()
{
    const std::optional<EventPlan> plan = readPlan();
    if (!plan)
        return;
    PlanReview review(*plan, PlanChecks::run(*plan, QDate::currentDate()), m_state.MediaFolder,
                      m_state.Speaker, this);
    review.exec();
    if (const std::optional<int> page = review.chosenPage())
        goToPage(*page, review.chosenItem());
}

void MenuFinal::goNext()
{
    // Every answer was stored by the Next of its page; Finish writes nothing.
    ShrinkMe();
    ProgramEnd::end();
}

void MenuFinal::ShrinkMe()
{
    // Twips are 1/1440 inch; the window's geometry is in device-independent pixels.
    const double twipsPerPixel = 1440.0 / logicalDpiY();
    auto twips = [&](int px) { return qint32(qRound(px * twipsPerPixel)); };
    const QRect frame = frameGeometry();
    const FoldPlan::Window before{twips(frame.left()), twips(frame.top()), twips(frame.width()),
                                  twips(frame.height())};

    setWindowTitle(QString());
    // The fold works on a window without title bar or border.
    setWindowFlag(Qt::FramelessWindowHint, true);
    // The layout no longer holds the window at its minimum size while it folds.
    if (layout())
        layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(0, 0);
    move(frame.topLeft());
    show();
    const QRect bare = geometry();

    for (const FoldPlan::Step& s :
         FoldPlan::plan(before, twips(bare.width()), twips(bare.height()))) {
        QCoreApplication::processEvents();
        setGeometry(qRound(s.left / twipsPerPixel), qRound(s.top / twipsPerPixel),
                    qMax(1, qRound(s.width / twipsPerPixel)),
                    qMax(1, qRound(s.height / twipsPerPixel)));
    }
}

void MenuFinal::startUtilityModule()
{
    for (const QString& module : {PathMap::utilityModule(), PathMap::utilityModule2()}) {
        if (QFileInfo::exists(module)) {
            QProcess::startDetached(module, {});
            ProgramEnd::end();
            return;
        }
    }
    MessageBox::show(QStringLiteral("Unable to load ORBA Utility module"),
                     QStringLiteral("File Not Found"), QMessageBox::Ok, QMessageBox::NoIcon, this);
}
