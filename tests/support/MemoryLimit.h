#pragma once

#include <algorithm>
#include <sys/resource.h>

// While alive, this process, and every process it starts, may map no more than the given address
// space, as on a small computer or in a container with a memory limit.
class MemoryLimit
{
public:
    explicit MemoryLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_AS, &m_saved);
        const rlimit limited{std::min(bytes, m_saved.rlim_max), m_saved.rlim_max};
        setrlimit(RLIMIT_AS, &limited);
    }
    ~MemoryLimit() { setrlimit(RLIMIT_AS, &m_saved); }

private:
    rlimit m_saved{};
};
