// SPDX-License-Identifier: MIT
#include "files/temporaryfiles.h"

#include "files/statefolder.h"

#include <QRandomGenerator>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {
constexpr char kNamePrefix[] = ".zarvo-";
constexpr int kRandomCharacters = 6;
constexpr int kMaxRecordBytes = 4096;
constexpr int kMaxCreateAttempts = 8;
constexpr mode_t kPrivateFileMode = 0600;

QByteArray randomCharacters()
{
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray text(kRandomCharacters, Qt::Uninitialized);
    for (char &c : text)
        c = kAlphabet[QRandomGenerator::global()->bounded(int(sizeof kAlphabet - 1))];
    return text;
}

// This program's temporary name in one folder and the locked record of it.
struct Slot {
    QByteArray suffix;     // the random part of the name
    QByteArray recordPath; // empty while the name is not recorded
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
            ::unlink(recordPath.constData());
        record.close();
    }
};

// Removes the temporary file a record names when no running program holds
// the record or the file, then the record itself.
void removeIfAbandoned(const QByteArray &recordPath, const QByteArray &canonical)
{
    FileDescriptor record(::open(recordPath.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!record.isOpen() || ::flock(record.get(), LOCK_EX | LOCK_NB) != 0)
        return;
    QByteArray path;
    if (readAll(record.get(), path, kMaxRecordBytes, kMaxRecordBytes) != 0 || folderOf(path) != canonical
        || !nameOf(path).startsWith(kNamePrefix))
        return;
    FileDescriptor file(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status;
    if (file.isOpen()) {
        if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(file.get(), &status) != 0
            || !S_ISREG(status.st_mode))
            return;
        ::unlink(path.constData());
    } else if (errno != ENOENT) {
        return;
    }
    ::unlink(recordPath.constData());
}

void removeLeftovers(const QByteArray &records, const QByteArray &key, const QByteArray &canonical)
{
    DIR *dir = ::opendir(records.constData());
    if (!dir)
        return;
    const QByteArray prefix = key + '-';
    while (const dirent *entry = ::readdir(dir)) {
        if (QByteArrayView(entry->d_name).startsWith(prefix))
            removeIfAbandoned(records + '/' + entry->d_name, canonical);
    }
    ::closedir(dir);
}

// Records the name, locked, under a name that cleaners see only once the
// lock is held.
void recordName(Slot &slot, const QByteArray &records, const QByteArray &key, const QByteArray &canonical)
{
    const QByteArray entry = key + '-' + slot.suffix;
    const QByteArray partial = records + "/." + entry;
    FileDescriptor record(::open(partial.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kPrivateFileMode));
    if (!record.isOpen())
        return;
    const QByteArray path = canonical + '/' + slot.name();
    slot.recordPath = records + '/' + entry;
    if (::flock(record.get(), LOCK_EX) != 0 || writeAllAt(record.get(), path.constData(), path.size(), 0) != 0
        || ::rename(partial.constData(), slot.recordPath.constData()) != 0) {
        ::unlink(partial.constData());
        return;
    }
    slot.record = std::move(record);
}

Slot newSlot(const QByteArray &folder, bool firstInFolder)
{
    Slot slot;
    slot.suffix = randomCharacters();
    const QByteArray canonical = canonicalFolder(folder);
    const QByteArray records = canonical.isEmpty() ? QByteArray() : stateSubfolder("temporaries");
    if (records.isEmpty())
        return slot; // saves still work; only a kill's leftover stays
    const QByteArray key = pathKey(canonical);
    if (firstInFolder)
        removeLeftovers(records, key, canonical);
    recordName(slot, records, key, canonical);
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
    Slot &slotFor(const QByteArray &folder)
    {
        auto found = m_slots.find(folder);
        if (found == m_slots.end())
            found = m_slots.emplace(folder, newSlot(folder, true)).first;
        return found->second;
    }
    // Someone else's file has our name in the folder: take another name, and
    // drop the record so that no cleaner takes that file for ours.
    void renew(const QByteArray &folder)
    {
        Slot &slot = m_slots[folder];
        slot.release(folder, false);
        slot = newSlot(folder, false);
    }

private:
    std::map<QByteArray, Slot> m_slots;
};
} // namespace

TemporaryFile createTemporaryFile(const QByteArray &folder, mode_t mode)
{
    static Slots slots;
    TemporaryFile temporary;
    for (int attempt = 0; attempt < kMaxCreateAttempts; ++attempt) {
        temporary.path = folder + '/' + slots.slotFor(folder).name();
        temporary.fd = FileDescriptor(
            ::open(temporary.path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (temporary.fd.isOpen()) {
            ::flock(temporary.fd.get(), LOCK_EX);
            return temporary;
        }
        temporary.error = errno;
        if (temporary.error != EEXIST)
            return temporary;
        slots.renew(folder);
    }
    return temporary;
}

} // namespace files
