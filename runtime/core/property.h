#pragma once

#include <type_traits>
#include <utility>

namespace rt {

// Anything that owns properties and wants to hear when one of them changes value.
class PropertyOwner {
public:
    virtual void propertyChanged() = 0;

protected:
    ~PropertyOwner() = default;
};

// A control property that reads and writes like a plain value (`Enemy(i).Left = Enemy(i).Left +
// 50`) and tells its owner when a write changes it, so a window repaints only when something moved.
template <class T> class Property {
public:
    Property(PropertyOwner& owner, T value) : m_owner(&owner), m_value(std::move(value)) {}
    Property(const Property&) = delete;

    // `Lasers(s).Top = Player.Top` copies the value, never the owner.
    Property& operator=(const Property& other) { return *this = other.m_value; }

    Property& operator=(T value)
    {
        if (!(m_value == value)) {
            m_value = std::move(value);
            m_owner->propertyChanged();
        }
        return *this;
    }

    operator const T&() const { return m_value; }
    const T& value() const { return m_value; }

    // Text properties compare with text directly; numbers use the built-in operators.
    friend bool operator==(const Property& p, const T& value) requires(!std::is_arithmetic_v<T>)
    {
        return p.m_value == value;
    }

private:
    PropertyOwner* m_owner;
    T m_value;
};

} // namespace rt
