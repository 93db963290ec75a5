#include "LinuxToolkit/Desktop.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace LinuxToolkit {

void OpenAddress(const char* address) {
    // The address is an argument of the shell, never part of its script.
    const char* script = "xdg-open \"$0\" >/dev/null 2>&1 </dev/null &";
    char* argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), const_cast<char*>(script),
                    const_cast<char*>(address), nullptr};
    pid_t shell = 0;
    if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return;
    // The shell ends as soon as the opener is started; collecting it leaves no zombie.
    int status = 0;
    waitpid(shell, &status, 0);
}

}  // namespace LinuxToolkit
