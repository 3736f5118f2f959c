#include "ListLook.h"

#include "ui/MessageBox.h"
#include "ui/Twips.h"
#include "ui/UndoLine.h"

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
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace
{

// Sizes of the list pages' design, in twips (1/1440 inch): the Add and Remove buttons, the
// gap between them and the gap between the buttons and the list.
constexpr int kButtonWidth = 1632;
constexpr int kButtonHeight = 372;
constexpr int kButtonGap = 108;
constexpr int kListGap = 252;

// A round green, red or blue badge with a white plus, minus or pen stroke, drawn at 16 and
// 32 pixels, so the buttons need no picture file and stay sharp at any scale.
enum class Mark { Plus, Minus, Pen };
QIcon badge(const QColor& colour, Mark mark)
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
        if (mark == Mark::Pen) {
            p.drawLine(QPointF(c - arm + m, c + arm - m), QPointF(c + arm - m, c - arm + m));
            p.drawPoint(QPointF(c - arm, c + arm));
        } else {
            p.drawLine(QPointF(c - arm, c), QPointF(c + arm, c));
        }
        if (mark == Mark::Plus)
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

ListLook::ListLook(QAbstractItemView* list, QPushButton* remove, QPushButton* edit)
    : QObject(list), m_list(list), m_remove(remove), m_edit(edit)
{
    setObjectName(QStringLiteral("listLook"));
}

ListLook* ListLook::apply(QBoxLayout* page, QBoxLayout* buttons, QAbstractItemView* list,
                          QPushButton* add, QPushButton* remove, QPushButton* edit)
{
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->insertSpacing(page->indexOf(list), Twips::pixels(list, kListGap));
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(Twips::pixels(list, kButtonGap));

    add->setIcon(badge(QColor(46, 139, 87), Mark::Plus));
    remove->setIcon(badge(QColor(190, 50, 50), Mark::Minus));
    QList<QPushButton*> all{add, remove};
    if (edit) {
        edit->setIcon(badge(QColor(40, 100, 170), Mark::Pen));
        all.append(edit);
    }
    QSize size(Twips::pixels(list, kButtonWidth), Twips::pixels(list, kButtonHeight));
    for (QPushButton* b : all)
        size = size.expandedTo(b->sizeHint());
    if (!remove->toolTip().isEmpty())
        remove->setToolTip(remove->toolTip() + QStringLiteral(" (Delete key)"));
    for (QPushButton* b : all) {
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

    auto* look = new ListLook(list, remove, edit);
    list->installEventFilter(look);
    if (list->model())
        connect(list->model(), &QAbstractItemModel::rowsRemoved, look, &ListLook::selectCurrentRow);
    if (edit)
        connect(list, &QAbstractItemView::doubleClicked, edit, &QPushButton::click);
    look->m_undo = new UndoLine(list);
    page->insertWidget(page->indexOf(list) + 1, look->m_undo);
    return look;
}

void ListLook::focusRow(int row)
{
    int column = 0;
    if (const auto* table = qobject_cast<QTableView*>(m_list))
        while (column + 1 < m_list->model()->columnCount() && table->isColumnHidden(column))
            ++column;
    const QModelIndex index = m_list->model()->index(row, column);
    if (index.isValid()) {
        m_list->setCurrentIndex(index);
        m_list->scrollTo(index);
    }
    m_list->setFocus();
}

void ListLook::removeItem(QTreeWidgetItem* item, const QString& what, int maxRows)
{
    QTreeWidget* tree = item->treeWidget();
    const int at = tree->indexOfTopLevelItem(item);
    std::shared_ptr<QTreeWidgetItem> kept(tree->takeTopLevelItem(at));
    m_undo->offer(what, [tree, kept, at, maxRows] {
        if (tree->topLevelItemCount() >= maxRows) {
            MessageBox::show(QStringLiteral("The list already holds %1 entries. Please remove one "
                                            "before putting this one back.")
                                 .arg(maxRows),
                             QStringLiteral("Undo"), QMessageBox::Ok, QMessageBox::Information,
                             tree->window());
            return false;
        }
        QTreeWidgetItem* back = kept->clone();
        tree->insertTopLevelItem(std::min(at, tree->topLevelItemCount()), back);
        tree->setCurrentItem(back);
        tree->scrollToItem(back);
        return true;
    });
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
        if (m_edit && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            m_edit->click();
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
