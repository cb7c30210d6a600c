#pragma once

// A program started with its standard input, output or error closed would
// hand those numbers to the next files it opens: the help text could then
// land in the settings file. Each closed one is held by /dev/null, opened
// so that it still fails as closed: writes to a held output and reads from
// a held input end in an error.
class ClosedStreams {
public:
    // Call first thing in main, before anything opens a file.
    static void hold();
};
