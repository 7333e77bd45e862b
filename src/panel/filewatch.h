// SPDX-License-Identifier: MIT
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace panel {

// Watches a file and the folder it is in, and reports once things have
// settled after a change of either, so that a save in several writes, or a
// removal followed by a rename, comes as one change.
class FileWatch : public QObject {
    Q_OBJECT
public:
    explicit FileWatch(QObject *parent = nullptr);

    void watch(const QString &path);

Q_SIGNALS:
    void changed();

private:
    void rewatch();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
};

} // namespace panel
