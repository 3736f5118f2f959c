#pragma once

#include <QString>

#include <optional>

class StoreSession;

// Which event a file holds, so that a later copy of the same event is recognised: the random
// id stored once when the file was made (the keyed item kItem, which no page reads or
// writes), and the couple's names for files made before files carried one.
class EventIdentity
{
  public:
    static const QString kItem; // "EventId"

    // A new random id, as frmData stores it in a new file.
    static QString newId();

    // The identity of the event in an open session.
    static EventIdentity of(StoreSession& store);
    // The identity of the event in a file, read only; nothing, with `error` set, when the file
    // is no readable event file.
    static std::optional<EventIdentity> ofFile(const QString& file, QString* error);

    // The same event: the same id when both files carry one; otherwise the same bride and
    // groom (names compared without regard to case and surrounding blanks, at least one given).
    bool sameEvent(const EventIdentity& other) const;

    QString id;
    QString bride;
    QString groom;
};
