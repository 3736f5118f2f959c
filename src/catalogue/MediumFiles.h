#pragma once

#include <QString>
#include <QStringList>

// The files of a data medium, the folder the wizard's data loader copies from: the texts
// and pictures every medium holds, the schedule's song pictures a medium may hold, and the
// catalogue. The loader, and the catalogue tool that makes media, know them from here.
class MediumFiles
{
  public:
    static QString catalogue() { return QStringLiteral("songlist.mdb"); }
    // The welcome, closing and song-dialog texts, the logo and the three dress pictures, in
    // the order the loader copies them.
    static const QStringList& required();
    // The schedule's pictures of a song brought by the couple and of one without music.
    static const QStringList& optional();
};
