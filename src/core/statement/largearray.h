// A growable array of plain values for the big buffers of a statement (hundreds of megabytes):
// no zero-filling, grown in place by the kernel, and backed by huge pages where available.
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>

namespace detail {
/// Page-backed allocation helpers (mmap/mremap on Linux, malloc elsewhere).
void *AllocateLarge(size_t bytes);
void *ReallocateLarge(void *data, size_t oldBytes, size_t newBytes);
void FreeLarge(void *data, size_t bytes);
} // namespace detail

template <typename T> class LargeArray {
    static_assert(std::is_trivially_copyable_v<T>, "LargeArray holds plain values only");

public:
    LargeArray() = default;
    ~LargeArray() { detail::FreeLarge(m_data, m_capacity * sizeof(T)); }
    LargeArray(const LargeArray &other) { append(other.data(), other.size()); }
    LargeArray &operator=(const LargeArray &other)
    {
        if (this != &other) {
            m_size = 0;
            append(other.data(), other.size());
        }
        return *this;
    }
    LargeArray(LargeArray &&other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
          m_capacity(std::exchange(other.m_capacity, 0))
    {
    }
    LargeArray &operator=(LargeArray &&other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
        return *this;
    }

    T *data() { return m_data; }
    const T *data() const { return m_data; }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    size_t capacityBytes() const { return m_capacity * sizeof(T); }
    T &operator[](size_t i) { return m_data[i]; }
    const T &operator[](size_t i) const { return m_data[i]; }

    void reserve(size_t count)
    {
        if (count <= m_capacity)
            return;
        m_data = static_cast<T *>(
            detail::ReallocateLarge(m_data, m_capacity * sizeof(T), count * sizeof(T)));
        m_capacity = count;
    }
    /// New elements are left uninitialised.
    void resizeUninitialised(size_t count)
    {
        if (count > m_capacity)
            reserve(count > m_capacity * 2 ? count : m_capacity * 2);
        m_size = count;
    }
    void push_back(const T &value)
    {
        if (m_size == m_capacity)
            reserve(m_capacity < 16 ? 16 : m_capacity * 2);
        m_data[m_size++] = value;
    }
    void append(const T *values, size_t count)
    {
        if (count == 0)
            return;
        const size_t at = m_size;
        resizeUninitialised(m_size + count);
        std::memcpy(m_data + at, values, count * sizeof(T));
    }
    void clear() { m_size = 0; }

private:
    T *m_data = nullptr;
    size_t m_size = 0;
    size_t m_capacity = 0;
};
