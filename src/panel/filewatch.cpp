// SPDX-License-Identifier: MIT
#include "panel/filewatch.h"

#include <QFileInfo>

namespace panel {

namespace {
// Long enough to take in a burst of writes, short enough that a change shows
// well within a second.
constexpr int kSettleMs = 100;
} // namespace

FileWatch::FileWatch(QObject *parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_settle, &QTimer::timeout, this, [this] {
        rewatch();
        Q_EMIT changed();
    });
}

void FileWatch::watch(const QString &path)
{
    if (path == m_path)
        return rewatch();
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    m_path = path;
    rewatch();
}

// A file replaced by a rename is no longer watched under its name, and a file
// that did not exist could not be watched at all.
void FileWatch::rewatch()
{
    if (m_path.isEmpty())
        return;
    const QFileInfo file(m_path);
    const QString folder = file.absolutePath();
    if (!m_watcher.directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher.addPath(folder);
    if (!m_watcher.files().contains(m_path) && file.exists())
        m_watcher.addPath(m_path);
}

} // namespace panel
