// SPDX-License-Identifier: MIT
#pragma once

#include "files/posixfile.h"

#include <QByteArray>
#include <QString>

namespace files {

// Tells two running programs editing one file apart: the first to open the
// file holds its lock, a flock on a file in the user's state folder
// ($XDG_STATE_HOME/zarvo/locks) named after the file's path with its links
// followed (not after its inode, which every replacing save changes). The
// lock lives as long as this object and at most as long as the process.
//
// When the state folder is not safe to use (stateFolderProblem()), or the
// path leads nowhere, no lock can be taken: isHeld() is false and
// otherProcessId() 0, and the file is edited as without a lock.
class EditLock {
public:
    explicit EditLock(const QString &scriptPath);
    ~EditLock();
    EditLock(const EditLock &) = delete;
    EditLock &operator=(const EditLock &) = delete;

    bool isHeld() const { return m_lock.isOpen(); }
    // The process holding the lock when another one does; 0 when we hold it
    // or no lock could be taken.
    qint64 otherProcessId() const { return m_otherProcessId; }

private:
    void take(const QByteArray &name);

    FileDescriptor m_folder;
    FileDescriptor m_lock;
    QByteArray m_lockName;
    qint64 m_otherProcessId = 0;
};

} // namespace files
