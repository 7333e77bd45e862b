// SPDX-License-Identifier: MIT
#include "interpreter/arguments.h"

#include "platform/error.h"

namespace interpreter {

const QString &ArgumentList::at(int index) const
{
    m_lastRead = index;
    if (index < 0 || index >= m_elements.size())
        platform::raiseError(platform::ErrSubscript);
    return m_elements[index];
}

} // namespace interpreter
