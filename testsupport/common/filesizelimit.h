#pragma once

#include <csignal>
#include <sys/resource.h>

// While it lives, no file may grow past a few bytes: a write fails part of
// the way, as on a full disk, without the signal that would end the test.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes = 64)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = m_old;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    struct rlimit m_old;
    void (*m_oldHandler)(int);
};
