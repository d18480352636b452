#include "platform/uikit/layout/Variable.h"

#include <utility>

namespace layout {

Variable::Variable(std::string name)
    : m_data(std::make_shared<Data>(Data { std::move(name), 0 }))
{
}

std::string Variable::displayName() const
{
    return m_data->name.empty() ? "(unnamed)" : m_data->name;
}

} // namespace layout
