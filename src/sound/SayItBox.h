#pragma once

#include "store/NameVoice.h"

#include <QWidget>

#include <memory>

class NameSpeaker;
class QLineEdit;
namespace Ui
{
class SayItBox;
}

// What stands beside a pronunciation box: "Say It" speaks the pronunciation (the name when
// the pronunciation is empty) in the chosen language, or plays the person's own recording
// when there is one and "Own voice" is ticked; "Record..." records the name; "Delete
// Recording" lets the recording go (the dialog's Save stores that, its Cancel keeps it).
//
// Without sound output (or without a microphone, for "Record...") the buttons are
// disabled and their tooltip says why; the language and the recording are kept anyway.
class SayItBox : public QWidget
{
    Q_OBJECT
  public:
    explicit SayItBox(QWidget* parent = nullptr);
    ~SayItBox() override;

    // Joins the box to the dialog's boxes and to the speaker (null: nothing can be said).
    void attach(NameSpeaker* speaker, QLineEdit* pronunciation, QLineEdit* name);

    // Puts the box's controls into the dialog's tab order after `before`; returns the last
    // of them.
    QWidget* placeInTabOrderAfter(QWidget* before);

    // Shows a person's voice; an empty language shows the system's language.
    void setVoice(const NameVoice& voice);
    // The voice as shown: the chosen language, the recording and the choice of playing it.
    NameVoice voice() const;

  private:
    QString textToSay() const;
    void sayIt();
    void record();
    void deleteRecording();
    void refresh();

    std::unique_ptr<Ui::SayItBox> m_ui;
    NameSpeaker* m_speaker = nullptr;
    QLineEdit* m_pronunciation = nullptr;
    QLineEdit* m_name = nullptr;
    QByteArray m_recording;
};
