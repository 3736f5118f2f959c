#pragma once

#include "voice/PcmClip.h"

#include <QByteArray>
#include <QDialog>

#include <memory>
#include <optional>

class SoundPort;
namespace Ui
{
class frmRecord;
}

// Records a name in the couple's own voice: Record starts, Stop ends (recording ends by
// itself after ten seconds), a level meter shows the sound coming in, Play plays the take,
// Keep compresses it and hands it back, Discard (Escape, the close box) throws it away.
class frmRecord : public QDialog
{
    Q_OBJECT
  public:
    frmRecord(SoundPort& port, const QString& name, QWidget* parent);
    ~frmRecord() override;

    // Shows the dialog modally; the kept recording, compressed, or nothing.
    static std::optional<QByteArray> record(SoundPort& port, const QString& name,
                                            QWidget* parent);

  protected:
    void done(int result) override;

  private:
    void start();
    void stop();
    void take(const PcmClip& piece);
    void keep();
    void showTake();

    std::unique_ptr<Ui::frmRecord> m_ui;
    SoundPort& m_port;
    PcmClip m_take;
    bool m_recording = false;
    QByteArray m_kept;
};
