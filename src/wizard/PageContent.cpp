#include "PageContent.h"

#include "ui/RichTextViewer.h"
#include "wizard/WizardState.h"

#include <QLabel>
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

void addEntertainer(QWidget* content, const WizardState& state)
{
    const auto add = [content](const QString& name, const QString& text) {
        if (text.isEmpty())
            return;
        auto* label = new QLabel(text, content);
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        content->layout()->addWidget(label);
    };
    add(QStringLiteral("lblEntertainer"), state.EntertainerLine);
    add(QStringLiteral("lblFrozen"), state.FrozenLine);
}

} // namespace PageContent
