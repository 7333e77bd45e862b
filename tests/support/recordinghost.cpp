// SPDX-License-Identifier: MIT
#include "support/recordinghost.h"

#include "toolkit/loadedwindows.h"

namespace testsupport {

void RecordingHost::report(const interpreter::RunReport &report)
{
    reports.append(Report{report, toolkit::loadedWindows().size()});
}

void RecordingHost::warn(const interpreter::RunWarning &warning)
{
    warnings.append(QString::number(warning.place.lineNumber) + QStringLiteral(": ") + warning.text);
}

void RecordingHost::clear()
{
    statuses.clear();
    reports.clear();
    warnings.clear();
}

} // namespace testsupport
