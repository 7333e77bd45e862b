#include "support/recordinghost.h"

#include "platform/forms.h"

namespace testsupport {

void RecordingHost::report(const interpreter::RunReport &report)
{
    reports.append(Report{report, platform::loadedWindows().size()});
}

void RecordingHost::clear()
{
    statuses.clear();
    reports.clear();
}

} // namespace testsupport
