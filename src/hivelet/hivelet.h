/*
 * hivelet: named text settings in the machine-wide registry, for any host.
 *
 * Every setting is a text value named `valueName` in the key
 *     HKEY_LOCAL_MACHINE \ SOFTWARE\TARN \ mainKey \ subKey
 * On Windows this is the registry itself. Elsewhere it is a file hive: one folder per key,
 * one text file per value, under the folder named by the environment variable HIVELET_HIVE,
 * or $XDG_CONFIG_HOME/hivelet, or ~/.config/hivelet (the first that is set).
 *
 * All texts are UTF-8. A NULL text argument other than mainKey counts as the empty text.
 * Results of hivelet_get are new strings owned by the caller; free them with hivelet_free.
 * The control keeps no state: every call opens and closes its own key. No call shows anything.
 * Each call asks only for the rights it needs: hivelet_get to read values, hivelet_save to set
 * them. On Windows every user may read HKEY_LOCAL_MACHINE\SOFTWARE but only administrators may
 * write it, so there a user reads the settings an installer or administrator stored, and saves
 * only into keys an administrator has opened to users.
 */
#ifndef HIVELET_H
#define HIVELET_H

#if defined(_WIN32)
#if defined(HIVELET_BUILDING)
#define HIVELET_API __declspec(dllexport)
#else
#define HIVELET_API __declspec(dllimport)
#endif
#else
#define HIVELET_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Creates a control by its class name, "Hivelet" (letter case ignored); NULL for any other
 * name. Destroy it with hivelet_destroy. */
HIVELET_API void* hivelet_create(const char* className);

/* Destroys a control made by hivelet_create; NULL is ignored. */
HIVELET_API void hivelet_destroy(void* control);

/* Writes `setting` as the value `valueName` of the key mainKey\subKey, creating the key and
 * any missing parent keys. Returns 1 when the value was written, 0 otherwise: mainKey NULL,
 * the key cannot be opened for setting values or created, the key path is longer than 99 characters or has an
 * empty part, a text is not valid UTF-8, or the write fails. */
HIVELET_API int hivelet_save(void* control, const char* mainKey, const char* subKey,
                             const char* valueName, const char* setting);

/* Reads the value `valueName` of the key mainKey\subKey, creating the key when it is missing.
 * Returns the stored text when the value exists, is text and is at most 30 characters long;
 * otherwise `defaultValue`. Returns the empty text when mainKey is NULL. The result is a new
 * string (free it with hivelet_free); it is NULL only when control is NULL or memory runs out. */
HIVELET_API char* hivelet_get(void* control, const char* mainKey, const char* subKey,
                              const char* valueName, const char* defaultValue);

/* Frees a string returned by hivelet_get; NULL is ignored. */
HIVELET_API void hivelet_free(char* text);

/* The library's version, "1.0.0.2", and its description. Static texts: do not free. */
HIVELET_API const char* hivelet_version(void);
HIVELET_API const char* hivelet_description(void);

#ifdef __cplusplus
}
#endif

#endif
