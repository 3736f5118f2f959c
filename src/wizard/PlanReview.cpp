#include "PlanReview.h"

#include "plan/PlanChecks.h"
#include "plan/PlanFileName.h"
#include "sound/NameSayList.h"
#include "ui/BusyPointer.h"
#include "ui/FittedTextBrowser.h"
#include "ui/FolderView.h"
#include "ui/MessageBox.h"
#include "wizard/PageStyle.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QTextDocument>
#include <QVBoxLayout>

PlanReview::PlanReview(const EventPlan& plan, const QList<PlanFinding>& findings,
                       const QString& mediaFolder, NameSpeaker* speaker, QWidget* parent)
    : QDialog(parent), m_document(plan, findings, mediaFolder),
      m_runSheet(PlanDocument::runSheet(
          plan, PlanChecks::run(plan, QDate::currentDate(), PlanChecks::ForEntertainer))),
      m_pdfName(pdfFileName(plan))
{
    setObjectName(QStringLiteral("PlanReview"));
    setWindowTitle(QStringLiteral("Your Plan"));
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel(this);
    heading->setObjectName(QStringLiteral("lblChecks"));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    heading->setFont(bold);
    heading->setText(findings.isEmpty()
                         ? QStringLiteral("Your plan looks complete: nothing to mend.")
                         : QStringLiteral("Please look at these before your big day:"));
    layout->addWidget(heading);

    if (!findings.isEmpty()) {
        auto* list = new QWidget;
        auto* rows = new QVBoxLayout(list);
        rows->setContentsMargins(4, 4, 4, 4);
        for (qsizetype i = 0; i < findings.size(); ++i) {
            const PlanFinding& f = findings[i];
            auto* row = new QHBoxLayout;
            auto* text =
                new QLabel(QStringLiteral("<b style=\"color:%1\">%2:</b> %3")
                               .arg(f.severity == PlanFinding::Problem ? QStringLiteral("#a02010")
                                                                       : QStringLiteral("#8a5a00"),
                                    PlanChecks::severityName(f.severity), f.text.toHtmlEscaped()));
            text->setObjectName(QStringLiteral("lblFinding_%1").arg(i));
            text->setWordWrap(true);
            auto* go = new QPushButton(
                QStringLiteral("Go to %1").arg(PlanChecks::pageName(f.page).replace('&', "&&")));
            go->setObjectName(QStringLiteral("cmdGoTo_%1").arg(i));
            go->setAutoDefault(false);
            connect(go, &QPushButton::clicked, this, [this, page = f.page, item = f.item] {
                m_chosenPage = page;
                m_chosenItem = item;
                accept();
            });
            row->addWidget(text, 1);
            row->addWidget(go, 0, Qt::AlignTop);
            rows->addLayout(row);
        }
        auto* scroll = new QScrollArea(this);
        scroll->setObjectName(QStringLiteral("areaChecks"));
        scroll->setWidgetResizable(true);
        scroll->setWidget(list);
        scroll->setMaximumHeight(170);
        layout->addWidget(scroll);
    }

    m_shown = m_document.textDocument();
    m_browser = new FittedTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtPlan"));
    m_browser->setDocument(m_shown.get());
    layout->addWidget(m_browser, 1);

    auto* buttons = new QDialogButtonBox(this);
    auto* save = buttons->addButton(QStringLiteral("Save as PDF..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("cmdSavePdf"));
    auto* sheet = buttons->addButton(QStringLiteral("Run Sheet..."), QDialogButtonBox::ActionRole);
    sheet->setObjectName(QStringLiteral("cmdRunSheet"));
    sheet->setToolTip(QStringLiteral("Save the entertainer's run sheet for the night as a PDF"));
    auto* print = buttons->addButton(QStringLiteral("Print..."), QDialogButtonBox::ActionRole);
    print->setObjectName(QStringLiteral("cmdPrint"));
    auto* close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(save, &QPushButton::clicked, this, [this] {
        savePdf(this, m_document, QStringLiteral("Save Your Plan as PDF"), m_pdfName,
                QStringLiteral("Your plan was saved as"));
    });
    connect(sheet, &QPushButton::clicked, this, [this, name = runSheetFileName(plan)] {
        savePdf(this, m_runSheet, QStringLiteral("Save the Run Sheet as PDF"), name,
                QStringLiteral("The run sheet was saved as"));
    });
    connect(print, &QPushButton::clicked, this,
            [this] { PlanReview::print(this, m_document, QStringLiteral("Reception plan")); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    // The names, to hear each said: under the plan, after Close with the keyboard.
    auto* names = new NameSayList(plan, speaker, this);
    if (names->count() > 0) {
        names->setMaximumHeight(160);
        layout->addWidget(names);
        names->placeInTabOrderAfter(close);
    } else {
        names->hide();
    }
    layout->addWidget(buttons);
    resize(820, 720); // about the width of a page of the plan
    PageStyle::fitToScreen(this);
}

PlanReview::~PlanReview() = default;

QString PlanReview::pdfFileName(const EventPlan& plan)
{
    return PlanFileName::of(plan, QStringLiteral("pdf"));
}

QString PlanReview::runSheetFileName(const EventPlan& plan)
{
    return pdfFileName(plan).chopped(4) + QStringLiteral(" run sheet.pdf");
}

void PlanReview::savePdf(QWidget* parent, const PlanDocument& document, const QString& title,
                         const QString& name, const QString& saved)
{
    QFileDialog dialog(parent, title);
    dialog.setObjectName(QStringLiteral("dlgSavePdf"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    // The filter chooses the paper.
    const QString letter = QStringLiteral("PDF, US Letter (*.pdf)");
    dialog.setNameFilters({letter, QStringLiteral("PDF, A4 (*.pdf)")});
    dialog.setDirectory(FolderView::documents());
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QPageSize size(dialog.selectedNameFilter() == letter ? QPageSize::Letter : QPageSize::A4);
    QString error;
    const QString file = dialog.selectedFiles().first();
    bool written = false;
    {
        const BusyPointer busy;
        written = document.writePdf(file, size, &error);
    }
    if (!written)
        MessageBox::show(QStringLiteral("The PDF could not be saved.\n\n%1").arg(error),
                         QStringLiteral("Unable to save"), QMessageBox::Ok, QMessageBox::Warning,
                         parent);
    else
        MessageBox::show(QStringLiteral("%1\n\n%2").arg(saved, QDir::toNativeSeparators(file)),
                         QStringLiteral("Plan saved"), QMessageBox::Ok, QMessageBox::Information,
                         parent);
}

void PlanReview::print(QWidget* parent, const PlanDocument& document, const QString& docName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(docName);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const BusyPointer busy;
    document.print(&printer);
}
