#include "Hivelet.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace
{
// Where the library is looked for, first match wins: beside the program, the private
// library folder of an installation, the build tree, then the system's library path by name.
// ZEL_HIVELET_LIBRARY names the one file to use instead.
QStringList candidates()
{
    QStringList files;
    const QString fromEnv = qEnvironmentVariable("ZEL_HIVELET_LIBRARY");
    if (!fromEnv.isEmpty())
        return {fromEnv};
    if (QCoreApplication::instance()) {
        const QDir bin(QCoreApplication::applicationDirPath());
        files << bin.filePath(QStringLiteral("hivelet"));
#ifdef ZEL_BIN_TO_PKGLIB
        files << bin.filePath(QStringLiteral(ZEL_BIN_TO_PKGLIB "/hivelet"));
#endif
    }
#ifdef ZEL_HIVELET_BUILD_DIR
    files << QDir(QStringLiteral(ZEL_HIVELET_BUILD_DIR)).filePath(QStringLiteral("hivelet"));
#endif
    files << QStringLiteral("hivelet");
    return files;
}
} // namespace

Hivelet::Hivelet()
{
    QStringList reasons;
    for (const QString& file : candidates()) {
        m_library.setFileNameAndVersion(file, 1);
        if (!m_library.load()) {
            m_library.setFileName(file);
            if (!m_library.load()) {
                reasons << m_library.errorString();
                continue;
            }
        }
        auto create = reinterpret_cast<CreateFn>(m_library.resolve("hivelet_create"));
        m_destroy = reinterpret_cast<DestroyFn>(m_library.resolve("hivelet_destroy"));
        m_save = reinterpret_cast<SaveFn>(m_library.resolve("hivelet_save"));
        m_get = reinterpret_cast<GetFn>(m_library.resolve("hivelet_get"));
        m_free = reinterpret_cast<FreeFn>(m_library.resolve("hivelet_free"));
        if (create && m_destroy && m_save && m_get && m_free)
            m_control = create("Hivelet");
        if (m_control)
            return;
        reasons << QStringLiteral("%1 has no Hivelet control").arg(m_library.fileName());
        m_library.unload();
    }
    m_error = reasons.join(QStringLiteral("; "));
}

Hivelet::~Hivelet()
{
    if (m_control)
        m_destroy(m_control);
    // The library stays mapped until the program ends, as a loaded control module does.
}

QString Hivelet::Get(const QString& mainKey, const QString& subKey, const QString& valueName,
                     const QString& defaultValue)
{
    if (!m_control)
        return defaultValue;
    char* text = m_get(m_control, mainKey.toUtf8().constData(), subKey.toUtf8().constData(),
                       valueName.toUtf8().constData(), defaultValue.toUtf8().constData());
    if (!text)
        return defaultValue;
    const QString result = QString::fromUtf8(text);
    m_free(text);
    return result;
}

bool Hivelet::Save(const QString& mainKey, const QString& subKey, const QString& valueName,
                   const QString& setting)
{
    if (!m_control)
        return false;
    return m_save(m_control, mainKey.toUtf8().constData(), subKey.toUtf8().constData(),
                  valueName.toUtf8().constData(), setting.toUtf8().constData()) != 0;
}
