#include "SongListPage.h"

SongListPage::SongListPage(Wizard& wizard, Kind kind)
    : WizardPage(wizard, kind == Include ? 7 : 8, infoFor(kind)), m_kind(kind)
{
}

PageInfo SongListPage::infoFor(Kind kind)
{
    if (kind == Include)
        return {QStringLiteral("Menu8"),
                QStringLiteral("Songs to Include"),
                7,
                QStringLiteral("Suggested Play List"),
                QStringLiteral("Build a list of up to 50 songs that you would like to hear at your "
                               "reception."),
                true};
    return {QStringLiteral("Menu9"),
            QStringLiteral("Songs to Exclude"),
            8,
            QStringLiteral("Do-Not-Play List"),
            QStringLiteral("Please indicate up to 50 songs that you specifically would like to NOT "
                           "hear at your reception."),
            true};
}
