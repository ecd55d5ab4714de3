#include "app/qtext.h"

#include <QStringList>

namespace pm {

QString qtFileFilter(const std::string& pipeFilter) {
    const QStringList parts = QString::fromUtf8(pipeFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace pm
