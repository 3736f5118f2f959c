#include "frmSongSel.h"

#include "ui_frmSongSel.h"

#include "catalogue/SongGridModel.h"
#include "catalogue/SongQuery.h"
#include "platform/VbConvert.h"
#include "songs/FrmInput.h"
#include "songs/SongGridDelegate.h"
#include "store/SqlConnection.h"
#include "ui/MessageBox.h"
#include "ui/Twips.h"
#include "wizard/PageStyle.h"
#include "wizard/WizardState.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

frmSongSel::frmSongSel(WizardState& state, KeyedItemStore& items, const QString& catalogueFile,
                       QWidget* owner)
    : QDialog(owner), m_state(state), m_ui(std::make_unique<Ui::frmSongSel>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    m_catalogue = std::make_unique<SqlConnection>(catalogueFile, SqlConnection::ReadOnly);
    m_model = new SongGridModel(this);
    m_model->setCatalogue(m_catalogue->database(), &m_settings);

    m_ui->txtFind->setFont(PageStyle::tahoma(m_ui->txtFind->font().pointSizeF()));
    m_ui->txtFind->installEventFilter(this);
    const QIcon clearIcon = style()->standardIcon(QStyle::SP_LineEditClearButton);
    if (clearIcon.isNull())
        m_ui->cmdClear->setText(QStringLiteral("x"));
    else
        m_ui->cmdClear->setIcon(clearIcon);

    load(items);

    connect(m_ui->txtFind, &QLineEdit::textChanged, this, &frmSongSel::search);
    connect(m_ui->cbLook, &QComboBox::currentIndexChanged, this, [this] {
        updatePickValue();
        search();
    });
    connect(m_ui->cbTypes, &QComboBox::currentIndexChanged, this, &frmSongSel::search);
    connect(m_ui->cbSubTypes, &QComboBox::currentIndexChanged, this, &frmSongSel::search);
    for (int i = 1; i <= 15; ++i)
        connect(m_cmdCat[i], &QPushButton::clicked, this, &frmSongSel::search);
    connect(m_ui->cmdClear, &QToolButton::clicked, this, &frmSongSel::clearFind);
    connect(m_ui->cmdPickValue, &QToolButton::clicked, this, &frmSongSel::pickValue);
    connect(m_ui->cmdPickIt, &QPushButton::clicked, this, [this] {
        if (m_rows >= 1) {
            m_ui->txtFind->setFocus();
            pick();
        }
    });
    connect(m_ui->cmdQuit, &QPushButton::clicked, this, [this] { finish({}); });
    connect(m_ui->cmdCustom, &QPushButton::clicked, this, [this] { finish(SongPick::cantFind()); });
    connect(m_ui->dbgSongList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmSongSel::currentRowChanged);
    connect(m_ui->dbgSongList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmSongSel::updatePickIt);
    connect(m_model, &QAbstractItemModel::modelReset, this, &frmSongSel::updatePickIt);
    m_ui->dbgSongList->viewport()->installEventFilter(this);

    // Opens at its design size, or larger when the controls need it, with room for a
    // dozen rows of the grid and, as far as the screen allows, for the titles and artists.
    const int topHeight = m_ui->panelTop->sizeHint().height();
    setMinimumSize(m_ui->panelTop->minimumSizeHint().width(),
                   topHeight + twips(500) + twips(100) + 4 * fontMetrics().height());
    const int gridNeeds = fitColumns(0) + twips(160);
    resize(std::max({twips(8100), m_ui->panelTop->sizeHint().width(),
                     qMin(gridNeeds, screen()->availableGeometry().width() * 85 / 100)}),
           qMax(twips(5856), topHeight + twips(500) + 14 * fontMetrics().height()));
    m_ui->txtFind->setFocus();
}

frmSongSel::~frmSongSel()
{
    // The grid's statements go before the connection they run on.
    m_ui->dbgSongList->setModel(nullptr);
    delete m_model;
    m_model = nullptr;
}

int frmSongSel::twips(int t) const
{
    return Twips::pixels(this, t);
}

void frmSongSel::load(KeyedItemStore& items)
{
    m_loading = true;
    m_ui->lblCount->clear();
    m_ui->lblSelect2->setText(QStringLiteral("You have looked and looked and looked and..."));

    m_settings.LoadCatalogueSettings(items);
    // The search index is read from the catalogue while the controls are set up.
    m_model->buildIndex(m_settings.UserFieldCount);

    m_ui->lblField_0->setText(QStringLiteral("&Look in:"));
    m_ui->lblField_1->setText(QStringLiteral("Search &for:"));
    m_ui->lblField_2->setText(QStringLiteral("&Type of Music:"));
    m_ui->lblField_3->setText(QStringLiteral("Su&b-Type of Music:"));
    m_ui->lblField_4->setText(QStringLiteral("Search Special &Categories:"));

    // The lists are filled without searching at each entry: with every list at its first
    // entry the statement is the one the final search below runs, so the catalogue is
    // read once, as it would be if only the first of those searches reached it.
    {
        const QSignalBlocker b1(m_ui->cbLook), b2(m_ui->cbTypes), b3(m_ui->cbSubTypes);
        m_ui->cbLook->clear();
        m_ui->cbLook->addItem(QStringLiteral("Title"));
        m_ui->cbLook->setCurrentIndex(0);
        for (int n = 1; n <= m_settings.UserFieldCount; ++n)
            m_ui->cbLook->addItem(m_settings.UserFieldNames[n]);
        m_ui->cbTypes->clear();
        m_ui->cbTypes->addItem(QStringLiteral("All"));
        m_ui->cbTypes->setCurrentIndex(0);
        for (int n = 1; n <= m_settings.TypeCount; ++n)
            m_ui->cbTypes->addItem(m_settings.TypeNames[n]);
        m_ui->cbSubTypes->clear();
        m_ui->cbSubTypes->addItem(QStringLiteral("All"));
        m_ui->cbSubTypes->setCurrentIndex(0);
        for (int n = 1; n <= m_settings.SubTypeCount; ++n)
            m_ui->cbSubTypes->addItem(m_settings.SubTypeNames[n]);
    }

    m_settings.LoadCategories(items);
    layoutCategoryButtons();
    setupGrid();
    updatePickValue();
    m_loading = false;
    runSearch();
}

void frmSongSel::layoutCategoryButtons()
{
    QWidget* panel = m_ui->panelCats;
    auto* grid = static_cast<QGridLayout*>(panel->layout());
    panel->hide();
    panel->setMinimumWidth(twips(5412));
    // A pressed category is drawn in the selection colours, so its state shows at a glance.
    panel->setStyleSheet(QStringLiteral(
        "QPushButton { border: 1px solid palette(mid); border-radius: 3px; padding: 1px 3px;"
        " background: palette(button); color: palette(button-text); }"
        "QPushButton:hover { border-color: palette(highlight); }"
        "QPushButton:focus { border: 2px solid palette(highlight); }"
        "QPushButton:checked { background: palette(highlight); color: palette(highlighted-text);"
        " border-color: palette(dark); }"
        "QPushButton:checked:focus { border: 2px solid palette(text); }"));
    const QFont font = PageStyle::tahoma(6);
    constexpr int perRow = 15 / 3;
    for (int i = 0; i <= 15; ++i) {
        if (!m_cmdCat[i]) {
            m_cmdCat[i] = new QPushButton(panel);
            m_cmdCat[i]->setObjectName(QStringLiteral("cmdCat_%1").arg(i));
            m_cmdCat[i]->setCheckable(true);
            m_cmdCat[i]->setAutoDefault(false);
            m_cmdCat[i]->setFont(font);
            m_cmdCat[i]->setMinimumWidth(twips(5000 / perRow));
            m_cmdCat[i]->setMinimumHeight(twips(252));
            // A category out of use keeps its place in the grid, but no blank button is
            // drawn there.
            QSizePolicy policy = m_cmdCat[i]->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            m_cmdCat[i]->setSizePolicy(policy);
            if (i > 0)
                grid->addWidget(m_cmdCat[i], (i - 1) / perRow, (i - 1) % perRow);
        }
        if (i == 0)
            continue;
        const CatalogueCategory& c = m_settings.Categories[i - 1];
        m_cmdCat[i]->setChecked(false);
        m_cmdCat[i]->setEnabled(c.On);
        m_cmdCat[i]->setHidden(!c.On);
        m_cmdCat[i]->setText(c.On ? c.Name : QString());
        m_cmdCat[i]->setProperty("code", c.On ? c.Code : QString());
        m_cmdCat[i]->setToolTip(c.On ? PageStyle::shownText(c.Name) : QString());
    }
    m_cmdCat[0]->hide();
    // Tab order: after the sub-types, the category buttons in order, then the grid.
    QWidget* previous = m_ui->cbSubTypes;
    QPushButton* first = nullptr;
    for (int i = 1; i <= 15; ++i) {
        setTabOrder(previous, m_cmdCat[i]);
        previous = m_cmdCat[i];
        if (!first && m_cmdCat[i]->isEnabled())
            first = m_cmdCat[i];
    }
    setTabOrder(previous, m_ui->dbgSongList);
    // The label's key goes to the first category in use; with none, the label has no key.
    m_ui->lblField_4->setBuddy(first);
    if (!first)
        m_ui->lblField_4->setText(PageStyle::shownText(m_ui->lblField_4->text()));
    panel->show();
}

void frmSongSel::setupGrid()
{
    QTableView* grid = m_ui->dbgSongList;
    if (grid->model() != m_model) {
        grid->setModel(m_model);
        grid->setItemDelegate(new SongGridDelegate(grid));
    }
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setStretchLastSection(false);
    for (int c = 0; c < SongGridModel::kColumnCount; ++c) {
        bool shown = c == SongGridModel::ColName || c == SongGridModel::ColType ||
                     c == SongGridModel::ColSType1 || c == SongGridModel::ColTime;
        if (c >= SongGridModel::ColUDF01)
            shown = c - SongGridModel::ColUDF01 + 1 <= m_settings.UserFieldCount;
        grid->setColumnHidden(c, !shown);
    }
    const int em = grid->fontMetrics().averageCharWidth();
    m_titleWidth = textWidthOf(QStringLiteral("Name"), 40 * em);
    m_artistWidth = textWidthOf(QStringLiteral("UDF01"), 30 * em);
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!m_fitting)
            m_userSized = true;
    });
}

// The width of `column` that shows its caption and each of `texts` whole.
int frmSongSel::columnWidthFor(int column, const QStringList& texts) const
{
    const QTableView* grid = m_ui->dbgSongList;
    const QHeaderView* header = grid->horizontalHeader();
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
    int width = header->fontMetrics().horizontalAdvance(
                    m_model->headerData(column, Qt::Horizontal).toString()) +
                margin;
    for (const QString& t : texts)
        width = std::max(width, grid->fontMetrics().horizontalAdvance(t) + margin);
    return width;
}

// The width the catalogue's longest texts of `field` need in the grid (the widest of the
// five longest, as the longest in letters need not be the widest on screen); `fallback`
// when they cannot be read.
int frmSongSel::textWidthOf(const QString& field, int fallback) const
{
    int widest = 0;
    for (const QString& text : m_model->longestTexts(field, 5))
        widest = std::max(widest, m_ui->dbgSongList->fontMetrics().horizontalAdvance(text));
    return widest > 0 ? widest + 2 * style()->pixelMetric(QStyle::PM_HeaderMargin) + 8 : fallback;
}

// The columns of a grid `gridWidth` pixels wide. Type, sub-type and time are as wide as
// their names; Title and the first user field (the artist) share the rest, never narrower
// than 28 and 20 characters. Returns the width the grid needs to show every column whole.
int frmSongSel::fitColumns(int gridWidth)
{
    QTableView* grid = m_ui->dbgSongList;
    const int em = grid->fontMetrics().averageCharWidth();
    QStringList types, subTypes;
    for (int n = 1; n <= CatalogueSettings::kMaxNames; ++n)
        types << m_settings.TypeNames[n];
    for (int n = 1; n <= m_settings.SubTypeCount; ++n)
        subTypes << m_settings.SubTypeNames[n];
    QList<std::pair<int, int>> widths{
        {SongGridModel::ColType, columnWidthFor(SongGridModel::ColType, types)},
        {SongGridModel::ColSType1, columnWidthFor(SongGridModel::ColSType1, subTypes)},
        {SongGridModel::ColTime,
         columnWidthFor(SongGridModel::ColTime, {QStringLiteral("00:00")})}};
    for (int c = SongGridModel::ColUDF01 + 1; c < SongGridModel::kColumnCount; ++c)
        widths.append({c, std::max(12 * em, columnWidthFor(c, {}))});
    int others = 2 * grid->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (const auto& [column, width] : widths)
        if (!grid->isColumnHidden(column))
            others += width;
    const bool artist = !grid->isColumnHidden(SongGridModel::ColUDF01);
    const int titleNeeds = std::max(28 * em, m_titleWidth);
    const int artistNeeds = artist ? std::max(20 * em, m_artistWidth) : 0;
    if (m_userSized)
        return others + titleNeeds + artistNeeds;

    m_fitting = true;
    for (const auto& [column, width] : widths)
        grid->setColumnWidth(column, width);
    // The title comes first: it has what it needs as far as 20 characters are left for the
    // artist, who has the rest.
    const int rest = gridWidth - others;
    const int title =
        artist ? std::max(28 * em, std::min(titleNeeds, rest - 20 * em)) : std::max(28 * em, rest);
    grid->setColumnWidth(SongGridModel::ColName, title);
    grid->setColumnWidth(SongGridModel::ColUDF01, std::max(20 * em, rest - title));
    m_fitting = false;
    return others + titleNeeds + artistNeeds;
}

SongSearch frmSongSel::currentSearch() const
{
    SongSearch s;
    s.lookIndex = m_ui->cbLook->currentIndex();
    s.findText = m_ui->txtFind->text();
    s.typeIndex = m_ui->cbTypes->currentIndex();
    if (s.typeIndex >= 1 && s.typeIndex <= CatalogueSettings::kMaxNames)
        s.typeName = m_settings.TypeNames[s.typeIndex];
    s.subTypeIndex = m_ui->cbSubTypes->currentIndex();
    if (s.subTypeIndex > 0)
        s.subTypeText = m_ui->cbSubTypes->currentText();
    for (int i = 1; i <= 15; ++i)
        if (m_cmdCat[i] && m_cmdCat[i]->isChecked())
            s.categoryCodes << m_cmdCat[i]->property("code").toString();
    return s;
}

void frmSongSel::search()
{
    if (m_loading)
        return;
    if (m_model->answersAtOnce(currentSearch())) {
        runSearch();
        return;
    }
    // The catalogue must answer itself, which takes longer: the search waits until the
    // keys already typed have arrived, so that only the last of them runs it.
    if (!m_searchQueued) {
        m_searchQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_searchQueued = false;
                runSearch();
            },
            Qt::QueuedConnection);
    }
}

void frmSongSel::runSearch()
{
    const SongSearch s = currentSearch();
    const QString statement = SongQuery::statementText(s);
    if (statement == m_lastQuery)
        return;
    const bool ok = m_model->run(s);
    m_rows = m_model->rowCount();
    showCount();
    m_ui->lblCount->setToolTip(ok ? QString() : m_model->errorString());
    // A statement the catalogue refused is tried again at the next search.
    m_lastQuery = ok ? statement : QString();
    if (m_rows > 0)
        m_ui->dbgSongList->setCurrentIndex(m_model->index(0, SongGridModel::ColName));
    currentRowChanged();
}

void frmSongSel::showCount()
{
    QPalette p = m_ui->lblCount->palette();
    if (m_rows == 0) {
        m_ui->lblCount->setText(QStringLiteral("NO SONGS FOUND"));
        p.setColor(QPalette::WindowText, QColor(255, 0, 0));
    } else {
        m_ui->lblCount->setText(m_rows == 1
                                    ? QStringLiteral("1 song found.")
                                    : QString::number(m_rows) + QStringLiteral(" songs found."));
        p.setColor(QPalette::WindowText, QColor(0, 0, 0));
    }
    m_ui->lblCount->setPalette(p);
}

void frmSongSel::currentRowChanged()
{
    const QModelIndex current = m_ui->dbgSongList->currentIndex();
    // With no row there is no title to show; an old title would name a song not listed.
    m_ui->lblSelect1->setText(current.isValid()
                                  ? m_model->field(current.row(), SongGridModel::ColName).toString()
                                  : QString());
}

qint16 frmSongSel::songKeyOf(const QVariant& dbKey)
{
    bool ok = false;
    const double key = dbKey.toDouble(&ok);
    if (!ok || key < 1 || key > 32767)
        return 0;
    return VbConvert::toInt16(key);
}

// Select Song is offered while a row is selected.
void frmSongSel::updatePickIt()
{
    m_ui->cmdPickIt->setEnabled(m_ui->dbgSongList->selectionModel()->hasSelection());
}

PickedSongRecord frmSongSel::songAt(int row) const
{
    return {songKeyOf(m_model->field(row, SongGridModel::ColKey)),
            m_model->field(row, SongGridModel::ColName).toString(),
            m_model->field(row, SongGridModel::ColUDF01).toString(),
            m_model->field(row, SongGridModel::ColTime).toString()};
}

void frmSongSel::pick()
{
    QModelIndex current = m_ui->dbgSongList->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    if (row >= m_model->rowCount())
        return;
    if (!m_request) {
        finish(SongPick::picked(songAt(row)));
        return;
    }
    QList<int> rows;
    for (const QModelIndex& index : m_ui->dbgSongList->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.isEmpty())
        rows.append(row);
    std::sort(rows.begin(), rows.end());
    const QList<PickedSongRecord> songs = songsForList(rows);
    if (songs.isEmpty())
        return;
    SongPick picked = SongPick::picked(songs.first());
    picked.songs = songs;
    finish(picked);
}

QList<PickedSongRecord> frmSongSel::songsForList(const QList<int>& rows)
{
    QSet<int> onList, onOther;
    for (const PickedSongRecord& s : m_request->onList)
        onList.insert(s.Key);
    for (const PickedSongRecord& s : m_request->onOther)
        onOther.insert(s.Key);
    QList<PickedSongRecord> songs;
    QStringList others;
    for (int row : rows) {
        const PickedSongRecord song = songAt(row);
        // A song already on the list (or twice in the selection) is not added again.
        if (song.Key > 0 && onList.contains(song.Key))
            continue;
        onList.insert(song.Key);
        if (song.Key > 0 && onOther.contains(song.Key))
            others << QStringLiteral("\"%1\"").arg(song.Title.trimmed());
        songs.append(song);
    }
    const QString title = windowTitle();
    if (songs.isEmpty()) {
        MessageBox::show(rows.size() == 1
                             ? QStringLiteral("This song is already on your list.")
                             : QStringLiteral("All of these songs are already on your list."),
                         title, QMessageBox::Ok, QMessageBox::Information, this);
        return {};
    }
    if (!others.isEmpty()) {
        const QString text =
            others.size() == 1
                ? QStringLiteral("%1 is on your %2.\n\nDo you want it on this list as well?")
                      .arg(others.first(), m_request->otherList)
                : QStringLiteral("These songs are on your %1: %2.\n\nDo you want them on this "
                                 "list as well?")
                      .arg(m_request->otherList, others.join(QStringLiteral(", ")));
        if (MessageBox::show(text, title, QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::Question, this) != QMessageBox::Yes) {
            songs.removeIf([&](const PickedSongRecord& s) { return onOther.contains(s.Key); });
            if (songs.isEmpty())
                return {};
        }
    }
    if (songs.size() > m_request->room) {
        MessageBox::show(QStringLiteral("Your list has room for %1 more song(s); the first %1 of "
                                        "your selection are added.")
                             .arg(m_request->room),
                         title, QMessageBox::Ok, QMessageBox::Information, this);
        songs.resize(m_request->room);
    }
    return songs;
}

void frmSongSel::finish(const SongPick& outcome)
{
    m_outcome = outcome;
    hide();
}

void frmSongSel::reject()
{
    finish({});
}

void frmSongSel::clearFind()
{
    m_ui->txtFind->clear();
    m_ui->txtFind->setFocus();
}

void frmSongSel::updatePickValue()
{
    const int field = m_ui->cbLook->currentIndex();
    m_ui->cmdPickValue->setVisible(field >= 1);
    m_ui->cmdPickValue->setEnabled(field >= 1 && QFileInfo::exists(FrmInput::databaseFile()));
}

void frmSongSel::pickValue()
{
    qint16 field = qint16(m_ui->cbLook->currentIndex());
    if (field < 1)
        return;
    if (!m_input || m_input->wasClosed())
        m_input = std::make_unique<FrmInput>(m_state, this);
    m_input->setFieldCaption(m_settings.UserFieldNames[field] + QLatin1Char(':'));
    m_input->FillDropDowns(field);
    const std::optional<QString> value = m_input->ask();
    if (value && !value->isEmpty())
        m_ui->txtFind->setText(*value);
    m_ui->txtFind->setFocus();
}

SongPick frmSongSel::pickFor(QWidget* opener, const QString& caption,
                             const SongListRequest* request)
{
    m_outcome = {};
    if (!caption.isEmpty())
        setWindowTitle(caption);
    if (request)
        m_request = *request;
    else
        m_request.reset();
    QTableView* grid = m_ui->dbgSongList;
    grid->setSelectionMode(request ? QAbstractItemView::ExtendedSelection
                                   : QAbstractItemView::SingleSelection);
    QSet<int> marked;
    if (request)
        for (const PickedSongRecord& s : request->onList)
            if (s.Key > 0)
                marked.insert(s.Key);
    static_cast<SongGridDelegate*>(grid->itemDelegate())->setMarkedKeys(marked);
    // One song stays selected (the current one), as a single pick has it.
    if (grid->currentIndex().isValid())
        grid->selectionModel()->select(grid->currentIndex(), QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
    grid->viewport()->update();
    PageStyle::focusSelected(m_ui->txtFind);
    const Qt::WindowFlags flags = windowFlags();
    setParent(opener, flags);
    exec();
    setParent(nullptr, flags);
    m_request.reset();
    return m_outcome;
}

bool frmSongSel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->txtFind && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            clearFind();
            return true;
        }
        if (key->text().contains(QLatin1Char('"')) || key->text().contains(QLatin1Char('|')))
            return true;
    } else if (watched == m_ui->dbgSongList->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_rightPress = static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            if (!m_rightPress && m_model->rowCount() >= 1 && m_rows >= 1) {
                pick();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSongSel::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (isMinimized())
        return;
    const int top = m_ui->panelTop->sizeHint().height();
    m_ui->panelTop->setGeometry(0, 0, width(), top);
    // The grid fills the window below the controls, short of a margin on the right and
    // at the bottom, and never shrinks below a sliver.
    const int floor = twips(100);
    int w = width() - twips(160);
    int h = height() - top - twips(500);
    if (w <= floor)
        w = floor;
    if (h <= floor)
        h = floor;
    m_ui->dbgSongList->setGeometry(0, top, w, h);
    fitColumns(w);
}

void frmSongSel::closeEvent(QCloseEvent* event)
{
    // The close box: the instance is finished with; the outcome stays as the opening began
    // it (nothing picked).
    m_closed = true;
    hide();
    event->accept();
}
