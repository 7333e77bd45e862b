// SPDX-License-Identifier: MIT
#include "files/temporaryfiles.h"

#include "files/statefolder.h"

#include <QMutex>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {
constexpr char kNamePrefix[] = ".zarvo-";
constexpr int kMaxRecordBytes = 4096;
constexpr int kMaxCreateAttempts = 8;

// The record of a folder's temporary name is "KEY-SUFFIX", KEY naming the
// folder; it holds the temporary file's path, which ends in ".zarvo-SUFFIX".
QByteArray recordName(const QByteArray &key, const QByteArray &suffix) { return key + '-' + suffix; }

// This program's temporary name in one folder and the locked record of it.
struct Slot {
    QByteArray suffix; // the random part of the name
    StateFolder records;
    QByteArray recordName; // empty while the name is not recorded
    FileDescriptor record;

    QByteArray name() const { return kNamePrefix + suffix; }
    // Drops the record. At exit a file left under the name (a save that
    // could not remove it) keeps its record, so the next program to save
    // into the folder removes both.
    void release(const QByteArray &folder, bool keepForLeftover)
    {
        struct stat status;
        const QByteArray path = folder + '/' + name();
        const bool leftover = ::lstat(path.constData(), &status) == 0 || errno != ENOENT;
        if (record.isOpen() && !(keepForLeftover && leftover))
            ::unlinkat(records.fd.get(), recordName.constData(), 0);
        record.close();
    }
};

// The temporary file's path a record holds, when the record is one of ours
// for this folder: a file the user owns, locked by no running program, that
// names a temporary file of its own suffix in the folder.
QByteArray abandonedTemporary(int record, const QByteArray &entry, const QByteArray &key, const QByteArray &canonical)
{
    struct stat status;
    QByteArray path;
    if (::fstat(record, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()
        || ::flock(record, LOCK_EX | LOCK_NB) != 0 || readAll(record, path, kMaxRecordBytes, kMaxRecordBytes) != 0)
        return {};
    const QByteArray suffix = entry.mid(key.size() + 1);
    if (folderOf(path) != canonical || nameOf(path) != kNamePrefix + suffix || suffix.size() != kRandomSuffixLength)
        return {};
    return path;
}

// Removes the temporary file a record names when it is abandoned, then the
// record itself.
void removeIfAbandoned(const Slot &slot, const QByteArray &entry, int folder, const QByteArray &key,
                       const QByteArray &canonical)
{
    const int records = slot.records.fd.get();
    FileDescriptor record(::openat(records, entry.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    const QByteArray path = record.isOpen() ? abandonedTemporary(record.get(), entry, key, canonical) : QByteArray();
    if (path.isEmpty())
        return;
    const QByteArray name = nameOf(path);
    FileDescriptor file(::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status;
    if (file.isOpen()) {
        if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
            return;
        ::unlinkat(folder, name.constData(), 0);
    } else if (errno != ENOENT) {
        return;
    }
    ::unlinkat(records, entry.constData(), 0);
}

void removeLeftovers(const Slot &slot, int folder, const QByteArray &key, const QByteArray &canonical)
{
    for (const QByteArray &name : namesStartingWith(slot.records.fd.get(), key + '-'))
        removeIfAbandoned(slot, name, folder, key, canonical);
}

// Records the name, locked, under a name that cleaners see only once the
// lock is held.
void record(Slot &slot, const QByteArray &key, const QByteArray &canonical)
{
    const QByteArray entry = recordName(key, slot.suffix);
    const QByteArray path = canonical + '/' + slot.name();
    SecondNameFile written;
    if (written.create(slot.records.fd.get(), slot.records.path, '.' + entry, kPrivateFileMode) != 0
        || written.writeAndFlush(path) != 0 || written.renameTo(entry) != 0)
        return;
    slot.recordName = entry;
    slot.record = written.takeDescriptor();
}

Slot newSlot(int folder, const QByteArray &folderPath, bool firstInFolder)
{
    Slot slot;
    slot.suffix = randomSuffix();
    const QByteArray canonical = canonicalFolder(folderPath);
    if (canonical.isEmpty())
        return slot;
    slot.records = openStateFolder("temporaries");
    if (!slot.records.fd.isOpen())
        return slot;
    const QByteArray key = pathKey(canonical);
    if (firstInFolder)
        removeLeftovers(slot, folder, key, canonical);
    record(slot, key, canonical);
    return slot;
}

// The program's slots by folder; at exit each drops its record.
class Slots {
public:
    ~Slots()
    {
        for (auto &[folder, slot] : m_slots)
            slot.release(folder, true);
    }
    QByteArray nameFor(int folder, const QByteArray &folderPath)
    {
        auto found = m_slots.find(folderPath);
        if (found == m_slots.end())
            found = m_slots.emplace(folderPath, newSlot(folder, folderPath, true)).first;
        return found->second.name();
    }
    // Someone else's file has our name in the folder: take another name, and
    // drop the record so that no cleaner takes that file for ours.
    void renew(int folder, const QByteArray &folderPath)
    {
        Slot &slot = m_slots[folderPath];
        slot.release(folderPath, false);
        slot = newSlot(folder, folderPath, false);
    }

private:
    std::map<QByteArray, Slot> m_slots;
};
} // namespace

int createTemporaryFile(SecondNameFile &file, int folder, const QByteArray &folderPath, mode_t mode)
{
    static QMutex mutex;
    static Slots slots;
    QMutexLocker locker(&mutex);
    int error = EEXIST;
    for (int attempt = 0; attempt < kMaxCreateAttempts && error == EEXIST; ++attempt) {
        if (attempt > 0)
            slots.renew(folder, folderPath);
        error = file.create(folder, folderPath, slots.nameFor(folder, folderPath), mode);
    }
    return error;
}

} // namespace files
