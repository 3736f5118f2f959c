#pragma once

#include <QString>

// Makes a data medium for a couple: a folder the wizard's data loader accepts, holding the
// texts and pictures (those built into the tool, the sample's, or those of another medium)
// and the entertainer's own catalogue, copied whole with its settings (the entertainer named
// in it, the days before the event from which the plan is final).
//
// The medium is made whole or not at all: the catalogue and the texts and pictures are
// checked before anything is written, the medium is put together in a new folder beside
// the target and renamed into place only when complete. An existing folder is replaced only
// when it is empty or a medium itself (the catalogue and nothing but files of a medium);
// anything else in it is refused, so nothing of the user's is lost.
class MediumWriter
{
  public:
    struct Options {
        QString catalogue; // the songlist.mdb to hand over
        QString out;       // the medium's folder
        QString from;      // a medium whose texts and pictures are taken; empty: the built-in
    };

    // False with errorString() when the medium was not made; the target is then as it was.
    bool write(const Options& options);
    QString errorString() const { return m_error; }
    // What the medium holds, in a few lines for the user.
    QString summary() const { return m_summary; }

  private:
    bool checkCatalogue(const QString& file);
    bool checkMedia(const QString& from);
    bool checkTarget(const QString& out);
    bool fill(const Options& o, const QString& folder);
    bool fail(const QString& message);

    int m_songs = 0;
    QString m_entertainer; // the settings' lines about the entertainer
    QString m_error;
    QString m_summary;
};
