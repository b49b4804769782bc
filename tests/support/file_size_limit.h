#pragma once

#include <signal.h>
#include <sys/resource.h>

// Writes beyond a size fail as on a full device, while it lives.
struct CFileSizeLimit {
    explicit CFileSizeLimit(rlim_t bytes) : signal(::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limit{bytes, old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~CFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, signal);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

    rlimit old{};
    sighandler_t signal;
};
