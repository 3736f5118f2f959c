#include "PageContent.h"

#include "ui/RichTextViewer.h"

#include <QVBoxLayout>

namespace PageContent
{

RichTextViewer* addRichText(QWidget* content, const QString& rtfFile)
{
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* viewer = new RichTextViewer(content);
    viewer->setObjectName(QStringLiteral("RichTextBox1"));
    viewer->setAccessibleName(QStringLiteral("Welcome text"));
    layout->addWidget(viewer);
    viewer->loadFile(rtfFile);
    return viewer;
}

} // namespace PageContent
