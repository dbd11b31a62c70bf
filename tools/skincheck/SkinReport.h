#pragma once

#include <QJsonObject>
#include <QStringList>

class TSkinForm;

// What a skin load left in the component, as one JSON object for skin authors and scripts.
QJsonObject skinReport(const TSkinForm& skin, const QStringList& messages);
