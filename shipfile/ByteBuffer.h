#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace shipfile {

/// Leaves elements uninitialised when a vector grows, so a buffer that is about to be written
/// whole (an unpacked ship) does not pay for zeroing its bytes first.
template <typename T> struct UninitialisedAllocator : std::allocator<T>
{
    using value_type = T;
    template <typename U> struct rebind
    {
        using other = UninitialisedAllocator<U>;
    };

    UninitialisedAllocator() = default;
    template <typename U> UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}

    template <typename U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args> void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

/// Bytes whose resize() leaves new bytes unset: the caller writes every byte it keeps.
using ByteBuffer = std::vector<std::uint8_t, UninitialisedAllocator<std::uint8_t>>;

} // namespace shipfile
