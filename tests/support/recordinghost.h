// SPDX-License-Identifier: MIT
#pragma once

#include "interpreter/runhost.h"

#include <QList>
#include <QStringList>

namespace testsupport {

// A run host that shows nothing and keeps what a run gave it: every status
// text and every report, with how many windows were loaded when the report
// came, and every warning as "LINE: text".
class RecordingHost : public interpreter::SilentRunHost {
public:
    struct Report {
        interpreter::RunReport report;
        qsizetype loadedWindows = 0;
    };

    void setStatus(const QString &text) override { statuses.append(text); }
    void report(const interpreter::RunReport &report) override;
    void warn(const interpreter::RunWarning &warning) override;

    QString lastStatus() const { return statuses.value(statuses.size() - 1); }
    void clear();

    QStringList statuses;
    QList<Report> reports;
    QStringList warnings;
};

} // namespace testsupport
