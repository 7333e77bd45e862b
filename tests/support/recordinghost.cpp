#include "support/recordinghost.h"

#include "toolkit/loadedwindows.h"

namespace testsupport {

void RecordingHost::report(const interpreter::RunReport &report)
{
    reports.append(Report{report, toolkit::loadedWindows().size()});
}

void RecordingHost::clear()
{
    statuses.clear();
    reports.clear();
}

} // namespace testsupport
