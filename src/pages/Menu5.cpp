#include "Menu5.h"

#include "ui_Menu5.h"

#include "store/EventItems.h"
#include "store/StoreSession.h"
#include "ui/ListLook.h"
#include "ui/MessageBox.h"
#include "wizard/Wizard.h"

#include <QEvent>
#include <QHeaderView>
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
    m_look = ListLook::apply(m_ui->menu5Layout, m_ui->buttonRow, m_ui->lvListView,
                             m_ui->cmdAdd, m_ui->cmdRemove, m_ui->cmdEdit);
    for (QPushButton* b : {m_ui->cmdAdd, m_ui->cmdRemove, m_ui->cmdEdit})
        b->setEnabled(false);
    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &Menu5::addMember);
    connect(m_ui->cmdEdit, &QPushButton::clicked, this, &Menu5::editMember);
    connect(m_ui->cmdRemove, &QPushButton::clicked, this, &Menu5::removeMember);
}

Menu5::~Menu5() = default;

void Menu5::loadPage()
{
    setUpList();
    loadRows();
    for (QPushButton* b : {m_ui->cmdAdd, m_ui->cmdRemove, m_ui->cmdEdit})
        b->setEnabled(true);
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

namespace
{
QStringList columnsOf(const PartyMember& m)
{
    return {m.Name, m.Role, m.Escort, m.EscortRole, m.Pronunciation, m.EscortPronunciation};
}
} // namespace

void Menu5::loadRows()
{
    QList<QTreeWidgetItem*> loaded;
    QList<PartyMember> party = EventItems::readParty(items());
    // A voice that cannot be read leaves the name without one; the rows still show.
    m_wizard.store().voices().readParty(party);
    for (const PartyMember& m : party)
        loaded << rowOf(m);
    m_ui->lvListView->addTopLevelItems(loaded);
}

// A row of the list: the six texts in their columns; the member's and the escort's voices
// travel with the row (in the name columns' data), so they follow it wherever it goes.
QTreeWidgetItem* Menu5::rowOf(const PartyMember& m)
{
    auto* item = new QTreeWidgetItem(columnsOf(m));
    item->setData(0, Qt::UserRole, QVariant::fromValue(m.MemberVoice));
    item->setData(2, Qt::UserRole, QVariant::fromValue(m.EscortVoice));
    return item;
}

PartyMember Menu5::memberOf(const QTreeWidgetItem* row)
{
    return {row->text(0),
            row->text(1),
            row->text(2),
            row->text(3),
            row->text(4),
            row->text(5),
            row->data(0, Qt::UserRole).value<NameVoice>(),
            row->data(2, Qt::UserRole).value<NameVoice>()};
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
    frmParty& dialog = m_party.get(m_state, this);
    const std::optional<PartyMember> m = dialog.ask();
    if (!m)
        return;
    QTreeWidgetItem* row = rowOf(*m);
    m_ui->lvListView->addTopLevelItem(row);
    m_ui->lvListView->setCurrentItem(row);
    m_ui->lvListView->scrollToItem(row);
    dialog.clearEntry();
}

// The selected member in the party member dialog; Save changes the row in its place.
void Menu5::editMember()
{
    const QList<QTreeWidgetItem*> selected = m_ui->lvListView->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* row = selected.first();
    const std::optional<PartyMember> m = m_party.get(m_state, this).edit(memberOf(row));
    if (!m)
        return;
    const QStringList texts = columnsOf(*m);
    for (int c = 0; c < texts.size(); ++c)
        row->setText(c, texts[c]);
    row->setData(0, Qt::UserRole, QVariant::fromValue(m->MemberVoice));
    row->setData(2, Qt::UserRole, QVariant::fromValue(m->EscortVoice));
}

void Menu5::removeMember()
{
    const QList<QTreeWidgetItem*> selected = m_ui->lvListView->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* row = selected.first();
    QString what = row->text(0).trimmed();
    if (!row->text(1).trimmed().isEmpty())
        what += QStringLiteral(" (%1)").arg(row->text(1).trimmed());
    m_look->removeItem(row, what, kMaxRows);
}

bool Menu5::savePage()
{
    QList<PartyMember> party;
    for (int i = 0; i < m_ui->lvListView->topLevelItemCount(); ++i)
        party.append(memberOf(m_ui->lvListView->topLevelItem(i)));
    NameVoiceStore& voices = m_wizard.store().voices();
    if (!EventItems::saveParty(items(), party, saveFailure()))
        return false;
    if (voices.saveParty(party))
        return true;
    *saveFailure() = voices.errorString();
    return false;
}

void Menu5::focusFinding(qint64 item)
{
    m_look->focusRow(int(item));
}
