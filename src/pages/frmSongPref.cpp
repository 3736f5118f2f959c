#include "frmSongPref.h"

#include "ui_frmSongPref.h"

#include "wizard/PageStyle.h"

#include <QLabel>
#include <QPalette>
#include <QRadioButton>

namespace
{

// `name` as a caption with a mnemonic on its first letter or digit that is not `taken` yet,
// one that begins a word if there is such; the mnemonic is added to `taken`.
QString withMnemonic(const QString& name, QString& taken)
{
    QString caption = name;
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    const auto free = [&](qsizetype i) {
        const QChar c = caption[i];
        return c.isLetterOrNumber() && !taken.contains(c.toLower()) &&
               (i == 0 || caption[i - 1] != QLatin1Char('&'));
    };
    qsizetype at = -1;
    for (qsizetype i = 0; i < caption.size() && at < 0; ++i)
        if (free(i) && (i == 0 || !caption[i - 1].isLetterOrNumber()))
            at = i;
    for (qsizetype i = 0; i < caption.size() && at < 0; ++i)
        if (free(i))
            at = i;
    if (at < 0)
        return caption;
    taken += caption[at].toLower();
    return caption.insert(at, QLatin1Char('&'));
}

} // namespace

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
    PageStyle::answerButtons(m_ui->cmdOK, m_ui->cmdCancel);
}

frmSongPref::~frmSongPref() = default;

std::optional<frmSongPref::Choices>
frmSongPref::choose(const std::array<QString, kTypeCount>& names, const Choices& play)
{
    // Alt with a row's marked letter or digit reaches the row; S is Save's.
    QString taken = QStringLiteral("s");
    for (int n = 0; n < kTypeCount; ++n) {
        lblField(n)->setText(withMnemonic(names[n], taken));
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
