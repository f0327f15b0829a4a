#pragma once
// Splitting the long map steps over the machine's cores. The calling thread only waits and
// reports progress, so a progress callback is always called from the thread that started the step.

#include <functional>

namespace Vantar {

//! Worker threads the map steps use: the value set by setWorkerThreads, else the number of
//! hardware threads (at least 1).
int workerThreads();
//! 0 goes back to the hardware's count; benchmarks use 1 to time a single core.
void setWorkerThreads(int iThreads);

//! Asks the C library to keep large freed buffers for reuse instead of handing them back to
//! the system at once: the map steps allocate and free many buffers of a few hundred kB, and
//! fresh pages are expensive. Takes effect once per process; later calls do nothing.
void keepLargeBuffers();

//! Hands memory freed since to the system at once (which keepLargeBuffers otherwise delays),
//! for after a step has released a large part of what it held.
void releaseFreedMemory();

//! Runs task(0) … task(count − 1) on the worker threads, each index once, in rising order of
//! start. After every finished task the calling thread calls progress(finished) when given;
//! returning false stops the tasks not yet started. A task returning false, or throwing,
//! also stops them. True when every task ran and returned true and progress never said stop.
bool runTasks(int count, const std::function<bool(int)>& task,
              const std::function<bool(int finished)>& progress = {});

} // namespace Vantar
