#include "NameSayList.h"

#include "sound/NameSpeaker.h"
#include "ui/MessageBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace
{
enum Column { WhoColumn, NameColumn, SaidColumn, LanguageColumn, ButtonColumn };
}

NameSayList::NameSayList(const EventPlan& plan, NameSpeaker* speaker, QWidget* parent)
    : QWidget(parent), m_speaker(speaker)
{
    setObjectName(QStringLiteral("NameSayList"));
    addName(tr("Bride"), plan.Bride.Name, plan.Bride.Pronunciation, plan.Bride.Voice);
    addName(tr("Groom"), plan.Groom.Name, plan.Groom.Pronunciation, plan.Groom.Voice);
    for (const PartyMember& m : plan.Party) {
        addName(m.Role.trimmed().isEmpty() ? tr("Bridal party") : m.Role.trimmed(), m.Name,
                m.Pronunciation, m.MemberVoice);
        addName(m.EscortRole.trimmed().isEmpty() ? tr("Escort") : m.EscortRole.trimmed(), m.Escort,
                m.EscortPronunciation, m.EscortVoice);
    }

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    if (m_names.isEmpty()) {
        auto* none = new QLabel(tr("No names have been entered yet."), this);
        none->setObjectName(QStringLiteral("lblNoNames"));
        outer->addWidget(none);
        return;
    }
    auto* rows = new QWidget;
    auto* grid = new QGridLayout(rows);
    grid->setHorizontalSpacing(16);
    const QStringList headings{tr("Who"), tr("Name"), tr("Pronunciation"), tr("Said in")};
    for (int c = 0; c < headings.size(); ++c) {
        auto* heading = new QLabel(QStringLiteral("<b>%1</b>").arg(headings[c]));
        grid->addWidget(heading, 0, c);
    }
    // The couple's texts are shown as written, never read as markup.
    const auto plain = [](const QString& text) {
        auto* label = new QLabel(text);
        label->setTextFormat(Qt::PlainText);
        return label;
    };
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        Name& n = m_names[i];
        const int row = int(i) + 1;
        grid->addWidget(plain(n.who), row, WhoColumn);
        grid->addWidget(plain(n.name), row, NameColumn);
        QLabel* said = plain(n.pronunciation.isEmpty() ? tr("(as written)") : n.pronunciation);
        said->setEnabled(!n.pronunciation.isEmpty());
        grid->addWidget(said, row, SaidColumn);
        m_languages << plain(QString());
        grid->addWidget(m_languages.back(), row, LanguageColumn);
        n.button = new QPushButton(tr("Say It"));
        n.button->setObjectName(QStringLiteral("cmdSayIt_%1").arg(i));
        n.button->setAutoDefault(false);
        n.button->setAccessibleName(tr("Say %1").arg(n.name));
        connect(n.button, &QPushButton::clicked, this, [this, i] { say(m_names[i]); });
        grid->addWidget(n.button, row, ButtonColumn);
    }
    grid->setColumnStretch(SaidColumn, 1);
    grid->setRowStretch(int(m_names.size()) + 1, 1);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("areaNames"));
    scroll->setWidgetResizable(true);
    scroll->setWidget(rows);
    outer->addWidget(scroll);
    refresh();
}

NameSayList::~NameSayList() = default;

void NameSayList::addName(const QString& who, const QString& name, const QString& pronunciation,
                          const NameVoice& voice)
{
    if (!name.trimmed().isEmpty())
        m_names.append({who, name.trimmed(), pronunciation.trimmed(), voice});
}

void NameSayList::setSpeaker(NameSpeaker* speaker)
{
    m_speaker = speaker;
    refresh();
}

QWidget* NameSayList::placeInTabOrderAfter(QWidget* before)
{
    for (const Name& n : std::as_const(m_names)) {
        QWidget::setTabOrder(before, n.button);
        before = n.button;
    }
    return before;
}

QString NameSayList::languageText(const NameVoice& voice) const
{
    if (voice.playsRecording())
        return tr("the couple's recording");
    if (!m_speaker)
        return voice.Language;
    const QString language =
        voice.Language.isEmpty() ? m_speaker->defaultLanguage() : voice.Language;
    for (const SpeechVoice& v : m_speaker->voices())
        if (v.Language == language)
            return v.Name;
    return language;
}

void NameSayList::refresh()
{
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        const Name& n = m_names[i];
        m_languages[i]->setText(languageText(n.voice));
        const QString problem = m_speaker ? m_speaker->sayProblem(n.voice)
                                          : tr("Names cannot be said on this computer.");
        n.button->setEnabled(problem.isEmpty());
        n.button->setToolTip(!problem.isEmpty() ? problem
                             : n.voice.playsRecording()
                                 ? tr("Plays the couple's recording of the name")
                                 : tr("Says the pronunciation (the name when it is empty)"));
    }
}

void NameSayList::say(const Name& name)
{
    QString error;
    if (!m_speaker || !m_speaker->say(name.pronunciation.isEmpty() ? name.name : name.pronunciation,
                                      name.voice, &error))
        MessageBox::show(error, tr("Say It"), QMessageBox::Ok, QMessageBox::Warning, this);
}
