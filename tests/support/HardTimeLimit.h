#pragma once
// A hard time limit for tests of things that used to hang (a read from a named pipe, a file without end):
// when the limit passes, the whole test program stops with a message instead of waiting for ever.

#include <signal.h>
#include <unistd.h>

#include <cstring>

namespace vorlanex::testing {

class HardTimeLimit
{
public:
    explicit HardTimeLimit(unsigned seconds)
    {
        struct sigaction action {};
        action.sa_handler = &Expired;
        sigemptyset(&action.sa_mask);
        sigaction(SIGALRM, &action, &previous);
        alarm(seconds);
    }
    ~HardTimeLimit()
    {
        alarm(0);
        sigaction(SIGALRM, &previous, nullptr);
    }
    HardTimeLimit(const HardTimeLimit&) = delete;
    HardTimeLimit& operator=(const HardTimeLimit&) = delete;

private:
    static void Expired(int)
    {
        const char message[] = "\nhard time limit exceeded: the code under test hangs\n";
        [[maybe_unused]] const auto written = ::write(2, message, sizeof message - 1);
        ::_exit(124);
    }

    struct sigaction previous {};
};

}  // namespace vorlanex::testing
