#pragma once

#include <sys/resource.h>

// While it lives, no file can be opened (the process may hold no more open
// files): an open fails as it would for any reason, also for root, whom file
// permissions never stop. Files already open stay usable.
class OpenFileLimit
{
public:
    OpenFileLimit()
    {
        getrlimit(RLIMIT_NOFILE, &m_old);
        struct rlimit none = m_old;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_NOFILE, &none);
    }
    ~OpenFileLimit() { setrlimit(RLIMIT_NOFILE, &m_old); }
    OpenFileLimit(const OpenFileLimit &) = delete;
    OpenFileLimit &operator=(const OpenFileLimit &) = delete;

private:
    struct rlimit m_old;
};
