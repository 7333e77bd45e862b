#pragma once

#include "interpreter/arguments.h"

#include <QLatin1StringView>
#include <span>

namespace interpreter {

struct RunState;

using CommandFunction = void (*)(RunState &run, const ArgumentList &args);

struct Command {
    QLatin1StringView keyword;
    CommandFunction run;
};

// The script commands in the order keywords are compared.
std::span<const Command> commandTable();

// The first command whose keyword equals the text exactly; null when none.
const Command *findCommand(const QString &keyword);

} // namespace interpreter
