#pragma once

// Between a system's process and interrupt services: the program a second
// stop ends before the process goes. One at a time; a later one replaces it.

#ifdef _WIN32
/// `job` and `process` are the program's handles, both null to untie it.
void TieToSecondStop(void* job, void* process);
#else
/// `processGroup` is the program's own group, 0 to untie it.
void TieToSecondStop(int processGroup);
#endif
