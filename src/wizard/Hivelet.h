#pragma once

#include <QLibrary>
#include <QString>

// The registry settings control, created by its class name from the settings library,
// which is loaded at run time (the wizard never links it). The control keeps no state;
// every call opens and closes its own key.
class Hivelet
{
  public:
    // Loads the library (beside the program, in the build tree, or from the system's
    // library path) and creates one "Hivelet" control.
    Hivelet();
    ~Hivelet();
    Hivelet(const Hivelet&) = delete;
    Hivelet& operator=(const Hivelet&) = delete;

    // False when the library or the control could not be created; errorString() says why.
    bool isLoaded() const { return m_control != nullptr; }
    QString errorString() const { return m_error; }

    // The setting `valueName` of the key SOFTWARE\TARN\mainKey\subKey, or `defaultValue`.
    QString Get(const QString& mainKey, const QString& subKey, const QString& valueName,
                const QString& defaultValue);
    // Stores the setting; false when it could not be written.
    bool Save(const QString& mainKey, const QString& subKey, const QString& valueName,
              const QString& setting);

  private:
    using CreateFn = void* (*)(const char*);
    using DestroyFn = void (*)(void*);
    using SaveFn = int (*)(void*, const char*, const char*, const char*, const char*);
    using GetFn = char* (*)(void*, const char*, const char*, const char*, const char*);
    using FreeFn = void (*)(char*);

    QLibrary m_library;
    void* m_control = nullptr;
    DestroyFn m_destroy = nullptr;
    SaveFn m_save = nullptr;
    GetFn m_get = nullptr;
    FreeFn m_free = nullptr;
    QString m_error;
};
