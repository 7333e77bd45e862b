#include "files/savefile.h"

#include "files/posixfile.h"
#include "files/safesave.h"
#include "platform/error.h"

#include <QFile>
#include <new>

namespace files {

namespace {
QString conflictDescription(const FileIdentity &expected, const FileIdentity &found)
{
    if (!found.exists)
        return QStringLiteral("The file was deleted or renamed by another program.");
    if (!expected.exists)
        return QStringLiteral("Another program created the file.");
    if (found.device != expected.device || found.inode != expected.inode)
        return QStringLiteral("Another program replaced the file.");
    return QStringLiteral("Another program changed the file.");
}

// The file's state where it differs from the expected one; none while the
// file is as expected. The bytes are compared by their hash only where the
// status agrees, since a change within one tick of the file system's clock
// keeps the size and the modification time.
std::optional<FileIdentity> unexpectedState(const QString &path, const FileIdentity &expected)
{
    FileIdentity found = currentIdentity(path);
    if (!found.sameAs(expected))
        return found;
    if (found.exists && !expected.contentHash.isEmpty()) {
        try {
            found.contentHash = contentHash(readRegularFile(QFile::encodeName(path)));
        } catch (const platform::Error &) {
            return std::nullopt; // a file we may write but not read
        }
        if (found.contentHash != expected.contentHash)
            return found;
    }
    return std::nullopt;
}

SaveResult failure(int number, const QString &description)
{
    SaveResult result;
    result.errorNumber = number;
    result.description = description;
    return result;
}
} // namespace

SaveResult saveFile(const SaveRequest &request)
{
    try {
        if (request.expected) {
            if (const std::optional<FileIdentity> found = unexpectedState(request.path, *request.expected)) {
                SaveResult conflict;
                conflict.status = SaveResult::Status::Conflict;
                conflict.found = *found;
                conflict.description = conflictDescription(*request.expected, *found);
                return conflict;
            }
        }
        writeFileAtomically(request.path, request.bytes);
        SaveResult saved;
        saved.status = SaveResult::Status::Saved;
        saved.written = identityOfBytes(request.path, request.bytes);
        return saved;
    } catch (const platform::Error &error) {
        return failure(error.number(), error.description());
    } catch (const std::bad_alloc &) {
        return failure(platform::ErrOutOfMemory, platform::standardDescription(platform::ErrOutOfMemory));
    }
}

} // namespace files
