#pragma once

#include "store/EventPlan.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class LibrarySongs;
class NameSayList;
class NameSpeaker;
class PlanDocument;
class QPushButton;
class QTabWidget;
class QTextDocument;

// One couple's event as the entertainer reads it at the desk, as tabs: the plan (the
// document of the couple's review window), the run sheet, "What changed" since the version
// filed before, the songs with the files the library has for them, and the names with Say It.
// Below them, Save as PDF and Print of the plan or the run sheet (the one shown) and Export
// Playlists (the song lists, calendar, recorded names and DJ playlists into a folder).
//
// Made from the event's current file; `previousFile` (empty when there is none) is the
// version filed before it, and `catalogueFile` the entertainer's library (empty when none:
// then no song's file is known). The files are only read.
class DeskEventView : public QWidget
{
    Q_OBJECT
  public:
    DeskEventView(const QString& eventFile, const QString& previousFile,
                  const QString& catalogueFile, QWidget* parent = nullptr);
    ~DeskEventView() override;

    // False when the event file could not be read; errorString() then says why.
    bool isReadable() const { return m_plan.has_value(); }
    QString errorString() const { return m_error; }

    // The names are said by the view's own speaker (the system's sound output) unless the
    // program hands it one it shares; null says nothing.
    void setSpeaker(NameSpeaker* speaker);

  private:
    void addDocumentTab(PlanDocument document, const QString& title, const QString& objectName);
    void addChangesTab();
    void addSongsTab();
    // The plan or the run sheet, whichever tab is shown; null on the other tabs.
    const PlanDocument* shownDocument() const;
    void updateButtons();
    void savePdf();
    void print();
    void exportPlaylists();

    QString m_eventFile;
    QString m_previousFile;
    QString m_catalogueFile;
    std::optional<EventPlan> m_plan;
    QString m_error;
    QTabWidget* m_tabs = nullptr;
    std::vector<std::unique_ptr<PlanDocument>> m_documents; // the plan, the run sheet
    std::vector<std::unique_ptr<QTextDocument>> m_shown;
    std::unique_ptr<LibrarySongs> m_library; // null without a catalogue
    QString m_libraryError;                  // why the catalogue could not be read
    std::unique_ptr<NameSpeaker> m_ownSpeaker;
    NameSayList* m_names = nullptr;
    QPushButton* m_savePdf = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_export = nullptr;
};
