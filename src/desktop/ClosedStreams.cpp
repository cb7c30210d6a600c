#include "ClosedStreams.h"
#include <cerrno>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

void ClosedStreams::hold()
{
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(stream, F_GETFD) != -1 || errno != EBADF)
            continue;
        // open() takes the lowest free number, which is this one.
        const int held = open("/dev/null", stream == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (held != -1 && held != stream)
            close(held);
    }
}
