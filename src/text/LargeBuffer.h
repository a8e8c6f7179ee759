#pragma once

#include <QtGlobal>

// Memory hints for the multi-megabyte buffers of a large project: the decoded
// project file, the page and its encoding.
class LargeBuffer {
public:
    // Asks the system to back the buffer with huge pages where it can. Each
    // first touch of a fresh page costs a fault; a 20 MB page written in
    // 4 KiB pages took more time in faults than in making the text. Only a
    // hint: nothing changes where the system does not support it.
    static void preferHugePages(void* data, qsizetype bytes);
};
