#pragma once

#include "store/EventPlan.h"

#include <QList>
#include <QWidget>

class NameSpeaker;
class QLabel;
class QPushButton;

// The names of an event as whoever announces them hears them: the bride, the groom and every
// member of the bridal party and escort, each with its pronunciation, the language it is
// said in (or that the couple recorded it) and a "Say It" button. Say It plays the couple's
// recording when the name has one and it is chosen, else the speech engine says the
// pronunciation (the name when it is empty) in the name's language.
//
// Without sound output the buttons are disabled and their tooltip says why. The list only
// reads the plan; nothing is stored.
class NameSayList : public QWidget
{
    Q_OBJECT
  public:
    // `speaker` may be null: then nothing can be said.
    NameSayList(const EventPlan& plan, NameSpeaker* speaker, QWidget* parent = nullptr);
    ~NameSayList() override;

    // Says the names with another speaker (or none), and asks it afresh whether they can be
    // said.
    void setSpeaker(NameSpeaker* speaker);

    // How many names the list holds.
    qsizetype count() const { return m_names.size(); }

    // Puts the Say It buttons into the window's tab order after `before`; returns the last
    // of them (`before` when there is none).
    QWidget* placeInTabOrderAfter(QWidget* before);

  private:
    struct Name {
        QString who;
        QString name;
        QString pronunciation;
        NameVoice voice;
        QPushButton* button = nullptr;
    };
    void addName(const QString& who, const QString& name, const QString& pronunciation,
                 const NameVoice& voice);
    QString languageText(const NameVoice& voice) const;
    void refresh();
    void say(const Name& name);

    NameSpeaker* m_speaker = nullptr;
    QList<Name> m_names;
    QList<QLabel*> m_languages; // "Said in", by name
};
