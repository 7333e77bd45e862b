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

private:
    QStringList m_elements;
};

} // namespace interpreter
