#include "UndoLine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

UndoLine::UndoLine(QWidget* shortcutScope, QWidget* parent)
    : QWidget(parent), m_text(new QLabel(this)), m_undo(new QPushButton(this))
{
    setObjectName(QStringLiteral("undoLine"));
    m_text->setObjectName(QStringLiteral("lblUndo"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_undo->setObjectName(QStringLiteral("cmdUndo"));
    m_undo->setText(QStringLiteral("&Undo"));
    m_undo->setToolTip(QStringLiteral("Put the removed row back (Ctrl+Z)"));
    m_undo->setAutoDefault(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 4, 0, 0);
    row->addWidget(m_text, 1);
    row->addWidget(m_undo);
    connect(m_undo, &QPushButton::clicked, this, &UndoLine::undo);
    auto* key = new QShortcut(QKeySequence::Undo, shortcutScope, this, &UndoLine::undo,
                              Qt::WindowShortcut);
    key->setObjectName(QStringLiteral("keyUndo"));
    hide();
}

void UndoLine::offer(const QString& what, Restore restore)
{
    m_removals.append({what, std::move(restore)});
    showLatest();
}

bool UndoLine::undo()
{
    if (m_removals.isEmpty())
        return false;
    const bool putBack = m_removals.last().second();
    if (putBack)
        m_removals.removeLast();
    showLatest();
    return putBack;
}

void UndoLine::forget()
{
    m_removals.clear();
    showLatest();
}

void UndoLine::showLatest()
{
    if (m_removals.isEmpty()) {
        hide();
        return;
    }
    m_text->setText(QStringLiteral("Removed: %1").arg(m_removals.last().first));
    show();
}
