#pragma once
// A main window configuration whose program folder, data folder and settings all live in a
// test's own temporary folder.

#include "app/mainform.h"

#include <QTemporaryDir>

namespace pm::test {

inline AppConfig isolatedConfig(const QTemporaryDir& dir) {
    AppConfig config;
    config.progpath = dir.path();
    config.dataHome = dir.filePath(QStringLiteral("data"));
    config.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    return config;
}

} // namespace pm::test
