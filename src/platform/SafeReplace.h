#pragma once

#include <QFileDevice>
#include <QString>

// Replaces a whole file so that a crash, a kill or a power cut at any moment leaves either
// the old file or the new one, whole, never a mixture or a part.
//
// The new contents go into a temporary file beside the target (temporaryName(), made when
// the replacement is constructed). commit() puts that file on the disk, renames it over the
// target in one step and puts the folder's changed entry on the disk. A replacement that is
// not committed removes its temporary file, and the journal files a database engine may
// have left beside it.
class SafeReplace
{
  public:
    // The steps of commit(), in their order.
    enum Step { Synced, Renamed, FolderSynced };

    static constexpr QFileDevice::Permissions kReadable =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
        QFileDevice::ReadOther;
    static constexpr QFileDevice::Permissions kPrivate =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner;

    // Reserves the temporary file; the new file gets `permissions`.
    explicit SafeReplace(const QString& target, QFileDevice::Permissions permissions = kReadable);
    ~SafeReplace();
    SafeReplace(const SafeReplace&) = delete;
    SafeReplace& operator=(const SafeReplace&) = delete;

    // False when no temporary file could be made; errorString() says why.
    bool isReady() const { return !m_temporary.isEmpty(); }
    QString temporaryName() const { return m_temporary; }

    // Syncs the temporary file, renames it over the target and syncs the folder. False with
    // errorString() set when the target could not be replaced; it is then as it was.
    bool commit();
    QString errorString() const { return m_error; }

    // Replaces `target` with `contents` in one go. False with `error` set when it cannot.
    static bool write(const QString& target, const QByteArray& contents, QString* error);

    // Removes what replacements of `target` cut short by a crash or a kill left beside it
    // (their temporary files and journals). Only for a target that no other process
    // replaces meanwhile.
    static void removeLeftovers(const QString& target);

    // A test seam: when set, called after each step of commit(), so that a test can end the
    // process between two steps.
    static inline void (*afterStep)(Step) = nullptr;

  private:
    QString m_target;
    QString m_temporary;
    QString m_error;
};
