#include "ListLook.h"

#include "ui/Twips.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTreeView>
#include <QUrl>

#include <algorithm>

namespace
{

// Sizes of the list pages' design, in twips (1/1440 inch): the Add and Remove buttons, the
// gap between them and the gap between the buttons and the list.
constexpr int kButtonWidth = 1632;
constexpr int kButtonHeight = 372;
constexpr int kButtonGap = 108;
constexpr int kListGap = 252;

// A round green or red badge with a white plus or minus, drawn at 16 and 32 pixels, so the
// buttons need no picture file and stay sharp at any scale.
QIcon badge(const QColor& colour, bool plus)
{
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(colour.darker(140));
        p.setBrush(colour);
        const qreal m = size / 16.0;
        p.drawEllipse(QRectF(0.5 * m, 0.5 * m, size - m, size - m));
        p.setPen(QPen(Qt::white, 2.2 * m, Qt::SolidLine, Qt::RoundCap));
        const qreal c = size / 2.0;
        const qreal arm = 4 * m;
        p.drawLine(QPointF(c - arm, c), QPointF(c + arm, c));
        if (plus)
            p.drawLine(QPointF(c, c - arm), QPointF(c, c + arm));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

// The height of every row of the lists: a line of text or a 16-pixel picture, with room.
int rowHeight(const QWidget* list)
{
    return std::max(list->fontMetrics().height(), 16) + 6;
}

// Gives every row of a list the same height, whatever its pictures and texts ask for.
class RowHeightDelegate : public QStyledItemDelegate
{
  public:
    RowHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), m_height(height)
    {
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), m_height};
    }

  private:
    int m_height;
};

} // namespace

ListLook::ListLook(QAbstractItemView* list, QPushButton* remove)
    : QObject(list), m_list(list), m_remove(remove)
{
    setObjectName(QStringLiteral("listLook"));
}

ListLook* ListLook::apply(QBoxLayout* page, QBoxLayout* buttons, QAbstractItemView* list,
                          QPushButton* add, QPushButton* remove)
{
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->insertSpacing(page->indexOf(list), Twips::pixels(list, kListGap));
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(Twips::pixels(list, kButtonGap));

    add->setIcon(badge(QColor(46, 139, 87), true));
    remove->setIcon(badge(QColor(190, 50, 50), false));
    const QSize size(std::max({Twips::pixels(list, kButtonWidth), add->sizeHint().width(),
                               remove->sizeHint().width()}),
                     std::max({Twips::pixels(list, kButtonHeight), add->sizeHint().height(),
                               remove->sizeHint().height()}));
    if (!remove->toolTip().isEmpty())
        remove->setToolTip(remove->toolTip() + QStringLiteral(" (Delete key)"));
    for (QPushButton* b : {add, remove}) {
        b->setFixedSize(size);
        b->setAutoDefault(false);
    }

    const int height = rowHeight(list);
    list->setIconSize(QSize(16, 16));
    list->setAlternatingRowColors(true);
    list->setItemDelegate(new RowHeightDelegate(height, list));
    if (auto* tree = qobject_cast<QTreeView*>(list)) {
        tree->setIndentation(0);
        tree->setRootIsDecorated(false);
        tree->setUniformRowHeights(true);
    } else if (auto* table = qobject_cast<QTableView*>(list)) {
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->verticalHeader()->setDefaultSectionSize(height);
    }

    auto* look = new ListLook(list, remove);
    list->installEventFilter(look);
    if (list->model())
        connect(list->model(), &QAbstractItemModel::rowsRemoved, look, &ListLook::selectCurrentRow);
    return look;
}

void ListLook::selectCurrentRow()
{
    QItemSelectionModel* selection = m_list->selectionModel();
    const QModelIndex current = m_list->currentIndex();
    if (selection && current.isValid() && !selection->hasSelection())
        selection->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool ListLook::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            m_remove->click(); // does nothing while Remove is disabled
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QLabel* ListLook::addSongLegend(QBoxLayout* page, const QString& catalogueSong,
                                const QString& ownMusic, const QString& noMusic)
{
    // Each picture with its meaning in a few words, and in full in the legend's tip.
    const struct {
        QString file, meaning, full;
    } pictures[] = {
        {catalogueSong, QStringLiteral("from the catalogue"),
         QStringLiteral("a song from the song catalogue")},
        {ownMusic, QStringLiteral("you provide the music"),
         QStringLiteral("a song not in the catalogue: you have the music and will provide it")},
        {noMusic, QStringLiteral("no music available"),
         QStringLiteral("a song not in the catalogue: you do not have the music")}};
    // One table row: each picture beside its meaning, the meanings wrapping in their cells
    // when the page is narrow.
    QString cells;
    QStringList meanings;
    for (const auto& [file, meaning, full] : pictures) {
        if (file.isEmpty() || !QFileInfo::exists(file))
            continue;
        // Resource pictures are named ":/..."; the others are files.
        const QString source = file.startsWith(QLatin1Char(':'))
                                   ? file
                                   : QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
        cells += QStringLiteral("<td valign=\"middle\"><img src=\"%1\" width=\"16\" "
                                "height=\"16\"></td><td valign=\"middle\" style=\"padding-right: "
                                "16px\">%2</td>")
                     .arg(source.toHtmlEscaped(), meaning.toHtmlEscaped());
        meanings << full;
    }
    if (meanings.isEmpty())
        return nullptr;
    auto* legend =
        new QLabel(QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\"><tr>%1</tr></table>")
                       .arg(cells));
    legend->setObjectName(QStringLiteral("lblLegend"));
    legend->setTextFormat(Qt::RichText);
    legend->setWordWrap(true);
    legend->setAccessibleName(QStringLiteral("What the song pictures mean"));
    legend->setAccessibleDescription(meanings.join(QStringLiteral("; ")));
    legend->setToolTip(meanings.join(QLatin1Char('\n')));
    page->addSpacing(4);
    page->addWidget(legend);
    return legend;
}
