#include "interpreter/compilesource.h"

#include "files/textencoding.h"
#include "interpreter/errorreport.h"
#include "interpreter/runstate.h"
#include "interpreter/scriptrun.h"
#include "platform/error.h"

#include <optional>

namespace interpreter {

namespace {
// The whole script, read before its first line runs, so that a failure to
// read it is reported as the script's own and never as a line's.
std::optional<QString> readScript(RunState &run)
{
    try {
        return withoutByteOrderMark(files::readTextFile(run.path).text);
    } catch (const platform::Error &error) {
        reportScriptReadError(run, error);
        return std::nullopt;
    }
}
} // namespace

void compileSource(const QString &path, int stepFlag, RunHost &host, RunOptions options)
{
    RunState run(path, host);
    const bool succeeded = trappedRun(run, [&] {
        run.host.setStatus(QStringLiteral("Compiling ..."));
        const std::optional<QString> script = readScript(run);
        return script && runLines(run, *script, stepFlag, options);
    });
    if (succeeded)
        run.host.setStatus(QStringLiteral("Compiled sucessfully..."));
}

} // namespace interpreter
