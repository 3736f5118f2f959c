#include "Menu3.h"

#include "ui_Menu3.h"

#include "pages/CaretAtEnd.h"
#include "pages/frmFacInfo.h"
#include "platform/OleDate.h"
#include "store/EventItems.h"
#include "store/FacilityRecord.h"
#include "ui/CalendarKeys.h"
#include "ui/SummaryLabel.h"
#include "wizard/Wizard.h"

#include <QFontMetrics>

namespace
{
const QString kCrLf = QStringLiteral("\r\n");
constexpr int kGuestsLimit = 25;

// The pickers work in UTC, so that no time of day falls into a daylight-saving gap; the
// date and time shown are exactly those stored.
const QDateTime kEarliest(QDate(100, 1, 1), QTime(0, 0), Qt::UTC);
const QDateTime kLatest(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);

QDateTime pickerValue(double value)
{
    return QDateTime(OleDate::datePart(value), OleDate::timePart(value), Qt::UTC);
}

double valueOf(const QDateTimeEdit* picker)
{
    const QDateTime v = picker->dateTime();
    return OleDate::fromDateTime(v.date(), v.time());
}

double now()
{
    const QDateTime local = QDateTime::currentDateTime();
    return OleDate::fromDateTime(local.date(), local.time());
}
} // namespace

Menu3::Menu3(Wizard& wizard)
    : WizardPage(wizard, 2,
                 {QStringLiteral("Menu3"), QStringLiteral("Event Information"), 2,
                  QStringLiteral("Time and Place"),
                  QStringLiteral("Please indicate the time and location of your event."), true}),
      m_ui(std::make_unique<Ui::Menu3>())
{
    m_ui->setupUi(content());
    setTabOrder(m_ui->txtGuests, backButton());
    for (QDateTimeEdit* picker : {m_ui->Date1, m_ui->Time1, m_ui->Time2, m_ui->Time3}) {
        picker->setTimeSpec(Qt::UTC);
        picker->setDateTimeRange(kEarliest, kLatest);
    }
    // Room for the longest day name, whatever date is shown.
    CalendarKeys::install(m_ui->Date1);
    const QFontMetrics fm(m_ui->Date1->font());
    m_ui->Date1->setMinimumWidth(m_ui->Date1->sizeHint().width() -
                                 fm.horizontalAdvance(m_ui->Date1->text()) +
                                 fm.horizontalAdvance(QStringLiteral("Wednesday 00/00/00")));
    CaretAtEnd::install(m_ui->txtGuests);
    connect(m_ui->Time1, &QDateTimeEdit::dateTimeChanged, this, &Menu3::startTimeChanged);
    connect(m_ui->cmdFacility, &QPushButton::clicked, this, &Menu3::editFacility);
}

Menu3::~Menu3() = default;

void Menu3::loadPage()
{
    const double present = now();
    const EventTimes times = EventItems::readTimes(items(), present);
    m_state.EventDate = times.EventDate;
    m_state.StartTime = times.StartTime;
    m_state.EndTime = times.EndTime;
    m_state.SetupTime = times.SetupTime;
    m_state.Facility = EventItems::readFacility(items());
    m_state.Guests = EventItems::readGuests(items());

    // The earliest date is now, or the stored date when that lies in the past, so a past
    // event can still be shown.
    const QDateTime event = pickerValue(m_state.EventDate);
    m_ui->Date1->setMinimumDateTime(qMin(pickerValue(present), event));
    m_ui->Date1->setDateTime(event);

    // The start first: its rule moves the end and setup times, which then get their stored
    // values.
    m_ui->Time1->setToolTip(QStringLiteral("Starting time for your event"));
    m_ui->Time1->setDateTime(pickerValue(m_state.StartTime));
    m_ui->Time2->setToolTip(QStringLiteral("Estimated ending time for your event"));
    m_ui->Time2->setDateTime(pickerValue(m_state.EndTime));
    m_ui->Time3->setToolTip(QStringLiteral("Room available for equipment setup"));
    m_ui->Time3->setDateTime(pickerValue(m_state.SetupTime));

    setLimitedText(m_ui->txtGuests, kGuestsLimit, m_state.Guests);
    showFacility();
}

void Menu3::startTimeChanged()
{
    const QDateTime start = m_ui->Time1->dateTime();
    m_ui->Time2->setDateTime(start.addSecs(4 * 3600));
    m_ui->Time3->setDateTime(start.addSecs(-2 * 3600));
}

void Menu3::showFacility()
{
    const FacilityRecord& facility = m_state.Facility;
    QString text = facility.Name;
    if (!facility.Address.isEmpty())
        text += kCrLf + facility.Address;
    text += kCrLf;
    if (!facility.Contact.isEmpty())
        text += kCrLf + facility.Contact + kCrLf + facility.Number + QStringLiteral("  (") +
                facility.NumberKind + QLatin1Char(')');
    SummaryLabel::show(m_ui->lblFacility, text);
    QString directions = facility.Directions;
    directions.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_ui->facility2->setPlainText(directions);
}

void Menu3::editFacility()
{
    if (std::optional<FacilityRecord> edited =
            m_dialog.get(m_state, this)
                .edit(QStringLiteral("Facility Information"), m_state.Facility))
        m_state.Facility = std::move(*edited);
    showFacility();
}

bool Menu3::savePage()
{
    const double date = valueOf(m_ui->Date1);
    const double start = valueOf(m_ui->Time1);
    const double end = valueOf(m_ui->Time2);
    const double setup = valueOf(m_ui->Time3);
    const bool ok =
        EventItems::saveTimesAndPlace(items(), {date, start, end, setup, true}, m_state.Facility,
                                      m_ui->txtGuests->text(), saveFailure());
    // The schedule page offers the start time the couple chose here, not the one the page
    // loaded with.
    m_state.EventDate = date;
    m_state.StartTime = start;
    m_state.EndTime = end;
    m_state.SetupTime = setup;
    m_state.Guests = m_ui->txtGuests->text();
    return ok;
}
