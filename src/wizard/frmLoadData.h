#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui
{
class frmLoadData;
}

// The data loader: the user picks the drive or folder that holds the wizard's data files;
// the loader checks that the catalogue is there and copies the whole data set into the
// wizard's folders. It ends either with the data copied (the dialog hides) or with the
// program ended (closed, or a copy error).
class frmLoadData : public QDialog
{
    Q_OBJECT
  public:
    // The data set, in the order it is copied; all but the catalogue go to the data folder.
    static const QStringList& dataFiles();

    explicit frmLoadData(QWidget* owner = nullptr);
    ~frmLoadData() override;

    // Offers `folder` in the drive list (selecting it when asked).
    void addSource(const QString& folder, const QString& label, bool select);
    // The folder the selected entry stands for, ending with a separator.
    QString sourceFolder() const;

    void reject() override; // the close box and Escape: the program ends

  private:
    void load();
    bool copyDataSet(const QString& source);
    void fillDrives();
    void browse();
    void showSource();

    std::unique_ptr<Ui::frmLoadData> m_ui;
};
