#include "Menu7.h"

#include "ui_Menu7.h"

#include "frmSongPref.h"
#include "store/EventItems.h"
#include "ui/SummaryLabel.h"
#include "wizard/PageStyle.h"
#include "wizard/WizardState.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace
{

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

Menu7::Menu7(Wizard& wizard)
    : WizardPage(wizard, 6,
                 {QStringLiteral("Menu7"), QStringLiteral("Music"), 6,
                  QStringLiteral("Music for your Reception"),
                  QStringLiteral("Please indicate music preferences for you and your guests."),
                  true}),
      m_ui(std::make_unique<Ui::Menu7>())
{
    m_ui->setupUi(content());
    m_radio = {m_ui->txtRadio_0, m_ui->txtRadio_1, m_ui->txtRadio_2};
    for (QLineEdit* station : m_radio)
        PageStyle::fitChars(station, station->maxLength());
    m_playIt.fill(true);
    connect(m_ui->cmdPlayIt, &QPushButton::clicked, this, &Menu7::changePreferences);
}

Menu7::~Menu7() = default;

frmSongPref* Menu7::songPrefDialog() const
{
    return m_songPref.current();
}

void Menu7::loadPage()
{
    const MusicPreferences stored = EventItems::readMusic(items());
    m_playIt = stored.Play;
    for (int i = 0; i < 3; ++i)
        m_radio[i]->setText(stored.Radio[i]);
    m_typeNames = MusicPreferences::kTypeNames;
    summary();
}

void Menu7::summary()
{
    m_ui->lblField_0->setText(QStringLiteral("Please list your 3 favorite radio stations:"));
    auto list = [this](const QString& heading, bool play) {
        QString text = heading;
        bool any = false;
        for (int n = 0; n < kTypeCount; ++n) {
            if (m_playIt[n] == play) {
                text += kCrLf + m_typeNames[n];
                any = true;
            }
        }
        if (!any)
            text += kCrLf + kCrLf + QStringLiteral("(none)");
        return text;
    };
    SummaryLabel::show(m_ui->lblPlayit1, list(QStringLiteral("PLAY THESE TYPES OF MUSIC:"), true));
    SummaryLabel::show(m_ui->lblPlayit2,
                       list(QStringLiteral("AVOID THESE TYPES OF MUSIC:"), false));
}

void Menu7::changePreferences()
{
    const std::optional<frmSongPref::Choices> chosen =
        m_songPref.get(m_state, this).choose(m_typeNames, m_playIt);
    if (!chosen)
        return;
    m_playIt = *chosen;
    summary();
}

bool Menu7::savePage()
{
    MusicPreferences music;
    music.Play = m_playIt;
    for (int i = 0; i < 3; ++i)
        music.Radio[i] = m_radio[i]->text();
    return EventItems::saveMusic(items(), music, saveFailure());
}
