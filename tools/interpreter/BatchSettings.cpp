#include "tools/interpreter/BatchSettings.h"

#include "platform/IniFile.h"

namespace interpreter {

int readTimeoutSeconds(const QString& pifPath)
{
    const platform::IniFile settings(pifPath);
    bool ok = false;
    const int seconds = settings.value(QStringLiteral("Batch"), QStringLiteral("Timeout")).toInt(&ok);
    return ok && seconds > 0 ? seconds : defaultTimeoutSeconds;
}

} // namespace interpreter
