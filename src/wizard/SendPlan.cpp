#include "SendPlan.h"

#include "ui/MessageBox.h"
#include "wizard/PageStyle.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

SendPlan::SendPlan(const QString& fileName, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgSend"));
    setWindowTitle(QStringLiteral("Send to Your Entertainer"));
    auto* text = new QLabel(
        QStringLiteral("Your plan will be saved as \"%1\" in the folder below, ready to send to "
                       "your entertainer by e-mail or on a memory stick.")
            .arg(fileName),
        this);
    text->setObjectName(QStringLiteral("lblSend"));
    text->setWordWrap(true);

    auto* label = new QLabel(QStringLiteral("&Folder:"), this);
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("txtFolder"));
    label->setBuddy(m_folder);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    m_folder->setText(QDir::toNativeSeparators(documents.isEmpty() ? QDir::homePath() : documents));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &SendPlan::browse);

    m_pdf = new QCheckBox(QStringLiteral("Also save the plan as a &PDF beside it"), this);
    m_pdf->setObjectName(QStringLiteral("chkPdf"));

    auto* save = new QPushButton(QStringLiteral("&Save"), this);
    save->setObjectName(QStringLiteral("cmdSave"));
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &SendPlan::save);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(label);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(folderRow);
    layout->addWidget(m_pdf);
    layout->addLayout(buttons);
    PageStyle::answerButtons(save, cancel);
    resize(fontMetrics().averageCharWidth() * 70, sizeHint().height());
}

std::optional<SendPlan::Choice> SendPlan::ask(const QString& fileName, QWidget* parent)
{
    SendPlan dialog(fileName, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return Choice{QDir::cleanPath(QDir::fromNativeSeparators(dialog.m_folder->text().trimmed())),
                  dialog.m_pdf->isChecked()};
}

void SendPlan::browse()
{
    QFileDialog dialog(this, QStringLiteral("Choose a Folder"), m_folder->text());
    dialog.setObjectName(QStringLiteral("dlgFolder"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_folder->setText(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

void SendPlan::save()
{
    const QString folder = m_folder->text().trimmed();
    // A folder that is not there yet is made; the couple is told when it cannot be.
    if (folder.isEmpty() || !QDir().mkpath(QDir::fromNativeSeparators(folder))) {
        MessageBox::show(QStringLiteral("The folder \"%1\" cannot be used. Please choose another.")
                             .arg(folder),
                         QStringLiteral("Send to Your Entertainer"), QMessageBox::Ok,
                         QMessageBox::Warning, this);
        m_folder->setFocus();
        return;
    }
    accept();
}
