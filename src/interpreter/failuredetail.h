// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {
class Error;
}

namespace interpreter {

struct RunState;

// What a report adds to its defined text so that the user can find the
// mistake: which argument failed and what it held, how many arguments the
// command needs, or the full path of a file it tried. Empty when the failure
// says all there is.
QString failureDetail(const RunState &run, const platform::Error &error);

// For a keyword that matched no command: a blank before it other than
// spaces, which the run does not trim, and the keyword probably meant.
QString unknownKeywordDetail(const QString &keyword);

} // namespace interpreter
