// Another process of the session for the named-mutex tests: creates the
// mutex named by its argument, writes the creation's error code on a line,
// closes the handle when a line arrives on its input and answers "closed",
// and exits when its input ends.
#include "platform/named_mutexes.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    platform::NamedMutexes& mutexes = platform::SystemNamedMutexes();
    const platform::NamedMutexes::Created created = mutexes.Create(argv[1]);
    std::printf("%d\n", static_cast<int>(created.lastError));
    std::fflush(stdout);
    char line[16];
    if (std::fgets(line, sizeof line, stdin)) {
        mutexes.Close(created.handle);
        std::printf("closed\n");
        std::fflush(stdout);
    }
    while (std::fgets(line, sizeof line, stdin)) {
    }
    return 0;
}
