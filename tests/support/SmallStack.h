// Runs a piece of work with little stack left, so that a walk spending
// stack on every folder level of a deep tree overflows it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <malloc.h>

#include <functional>

// Wine gives no thread less than 1 MiB of stack, and each call on a path
// under Wine costs time that grows with its depth, so a tree deep enough to
// overflow 1 MiB takes minutes to make and walk. Instead a thread of its
// own gets its stack used up to this much: then a tree of a few hundred
// levels is too deep for a walk that spends stack per level.
constexpr size_t kStackLeft = 96 * 1024;
constexpr int kDeeperThanTheStack = 400;

inline void OnSmallStack(const std::function<void()>& work)
{
    auto run = [](void* parameter) -> DWORD {
        // The stack's reservation starts at its lowest address.
        MEMORY_BASIC_INFORMATION stack{};
        ::VirtualQuery(&stack, &stack, sizeof stack);
        auto low = reinterpret_cast<ULONG_PTR>(stack.AllocationBase);
        auto here = reinterpret_cast<ULONG_PTR>(&stack);
        if (here - low > kStackLeft) {
            volatile char* used = static_cast<char*>(_alloca(here - low - kStackLeft));
            used[0] = 0;
        }
        (*static_cast<const std::function<void()>*>(parameter))();
        return 0;
    };
    HANDLE thread = ::CreateThread(nullptr, 1024 * 1024, run, const_cast<std::function<void()>*>(&work),
                                   STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    ASSERT_NE(thread, nullptr);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
}
