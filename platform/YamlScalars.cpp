#include "platform/YamlScalars.h"

#include <QList>
#include <QStringList>

namespace platform {
namespace {

struct Parent
{
    qsizetype indent;
    QString key;
};

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && value.startsWith(u'\'') && value.endsWith(u'\''))
        return value.mid(1, value.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) {
        QString text;
        const QString inner = value.mid(1, value.size() - 2);
        for (qsizetype i = 0; i < inner.size(); ++i) {
            if (inner.at(i) == u'\\' && i + 1 < inner.size())
                ++i;
            text += inner.at(i);
        }
        return text;
    }
    // A comment after a plain value.
    const qsizetype comment = value.indexOf(QStringLiteral(" #"));
    return (comment < 0 ? value : value.left(comment)).trimmed();
}

} // namespace

QHash<QString, QString> readYamlScalars(const QByteArray& text)
{
    QHash<QString, QString> values;
    QList<Parent> parents;
    for (const QByteArray& bytes : text.split('\n')) {
        const QString line = QString::fromUtf8(bytes).remove(u'\r');
        const QString content = line.trimmed();
        if (content.isEmpty() || content.startsWith(u'#') || content.startsWith(u'-'))
            continue;
        qsizetype indent = 0;
        while (indent < line.size() && line.at(indent) == u' ')
            ++indent;
        // The key ends at the first ":" followed by a blank or the end of the line.
        qsizetype colon = content.indexOf(u':');
        while (colon >= 0 && colon + 1 < content.size() && content.at(colon + 1) != u' ')
            colon = content.indexOf(u':', colon + 1);
        if (colon <= 0)
            continue;
        while (!parents.isEmpty() && parents.last().indent >= indent)
            parents.removeLast();
        const QString key = unquoted(content.left(colon).trimmed());
        const QString value = content.mid(colon + 1).trimmed();
        if (value.isEmpty()) {
            parents.append({indent, key});
            continue;
        }
        QStringList path;
        for (const Parent& parent : parents)
            path.append(parent.key);
        path.append(key);
        const QString joined = path.join(u'/');
        if (!values.contains(joined))
            values.insert(joined, unquoted(value));
    }
    return values;
}

} // namespace platform
