#include "tools/archiver/Limits.h"

#include <QString>

#include <algorithm>
#include <limits>

namespace {

QString mebibytes(qint64 bytes)
{
    return QStringLiteral("%1 MiB").arg(bytes >> 20);
}

} // namespace

OutputBudget::OutputBudget(const Limits& limits, qint64 archiveBytes)
    : m_limits(limits)
    , m_ratioBytes(
          std::max(limits.ratioFreeBytes, archiveBytes > std::numeric_limits<qint64>::max() / limits.ratio
                                              ? std::numeric_limits<qint64>::max()
                                              : archiveBytes * limits.ratio))
{
}

bool OutputBudget::allows(qint64 fileEnd, QString* why) const
{
    if (fileEnd > m_limits.fileBytes) {
        *why = QStringLiteral("a file would be larger than %1").arg(mebibytes(m_limits.fileBytes));
        return false;
    }
    const qint64 total = m_written + fileEnd;
    if (total > m_limits.totalBytes) {
        *why = QStringLiteral("the files would take more than %1 in all").arg(mebibytes(m_limits.totalBytes));
        return false;
    }
    if (total > m_ratioBytes) {
        *why =
            QStringLiteral("the files would take more than %1 times the archive's size").arg(m_limits.ratio);
        return false;
    }
    return true;
}
