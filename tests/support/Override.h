// Replaces a value (a seam, a clock function) for one scope.
#pragma once

#include <utility>

template <typename T> class ScopedOverride {
public:
    ScopedOverride(T& target, T replacement) : m_target(target), m_saved(std::exchange(target, std::move(replacement)))
    {
    }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;
    ~ScopedOverride() { m_target = std::move(m_saved); }

private:
    T& m_target;
    T m_saved;
};
