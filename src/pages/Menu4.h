#pragma once

#include "wizard/WizardPage.h"

#include <QPixmap>

#include <array>
#include <memory>

class QRadioButton;
namespace Ui
{
class Menu4;
}

// The entertainer guidelines page: how the EmCee should dress (with a picture of the chosen
// style) and behave, and free comments.
//
// Keys: DL (appearance index, Strs, default "0"), DA (behaviour index, Strs, default "1"),
// DN (comments, Mems, default ""). The indexes are read with the leading-number rule; a
// stored index that names no option selects the default option.
class Menu4 : public WizardPage
{
    Q_OBJECT
  public:
    explicit Menu4(Wizard& wizard);
    ~Menu4() override;

    // The dress pictures of the three appearance options, in option order.
    static const std::array<QString, 3> kDressPictures;

  protected:
    void loadPage() override;
    bool savePage() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // An option was selected (by the user or by the load): the value follows at once.
    void looksSelected(int index);
    void attitudeSelected(int index);
    // Loads the picture of the current appearance from the media folder (none when it is
    // missing or unreadable) and shows it scaled into imgLooks.
    void loadPicture();
    void showPicture();

    std::unique_ptr<Ui::Menu4> m_ui;
    std::array<QRadioButton*, 3> m_looks{};
    std::array<QRadioButton*, 3> m_attitude{};
    qint16 m_looksIndex = 0;    // appearance choice
    qint16 m_attitudeIndex = 1; // behaviour choice
    QString m_hotNotes;         // comments, taken from the text box on Next
    QPixmap m_picture;          // the unscaled picture of the current appearance
};
