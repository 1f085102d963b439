#pragma once

#include <utility>

#include "common/Cleanse.h"

namespace varnow {

// A buffer (Bytes or std::string) that holds key material: overwritten with zeros when it is
// replaced or goes, and never copied. Reserve its room before it grows, so that no copy is
// left behind by a reallocation.
template <typename Buffer>
class Cleansed {
public:
    Cleansed() = default;
    explicit Cleansed(Buffer value) : m_value(std::move(value)) {}
    Cleansed(const Cleansed&) = delete;
    Cleansed& operator=(const Cleansed&) = delete;
    Cleansed(Cleansed&& other) noexcept : m_value(std::move(other.m_value)) { other.Wipe(); }
    Cleansed& operator=(Cleansed&& other) noexcept {
        if (this != &other) {
            Wipe();
            m_value = std::move(other.m_value);
            other.Wipe();
        }
        return *this;
    }
    ~Cleansed() { Wipe(); }

    Buffer& get() { return m_value; }
    const Buffer& get() const { return m_value; }

private:
    void Wipe() {
        Cleanse(m_value.data(), m_value.size() * sizeof(*m_value.data()));
        m_value.clear();
    }

    Buffer m_value;
};

}  // namespace varnow
