#include "Menu4.h"

#include "ui_Menu4.h"

#include "pages/CaretAtEnd.h"
#include "store/EventItems.h"
#include "wizard/WizardState.h"

#include <QEvent>
#include <QRadioButton>

const std::array<QString, 3> Menu4::kDressPictures = {
    QStringLiteral("dress1.jpg"), QStringLiteral("dress2.jpg"), QStringLiteral("dress3.jpg")};

Menu4::Menu4(Wizard& wizard)
    : WizardPage(wizard, 3,
                 {QStringLiteral("Menu4"), QStringLiteral("Your EmCee"), 3,
                  QStringLiteral("EmCee Guidelines"),
                  QStringLiteral(
                      "Select the appearance and behavior expectations of your entertainer(s)."),
                  true}),
      m_ui(std::make_unique<Ui::Menu4>())
{
    m_ui->setupUi(content());
    m_looks = {m_ui->opLooks_0, m_ui->opLooks_1, m_ui->opLooks_2};
    m_attitude = {m_ui->opAttitude_0, m_ui->opAttitude_1, m_ui->opAttitude_2};
    for (int i = 0; i < 3; ++i) {
        connect(m_looks[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                looksSelected(i);
        });
        connect(m_attitude[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                attitudeSelected(i);
        });
    }
    m_ui->imgLooks->installEventFilter(this);
}

Menu4::~Menu4() = default;

void Menu4::loadPage()
{
    const Guidelines stored = EventItems::readGuidelines(items());
    m_looksIndex = stored.Looks;
    m_attitudeIndex = stored.Attitude;
    m_hotNotes = stored.Notes;

    // Selecting the option runs the selection handler, which loads the picture. A button
    // that is already checked sends no signal, so then the handler is run here.
    if (m_looks[m_looksIndex]->isChecked())
        looksSelected(m_looksIndex);
    else
        m_looks[m_looksIndex]->setChecked(true);
    m_attitude[m_attitudeIndex]->setChecked(true);
    MultiLine::show(m_ui->txtHotNotes, m_hotNotes);
}

bool Menu4::savePage()
{
    m_hotNotes = MultiLine::toStored(m_ui->txtHotNotes);
    return EventItems::saveGuidelines(items(), {m_looksIndex, m_attitudeIndex, m_hotNotes},
                                      saveFailure());
}

void Menu4::looksSelected(int index)
{
    m_looksIndex = qint16(index);
    loadPicture();
}

void Menu4::attitudeSelected(int index)
{
    m_attitudeIndex = qint16(index);
}

void Menu4::loadPicture()
{
    m_picture = QPixmap(m_state.MediaFolder + kDressPictures[m_looksIndex]);
    m_ui->imgLooks->setProperty("pictureFile",
                                m_picture.isNull() ? QString() : kDressPictures[m_looksIndex]);
    // A screen reader learns which appearance the picture shows.
    m_ui->imgLooks->setAccessibleDescription(m_picture.isNull() ? QString()
                                                                : m_looks[m_looksIndex]->text());
    showPicture();
}

void Menu4::showPicture()
{
    QLabel* img = m_ui->imgLooks;
    if (m_picture.isNull()) {
        img->clear();
        return;
    }
    const QSize room = img->contentsRect().size() - QSize(8, 8);
    if (room.width() <= 0 || room.height() <= 0)
        return;
    const qreal ratio = img->devicePixelRatioF();
    QPixmap scaled = m_picture.scaled(room * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    img->setPixmap(scaled);
}

bool Menu4::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->imgLooks && event->type() == QEvent::Resize)
        showPicture();
    return WizardPage::eventFilter(watched, event);
}
