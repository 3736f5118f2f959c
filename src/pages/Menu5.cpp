#include "Menu5.h"

#include "ui_Menu5.h"

#include "pages/ListIcons.h"
#include "platform/MessageBox.h"
#include "platform/VbConvert.h"
#include "store/KeyedItemStore.h"
#include "store/SqlConnection.h"
#include "store/StoreSession.h"
#include "wizard/Wizard.h"

#include <QEvent>
#include <QHeaderView>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStyle>

namespace
{

// The six keys of one row, in column order (name, role, escort, escort's role, the two
// pronunciations), each followed by the row number.
const char* const kColumnKeys[6] = {"BPN", "BPNR", "BPEN", "BPENR", "BPNP", "BPENP"};
// The order the save routine writes a row's items in: BPN, BPNP, BPNR, BPEN, BPENP, BPENR.
constexpr int kWriteOrder[6] = {0, 4, 1, 2, 5, 3};
// A default no stored text can equal (texts typed in the dialog never hold control
// characters): tells a missing item from a stored one.
const QString kMissing = QStringLiteral("\x01missing\x01");

} // namespace

Menu5::Menu5(Wizard& wizard)
    : WizardPage(wizard, 4,
                 {QStringLiteral("Menu5"), QStringLiteral("Bridal Party"), 4,
                  QStringLiteral("Members of the Bridal Party"),
                  QStringLiteral("Please list all of the attendants and special family members for "
                                 "the Bride and Groom."),
                  true}),
      m_ui(std::make_unique<Ui::Menu5>())
{
    m_ui->setupUi(content());
    m_ui->cmdAdd->setIcon(ListIcons::add());
    m_ui->cmdRemove->setIcon(ListIcons::remove());
    m_ui->cmdAdd->setEnabled(false);
    m_ui->cmdRemove->setEnabled(false);
    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &Menu5::addMember);
    connect(m_ui->cmdRemove, &QPushButton::clicked, this, &Menu5::removeMember);
}

Menu5::~Menu5() = default;

void Menu5::loadPage()
{
    setUpList();
    loadRows();
    m_ui->cmdAdd->setEnabled(true);
    m_ui->cmdRemove->setEnabled(true);
}

void Menu5::setUpList()
{
    QTreeWidget* list = m_ui->lvListView;
    list->clear();
    list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Role"),
                           QStringLiteral("Escorted by"), QStringLiteral("Role"),
                           QStringLiteral("Pronounced"), QStringLiteral("Pronounced")});
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsMovable(false);
    // The two pronunciation columns keep a default width and lie to the right of the
    // visible area, reached by scrolling.
    header->setDefaultSectionSize(list->fontMetrics().averageCharWidth() * 20);
    connect(header, &QHeaderView::sectionResized, this, [this] {
        if (!m_fitting)
            m_userSized = true;
    });
    list->viewport()->installEventFilter(this);
    fitColumns();
}

// The four first columns share the visible width: a quarter each, the role columns two
// pixels less, none narrower than its caption. Once the user has sized a column by hand,
// the list keeps the user's widths.
void Menu5::fitColumns()
{
    QTreeWidget* list = m_ui->lvListView;
    if (m_userSized)
        return;
    m_fitting = true;
    const int w = list->viewport()->width();
    QHeaderView* header = list->header();
    for (int c = 0; c < 6; ++c) {
        const int caption = header->fontMetrics().horizontalAdvance(list->headerItem()->text(c)) +
                            2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin) + 12;
        int width = header->defaultSectionSize();
        if (c < 4)
            width = w / 4 - (c % 2 == 1 ? 2 : 0);
        list->setColumnWidth(c, std::max(width, caption));
    }
    m_fitting = false;
}

bool Menu5::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->lvListView->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    return WizardPage::eventFilter(watched, event);
}

// How many rows the load reads. BPCOUNT is a 16-bit number (a text that is no number reads
// as 0, one beyond the range as its end), but it is only believed as far as rows were
// really stored: a count far above the stored rows would otherwise fill the page with
// thousands of blank rows and keep it busy reading them. The bound is the highest row
// number under which any of the six items is stored; rows up to it that lack items show
// blanks, as a missing item always does.
int Menu5::storedRowBound(int count) const
{
    SqlConnection conn(m_wizard.store().eventDatabase(), SqlConnection::ReadOnly);
    if (conn.isOpen()) {
        QSqlQuery q(conn.database());
        q.setForwardOnly(true);
        if (q.exec(QStringLiteral("SELECT Item FROM Strs WHERE Item LIKE 'BP%'"))) {
            static const QRegularExpression rowKey(
                QStringLiteral("^BP(?:N|NR|EN|ENR|NP|ENP)([1-9][0-9]{0,4})$"),
                QRegularExpression::CaseInsensitiveOption);
            int highest = 0;
            while (q.next()) {
                const auto m = rowKey.match(q.value(0).toString());
                if (m.hasMatch())
                    highest = std::max(highest, m.captured(1).toInt());
            }
            q.finish();
            return std::min(count, highest);
        }
    }
    // The table could not be listed: read rows until the first one of which nothing is
    // stored.
    for (int i = 1; i <= count; ++i) {
        bool any = false;
        for (const char* key : kColumnKeys)
            any = any ||
                  items().GetStrItem(QLatin1String(key) + QString::number(i), kMissing) != kMissing;
        if (!any)
            return i - 1;
    }
    return count;
}

void Menu5::loadRows()
{
    const int count =
        VbConvert::leadingInt16(items().GetStrItem(QStringLiteral("BPCOUNT"), QStringLiteral("0")));
    if (count < 1)
        return;
    const int rows = storedRowBound(count);
    QList<QTreeWidgetItem*> loaded;
    loaded.reserve(rows);
    for (int i = 1; i <= rows; ++i) {
        QStringList texts;
        for (const char* key : kColumnKeys)
            texts << items().GetStrItem(QLatin1String(key) + QString::number(i),
                                        QStringLiteral(" "));
        loaded << new QTreeWidgetItem(texts);
    }
    m_ui->lvListView->addTopLevelItems(loaded);
}

QTreeWidgetItem* Menu5::appendRow(const QStringList& texts)
{
    auto* item = new QTreeWidgetItem(texts);
    m_ui->lvListView->addTopLevelItem(item);
    return item;
}

void Menu5::addMember()
{
    if (m_ui->lvListView->topLevelItemCount() >= kMaxRows) {
        MessageBox::show(QStringLiteral("The list cannot hold more than %1 members. Please remove "
                                        "a member before adding another.")
                             .arg(kMaxRows),
                         QStringLiteral("Bridal Party"), QMessageBox::Ok, QMessageBox::Information,
                         this);
        return;
    }
    m_state.QueryAnswer = 0;
    frmParty& dialog = m_party.get(m_state, this);
    dialog.showModal();
    if (m_state.QueryAnswer != 1)
        return;
    // The dialog may have been closed with its close box after answering; read it only
    // while it is still the live instance.
    frmParty* live = m_party.current();
    if (!live)
        return;
    const frmParty::Entry e = live->entry();
    QTreeWidgetItem* row = appendRow({e.name1, e.role1, e.name2, e.role2, e.pronoun1, e.pronoun2});
    m_ui->lvListView->setCurrentItem(row);
    m_ui->lvListView->scrollToItem(row);
    live->clearEntry();
}

void Menu5::removeMember()
{
    QTreeWidget* list = m_ui->lvListView;
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    delete selected.first();
}

bool Menu5::savePage()
{
    QTreeWidget* list = m_ui->lvListView;
    const int n = list->topLevelItemCount();
    bool ok = saveStr(QStringLiteral("BPCOUNT"), VbConvert::strOf(qint16(n)));
    for (int i = 0; i < n; ++i) {
        const QTreeWidgetItem* row = list->topLevelItem(i);
        const QString number = QString::number(i + 1);
        for (int column : kWriteOrder)
            ok = saveStr(QLatin1String(kColumnKeys[column]) + number, row->text(column)) && ok;
    }
    return ok;
}
