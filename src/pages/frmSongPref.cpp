#include "frmSongPref.h"

#include "ui_frmSongPref.h"

#include <QLabel>
#include <QPalette>
#include <QRadioButton>

frmSongPref::frmSongPref(WizardState& state, QWidget* owner)
    : PageDialog(state, owner), m_ui(std::make_unique<Ui::frmSongPref>())
{
    m_ui->setupUi(this);
    // Shade every other row, starting with the first, so the eye keeps to one row.
    const QColor shade = palette().color(QPalette::Window).darker(108);
    for (int row = 0; row < kTypeCount; row += 2) {
        auto* frame = findChild<QWidget*>(QStringLiteral("Frame1_%1").arg(row));
        QPalette p = frame->palette();
        p.setColor(QPalette::Window, shade);
        frame->setPalette(p);
        frame->setAutoFillBackground(true);
    }
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { answer(1); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] { answer(0); });
}

frmSongPref::~frmSongPref() = default;

QLabel* frmSongPref::lblField(int row) const
{
    return findChild<QLabel*>(QStringLiteral("lblField_%1").arg(row));
}

QRadioButton* frmSongPref::option(int row, int element) const
{
    return findChild<QRadioButton*>(QStringLiteral("Option%1_%2").arg(row + 1).arg(element));
}
