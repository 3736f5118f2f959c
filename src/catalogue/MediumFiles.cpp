#include "MediumFiles.h"

const QStringList& MediumFiles::required()
{
    static const QStringList files{QStringLiteral("hi.rtf"),     QStringLiteral("bye.rtf"),
                                   QStringLiteral("song.rtf"),   QStringLiteral("logo.jpg"),
                                   QStringLiteral("dress1.jpg"), QStringLiteral("dress2.jpg"),
                                   QStringLiteral("dress3.jpg")};
    return files;
}

const QStringList& MediumFiles::optional()
{
    static const QStringList files{QStringLiteral("cd.bmp"), QStringLiteral("nocd.bmp")};
    return files;
}
