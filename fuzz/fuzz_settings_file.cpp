// Fuzz target: a settings file of any bytes read, written with a new value and read back.
#include "settingsfile.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path =
        QDir::temp().filePath(QStringLiteral("veltrano-fuzz-%1.INI").arg(getpid()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    const SettingsFile settings(path);
    settings.terminalPath();
    const QString folder = QStringLiteral("C:\\Program Files\\Terminal; x,y");
    if (!settings.setTerminalPath(folder))
        return 0;
    // Whatever the file held, the key reads back as written.
    if (settings.terminalPath() != folder)
        std::abort();
    return 0;
}
