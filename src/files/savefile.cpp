// SPDX-License-Identifier: MIT
#include "files/savefile.h"

#include "files/posixfile.h"
#include "files/recovery.h"
#include "files/savesteps.h"
#include "platform/error.h"
#include "platform/filenames.h"

#include <new>

namespace files {

namespace {
QString conflictDescription(const FileIdentity &expected, const FileIdentity &found)
{
    if (!found.exists && !expected.exists)
        return QStringLiteral("Another program put a link in the file's place.");
    if (!found.exists)
        return QStringLiteral("The file was deleted or renamed by another program.");
    if (!expected.exists)
        return QStringLiteral("Another program created the file.");
    if (found.device != expected.device || found.inode != expected.inode)
        return QStringLiteral("Another program replaced the file.");
    return QStringLiteral("Another program changed the file.");
}

SaveResult conflict(const FileIdentity &expected, const FileIdentity &found)
{
    SaveResult result;
    result.status = SaveResult::Status::Conflict;
    result.found = found;
    result.description = conflictDescription(expected, found);
    return result;
}

SaveResult failure(const FileIdentity &written, int number, const QString &description)
{
    SaveResult result;
    result.written = written;
    result.errorNumber = number;
    result.description = description;
    return result;
}

void save(SaveJob &job)
{
    checkExpectedState(job, true);
    job.target = inspectSaveTarget(platform::fileNameToBytes(job.path));
    replaceFile(job);
    // Whatever an interrupted save left for this file is stale now.
    discardRecoveryCopy(job.path);
}
} // namespace

// The bytes are compared by their hash only where the status agrees: a
// change within one tick of the file system's clock keeps the size and the
// modification time. A file we may write but not read is judged by its
// status alone.
void checkExpectedState(const SaveJob &job, bool compareBytes)
{
    if (!job.expected)
        return;
    FileIdentity found = currentIdentity(job.path);
    if (!found.sameAs(*job.expected))
        throw FileChanged{found};
    if (!compareBytes || !found.exists || job.expected->contentHash.isEmpty())
        return;
    try {
        found.contentHash = contentHash(readRegularFile(platform::fileNameToBytes(job.path)));
    } catch (const platform::Error &) {
        return;
    }
    if (found.contentHash != job.expected->contentHash)
        throw FileChanged{found};
}

SaveResult saveFile(const SaveRequest &request)
{
    SaveJob job{request.path, {}, request.bytes, request.expected, {}};
    try {
        save(job);
        SaveResult saved;
        saved.status = SaveResult::Status::Saved;
        saved.written = job.written;
        return saved;
    } catch (const FileChanged &changed) {
        return conflict(*request.expected, changed.found);
    } catch (const platform::Error &error) {
        return failure(job.written, error.number(), error.description());
    } catch (const std::bad_alloc &) {
        return failure(job.written, platform::ErrOutOfMemory, platform::standardDescription(platform::ErrOutOfMemory));
    }
}

} // namespace files
