#pragma once

#include "runtime/core/check.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace rt {

class Form;

// Like controls under one name, each selected by its index: `Enemy(i).Left`.
// Indexes may have gaps; iteration runs in index order.
template <class T> class ControlArray {
public:
    ControlArray(Form& form, std::string name) : m_form(&form), m_name(std::move(name)) {}
    // The members 0 to count - 1, built with the array so they take its place in the layout order.
    ControlArray(Form& form, std::string name, int count) : ControlArray(form, std::move(name))
    {
        for (int index = 0; index < count; ++index)
            add(index);
    }
    // The members with these indexes, for an array with gaps.
    ControlArray(Form& form, std::string name, std::initializer_list<int> indexes)
        : ControlArray(form, std::move(name))
    {
        for (const int index : indexes)
            add(index);
    }

    // Adds the member with this index.
    T& add(int index)
    {
        RT_CHECK(index >= 0, m_name + ": negative index");
        if (index >= static_cast<int>(m_members.size()))
            m_members.resize(static_cast<std::size_t>(index) + 1);
        RT_CHECK(!m_members[static_cast<std::size_t>(index)],
                 m_name + "(" + std::to_string(index) + ") added twice");
        m_members[static_cast<std::size_t>(index)] = std::make_unique<T>(*m_form, m_name, index);
        return *m_members[static_cast<std::size_t>(index)];
    }

    T& operator()(int index) { return *member(index); }
    const T& operator()(int index) const { return *member(index); }

    bool contains(int index) const
    {
        return index >= 0 && index < static_cast<int>(m_members.size()) &&
               m_members[static_cast<std::size_t>(index)] != nullptr;
    }

    const std::string& name() const { return m_name; }

private:
    // Checked in every build: a gap or a wrong index must never reach memory it does not own.
    T* member(int index) const
    {
        const auto slot = static_cast<std::size_t>(index); // a negative index wraps past the end
        T* found = slot < m_members.size() ? m_members[slot].get() : nullptr;
        RT_REQUIRE(found, m_name + "(" + std::to_string(index) + ") is not in the array");
        return found;
    }

    Form* m_form;
    std::string m_name;
    std::vector<std::unique_ptr<T>> m_members;
};

} // namespace rt
