#include "BenchRoot.h"

#include <QDir>
#include <QFile>

BenchRoot::BenchRoot()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("ZEL_ROOT", m_dir.path().toUtf8());
    qputenv("HIVELET_HIVE", (m_dir.path() + "/hive").toUtf8());
    const QString data = m_dir.path() + "/hive/SOFTWARE/TARN/ZEL/Data";
    QFile ready(data + "/Ready.value");
    m_ready = QDir().mkpath(data) && QDir().mkpath(dbFolder()) &&
              ready.open(QIODevice::WriteOnly) && ready.write("1") == 1;
}

QString BenchRoot::dbFolder() const
{
    return m_dir.path() + "/orba/zel/";
}
