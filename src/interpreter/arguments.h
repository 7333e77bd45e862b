// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace interpreter {

// The elements of one script line; element 0 is the command keyword.
// Reading an element the line does not have raises 9 (subscript out of range).
class ArgumentList {
public:
    ArgumentList() = default;
    explicit ArgumentList(QStringList elements) : m_elements(std::move(elements)) {}

    const QString &at(int index) const;
    const QString &keyword() const { return at(0); }
    int size() const { return int(m_elements.size()); }

    // The index of the element read last, -1 before any. A command converts
    // each element as soon as it reads it, so after a failure this names the
    // element that failed, or the one the line lacked.
    int lastRead() const { return m_lastRead; }

private:
    QStringList m_elements;
    mutable int m_lastRead = -1;
};

} // namespace interpreter
