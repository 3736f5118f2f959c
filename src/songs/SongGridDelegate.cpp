#include "SongGridDelegate.h"

#include "catalogue/SongGridModel.h"

#include <QAbstractItemView>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <cmath>
#include <memory>

bool SongGridDelegate::Cell::operator==(const Cell& other) const
{
    return text == other.text && size == other.size && palette == other.palette &&
           colorGroup == other.colorGroup && state == other.state && alignment == other.alignment &&
           features == other.features && format == other.format && style == other.style &&
           font == other.font;
}

size_t qHash(const SongGridDelegate::Cell& cell, size_t seed)
{
    return qHashMulti(seed, cell.text, cell.size.width(), cell.size.height(), cell.palette,
                      int(cell.state), cell.alignment);
}

SongGridDelegate::SongGridDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_pictures(kKeptBytes)
{
}

bool SongGridDelegate::isMarked(const QModelIndex& index) const
{
    const auto* model = qobject_cast<const SongGridModel*>(index.model());
    return model && !m_marked.isEmpty() &&
           m_marked.contains(model->field(index.row(), SongGridModel::ColKey).toInt());
}

QString SongGridDelegate::markedTitle(const QString& title)
{
    return QStringLiteral("\u2713 ") + title;
}

void SongGridDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!isMarked(index))
        return;
    option->font.setItalic(true);
    option->palette.setColor(QPalette::Text, option->palette.color(QPalette::PlaceholderText));
    if (index.column() == SongGridModel::ColName)
        option->text = markedTitle(option->text);
}

void SongGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    // Where a copied picture equals a painted cell: the view's opaque plain background
    // under it, painted by the raster engine onto an image, at whole pixels. The focused
    // and the hovered cell (one each) are always painted: their frames are drawn smoothed
    // and come out a shade apart in a picture.
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    QPaintEngine* engine = painter->paintEngine();
    const QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    const QTransform& moved = painter->deviceTransform();
    const QWidget* viewport = view ? view->viewport() : nullptr;
    const QBrush background =
        viewport ? viewport->palette().brush(viewport->backgroundRole()) : QBrush();
    if (!viewport || !viewport->autoFillBackground() || background.style() != Qt::SolidPattern ||
        !background.isOpaque() || !device || engine->type() != QPaintEngine::Raster ||
        device->devType() != QInternal::Image || moved.type() > QTransform::TxTranslate ||
        moved.dx() != std::round(moved.dx()) || moved.dy() != std::round(moved.dy()) ||
        view->style()->inherits("QStyleSheetStyle") ||
        (option.state & (QStyle::State_HasFocus | QStyle::State_MouseOver))) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const auto* target = static_cast<const QImage*>(device);

    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    Cell cell{opt.text,
              opt.rect.size(),
              opt.font,
              opt.palette.cacheKey(),
              int(opt.palette.currentColorGroup()),
              opt.state,
              int(opt.displayAlignment) | int(opt.textElideMode) << 16 | int(opt.direction) << 24,
              int(opt.features) | (opt.backgroundBrush.style() << 16),
              int(target->format()),
              view->style()};
    if (const QImage* picture = m_pictures.object(cell)) {
        painter->drawImage(option.rect.topLeft(), *picture);
        return;
    }

    // The cell painted onto its own picture as the view paints it: the background, the
    // row's panel, then the item.
    auto picture = std::make_unique<QImage>(option.rect.size(), target->format());
    picture->fill(background.color());
    {
        QPainter p(picture.get());
        p.setRenderHints(painter->renderHints());
        p.setFont(painter->font());
        p.setPen(painter->pen());
        p.setBrush(painter->brush());
        p.setLayoutDirection(painter->layoutDirection());
        QStyleOptionViewItem at = option;
        at.rect.moveTo(0, 0);
        view->style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &at, &p, view);
        QStyledItemDelegate::paint(&p, at, index);
    }
    painter->drawImage(option.rect.topLeft(), *picture);
    const qsizetype bytes = picture->sizeInBytes();
    m_pictures.insert(std::move(cell), picture.release(), bytes);
}
