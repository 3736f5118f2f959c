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
    connect(m_ui->cmdOK, &QPushButton::clicked, this, [this] { answer(true); });
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] { answer(false); });
}

frmSongPref::~frmSongPref() = default;

std::optional<frmSongPref::Choices>
frmSongPref::choose(const std::array<QString, kTypeCount>& names, const Choices& play)
{
    for (int n = 0; n < kTypeCount; ++n) {
        lblField(n)->setText(names[n]);
        option(n, 0)->setText(QStringLiteral("Play"));
        option(n, 1)->setText(QStringLiteral("Avoid"));
        // The names are read by screen readers with each choice of the row.
        option(n, 0)->setAccessibleName(names[n] + QStringLiteral(": Play"));
        option(n, 1)->setAccessibleName(names[n] + QStringLiteral(": Avoid"));
        option(n, play[n] ? 0 : 1)->setChecked(true);
    }
    if (!showModal())
        return std::nullopt;
    Choices chosen{};
    for (int n = 0; n < kTypeCount; ++n)
        chosen[n] = option(n, 0)->isChecked();
    return chosen;
}

QLabel* frmSongPref::lblField(int row) const
{
    return findChild<QLabel*>(QStringLiteral("lblField_%1").arg(row));
}

QRadioButton* frmSongPref::option(int row, int element) const
{
    return findChild<QRadioButton*>(QStringLiteral("Option%1_%2").arg(row + 1).arg(element));
}
