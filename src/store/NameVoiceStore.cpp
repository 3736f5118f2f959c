#include "NameVoiceStore.h"

#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>

bool NameVoiceStore::load()
{
    m_error.clear();
    m_read.clear();
    if (!m_db.tables().contains(QStringLiteral("NameVoices"), Qt::CaseInsensitive))
        return true; // format 1
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT Item, Language, Recording, UseRecording FROM NameVoices"))) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    while (q.next())
        m_read.insert(q.value(0).toString().toUpper(),
                      {q.value(1).toString(), q.value(2).toByteArray(), q.value(3).toInt() != 0});
    return !q.lastError().isValid() || (m_error = StoreError::plain(q.lastError()), false);
}

bool NameVoiceStore::readPerson(PersonRecord& person, QChar prefix)
{
    if (!load())
        return false;
    person.Voice = m_read.value(QString(prefix) + QStringLiteral("N"));
    return true;
}

bool NameVoiceStore::readParty(QList<PartyMember>& party)
{
    if (!load())
        return false;
    for (qsizetype i = 0; i < party.size(); ++i) {
        party[i].MemberVoice = m_read.value(QStringLiteral("BPN%1").arg(i + 1));
        party[i].EscortVoice = m_read.value(QStringLiteral("BPEN%1").arg(i + 1));
    }
    return true;
}

bool NameVoiceStore::save(const QString& item, const NameVoice& voice)
{
    QSqlQuery q(m_db);
    if (voice.isEmpty()) {
        q.prepare(QStringLiteral("DELETE FROM NameVoices WHERE Item = ?"));
        q.addBindValue(item);
    } else {
        q.prepare(QStringLiteral(
            "INSERT INTO NameVoices (Item, Language, Recording, UseRecording) VALUES (?, ?, ?, ?) "
            "ON CONFLICT (Item) DO UPDATE SET Language = excluded.Language, "
            "Recording = excluded.Recording, UseRecording = excluded.UseRecording"));
        q.addBindValue(item);
        q.addBindValue(voice.Language);
        q.addBindValue(voice.Recording.isEmpty() ? QVariant(QMetaType(QMetaType::QByteArray))
                                                 : QVariant(voice.Recording));
        q.addBindValue(voice.UseRecording ? 1 : 0);
    }
    if (!q.exec()) {
        m_error = QStringLiteral("the voice of %1: %2").arg(item, StoreError::plain(q.lastError()));
        return false;
    }
    return true;
}

bool NameVoiceStore::savePerson(const PersonRecord& person, QChar prefix)
{
    m_error.clear();
    return save(QString(prefix) + QStringLiteral("N"), person.Voice);
}

bool NameVoiceStore::saveParty(const QList<PartyMember>& party)
{
    m_error.clear();
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral(
            "DELETE FROM NameVoices WHERE Item LIKE 'BPN%' OR Item LIKE 'BPEN%'"))) {
        m_error = StoreError::plain(q.lastError());
        return false;
    }
    for (qsizetype i = 0; i < party.size(); ++i) {
        if (!save(QStringLiteral("BPN%1").arg(i + 1), party[i].MemberVoice) ||
            !save(QStringLiteral("BPEN%1").arg(i + 1), party[i].EscortVoice))
            return false;
    }
    return true;
}
